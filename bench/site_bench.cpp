// tsle-cli audit and export over real documentation pages (python3.11-doc,
// installed by "scripts/install-deps.sh --bench"), against cat of the same
// files to /dev/null in the same run, so the figures read against the
// machine's disk and file system rather than as absolute numbers.
//
// Warm: the files are in the page cache (a run before the timed ones puts
// them there). Cold: the page cache is dropped before each run (needs root:
// /proc/sys/vm/drop_caches; skipped otherwise), which also drops the
// programs' own files, as after a reboot. Times are wall-clock times of the
// child process. Counters: items_per_second is pages per second; vs_cat is the
// command's speed as a fraction of cat's (1 = as fast as cat).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char kDocs[] = "/usr/share/doc/python3.11/html";

struct Docs {
    bool present = false;
    int64_t pages = 0;
    int64_t bytes = 0;
    fs::path list; // the pages, NUL-separated, for xargs -0

    Docs() {
        std::error_code error;
        if (!fs::is_directory(kDocs, error))
            return;
        char name[] = "/tmp/tsle-site-bench-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd < 0)
            return;
        ::close(fd);
        list = name;
        std::ofstream out(list, std::ios::binary);
        // The pages audit takes: names ending in .htm or .html, links not followed.
        for (const auto& entry : fs::recursive_directory_iterator(kDocs, error)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || entry.is_symlink() || (ext != ".html" && ext != ".htm"))
                continue;
            out << entry.path().string() << '\0';
            ++pages;
            bytes += static_cast<int64_t>(entry.file_size());
        }
        present = pages > 0;
    }
    ~Docs() {
        std::error_code ignored;
        fs::remove(list, ignored);
    }
};

const Docs& TheDocs() {
    static const Docs docs;
    return docs;
}

bool CanDropCaches() {
    return ::access("/proc/sys/vm/drop_caches", W_OK) == 0;
}

int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status != 0)
        std::fprintf(stderr, "site_bench: '%s' failed (%d)\n", command.c_str(), status);
    return status;
}

double g_catSeconds[2] = {0, 0}; // warm, cold

// Times command per iteration; cold: drops the page cache before each.
void TimeRuns(benchmark::State& state, const std::string& command, bool cold, bool isCat,
              int okStatus = 0) {
    const Docs& docs = TheDocs();
    if (!docs.present) {
        state.SkipWithError("no pages: run scripts/install-deps.sh --bench (python3.11-doc)");
        return;
    }
    if (cold && !CanDropCaches()) {
        state.SkipWithError("dropping the page cache needs root");
        return;
    }
    if (!cold)
        Run(command + " > /dev/null"); // into the cache
    double seconds = 0;
    for (auto _ : state) {
        if (cold)
            Run("sync && echo 3 > /proc/sys/vm/drop_caches");
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system((command + " > /dev/null").c_str());
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != okStatus))
            state.SkipWithError(("'" + command + "' failed").c_str());
        state.SetIterationTime(took);
        seconds += took;
    }
    const double perRun = seconds / static_cast<double>(state.iterations());
    if (isCat)
        g_catSeconds[cold] = perRun;
    else if (g_catSeconds[cold] > 0 && perRun > 0)
        state.counters["vs_cat"] = g_catSeconds[cold] / perRun;
    state.SetItemsProcessed(state.iterations() * docs.pages);
    state.SetBytesProcessed(state.iterations() * docs.bytes);
}

std::string CatCommand() {
    return "xargs -0 cat < '" + TheDocs().list.string() + "'";
}

void BM_Cat(benchmark::State& state) {
    TimeRuns(state, CatCommand(), state.range(0), true);
}
void BM_Audit(benchmark::State& state) {
    // Findings are the normal outcome: exit status 1.
    TimeRuns(state, "'" TSLE_CLI_PATH "' audit -r " + std::string(kDocs), state.range(0), false, 1);
}
void BM_AuditJson(benchmark::State& state) {
    TimeRuns(state, "'" TSLE_CLI_PATH "' audit --format json -r " + std::string(kDocs),
             state.range(0), false, 1);
}
void BM_Export(benchmark::State& state) {
    TimeRuns(state, "'" TSLE_CLI_PATH "' export -r " + std::string(kDocs) + " -o -", state.range(0),
             false);
}

} // namespace

// Argument 0: warm page cache; 1: cold. cat runs first in each group.
BENCHMARK(BM_Cat)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Audit)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AuditJson)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cat)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Audit)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
