// tsle-cli audit and export over real documentation pages (python3.11-doc,
// installed by "scripts/install-deps.sh --bench", and every page under
// /usr/share/doc), against cat of the same files to /dev/null in the same
// run, so the figures read against the machine's disk and file system rather
// than as absolute numbers. cat is given the list of files; the commands
// search the folders themselves.
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

// The Python documentation (530 pages, 52 MB), and every page under
// /usr/share/doc (as many as the machine's documentation packages hold: some
// 11,000 pages and 350 MB with the packages install-deps.sh --bench adds).
const char kPython[] = "/usr/share/doc/python3.11/html";
const char kAllDocs[] = "/usr/share/doc";

struct Docs {
    bool present = false;
    std::string root;
    int64_t pages = 0;
    int64_t bytes = 0;
    fs::path list; // the pages, NUL-separated, for xargs -0

    explicit Docs(const char* folder) : root(folder) {
        std::error_code error;
        if (!fs::is_directory(root, error))
            return;
        char name[] = "/tmp/tsle-site-bench-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd < 0)
            return;
        ::close(fd);
        list = name;
        std::ofstream out(list, std::ios::binary);
        // The pages audit takes: names ending in .htm or .html, links not followed.
        for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
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

// Argument 0 and 1: the Python pages, warm and cold; 2: all pages, warm.
const Docs& TheDocs(int64_t arg) {
    static const Docs python(kPython);
    static const Docs all(kAllDocs);
    return arg == 2 ? all : python;
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

double g_catSeconds[3] = {0, 0, 0}; // by argument

// Times command per iteration over the pages of arg; cold (argument 1): drops
// the page cache before each.
void TimeRuns(benchmark::State& state, const std::string& command, bool isCat, int okStatus = 0) {
    const int64_t arg = state.range(0);
    const bool cold = arg == 1;
    const Docs& docs = TheDocs(arg);
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
        g_catSeconds[arg] = perRun;
    else if (g_catSeconds[arg] > 0 && perRun > 0)
        state.counters["vs_cat"] = g_catSeconds[arg] / perRun;
    state.SetItemsProcessed(state.iterations() * docs.pages);
    state.SetBytesProcessed(state.iterations() * docs.bytes);
}

std::string Root(const benchmark::State& state) {
    return "'" + TheDocs(state.range(0)).root + "'";
}

void BM_Cat(benchmark::State& state) {
    TimeRuns(state, "xargs -0 cat < '" + TheDocs(state.range(0)).list.string() + "'", true);
}
void BM_Audit(benchmark::State& state) {
    // Findings are the normal outcome: exit status 1.
    TimeRuns(state, "'" TSLE_CLI_PATH "' audit -r " + Root(state), false, 1);
}
void BM_AuditJson(benchmark::State& state) {
    TimeRuns(state, "'" TSLE_CLI_PATH "' audit --format json -r " + Root(state), false, 1);
}
void BM_Export(benchmark::State& state) {
    // Pages that cannot be read (a few in a documentation tree) are exit status 1.
    TimeRuns(state, "'" TSLE_CLI_PATH "' export -r " + Root(state) + " -o -", false, 1);
}

} // namespace

// Argument 0: the Python pages, warm page cache; 1: the same, cold; 2: every
// page under /usr/share/doc, warm. cat runs first in each group.
BENCHMARK(BM_Cat)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Audit)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AuditJson)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(0)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cat)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Audit)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(1)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cat)->Arg(2)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(2)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
