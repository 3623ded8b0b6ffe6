// tsle-cli apply over a generated site, against copying the same files with
// "cp -r" in the same run, so the figures can be read against the machine's
// file system rather than as absolute numbers.
//
// The site: 10,000 pages of 20 KB in 20 folders; the template sets, adds to
// and removes 13 tags (title and 12 meta tags), so every page changes. Each
// timed run starts from a fresh copy of the site with the disk flushed, and the
// times are wall-clock times of the child process (the work is file I/O).
// Counters: items_per_second is pages per second; vs_copy (on the apply
// benchmarks) is apply's speed as a fraction of the copy's. Runs that write
// keep their undo journal in the bench's folder (BM_ApplyNoJournal: none, to
// show what the journal costs).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "page_inputs.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPages = 10000;
constexpr int kFolders = 20;
constexpr size_t kPageBytes = 20 * 1024;

const char kTemplate[] = "<html><head>"
                         "<meta name=\"description\" content=\"A generated page\" action=\"1\"/>"
                         "<meta name=\"keywords\" content=\"bench, site\" action=\"6\"/>"
                         "<meta name=\"author\" content=\"TSLE\" action=\"3\"/>"
                         "<meta name=\"copyright\" content=\"2024\" action=\"3\"/>"
                         "<meta name=\"robots\" content=\"index, follow\" action=\"1\"/>"
                         "<meta name=\"generator\" content=\"none\" action=\"5\"/>"
                         "<meta name=\"rating\" content=\"general\" action=\"4\"/>"
                         "<meta name=\"revisit-after\" content=\"7 days\" action=\"3\"/>"
                         "<meta name=\"language\" content=\"en\" action=\"7\"/>"
                         "<meta http-equiv=\"Expires\" content=\"0\" action=\"1\"/>"
                         "<meta http-equiv=\"Cache-Control\" content=\"no-cache\" action=\"3\"/>"
                         "<meta name=\"classification\" content=\"test\" action=\"2\"/>"
                         "<title action=\"7\">Site -</title></head><body></body></html>";

int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status != 0)
        std::fprintf(stderr, "apply_bench: '%s' failed (%d)\n", command.c_str(), status);
    return status;
}

// The generated site and template, made once in a temporary folder.
struct Site {
    fs::path root;
    fs::path pages;
    fs::path templ;

    Site() {
        char name[] = "/tmp/tsle-apply-bench-XXXXXX";
        const char* dir = ::mkdtemp(name);
        root = dir ? dir : "/tmp/tsle-apply-bench";
        pages = root / "site";
        templ = root / "site.mtpl";
        std::ofstream(templ, std::ios::binary) << kTemplate;
        const std::string page = MakeTypicalPage(kPageBytes);
        const size_t title = page.find("<title>");
        for (int f = 0; f < kFolders; ++f)
            fs::create_directories(pages / ("section" + std::to_string(f)));
        for (int i = 0; i < kPages; ++i) {
            std::string text = page;
            if (title != std::string::npos)
                text.insert(title + 7, "Page " + std::to_string(i) + " ");
            std::ofstream(pages / ("section" + std::to_string(i % kFolders)) /
                              ("page" + std::to_string(i) + ".html"),
                          std::ios::binary)
                << text;
        }
        Run("sync");
    }
    ~Site() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Site& TheSite() {
    static Site site;
    return site;
}

double g_copySeconds = 0; // per run, from BM_CopyTree

// A fresh copy of the site at dst, flushed to disk (made outside the timing).
void FreshCopy(const fs::path& dst) {
    fs::remove_all(dst);
    Run("cp -r '" + TheSite().pages.string() + "' '" + dst.string() + "' && sync");
}

// Runs command and reports its wall-clock time as the iteration's time.
double TimeCommand(benchmark::State& state, const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (Run(command) != 0)
        state.SkipWithError("command failed");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    return seconds;
}

void BM_CopyTree(benchmark::State& state) {
    const fs::path dst = TheSite().root / "copy";
    double seconds = 0;
    for (auto _ : state) {
        fs::remove_all(dst);
        Run("sync");
        seconds +=
            TimeCommand(state, "cp -r '" + TheSite().pages.string() + "' '" + dst.string() + "'");
    }
    g_copySeconds = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kPages);
    state.SetBytesProcessed(state.iterations() * kPages * static_cast<int64_t>(kPageBytes));
    fs::remove_all(dst);
}

// apply over a fresh copy; options are added to the command line.
void ApplyOnce(benchmark::State& state, const std::string& options, bool fresh) {
    const fs::path dst = TheSite().root / "work";
    if (!fresh)
        FreshCopy(dst); // one copy, applied to again and again
    double seconds = 0;
    static int journals = 0;
    for (auto _ : state) {
        if (fresh)
            FreshCopy(dst);
        std::string extra = options;
        if (extra.find("--dry-run") == std::string::npos &&
            extra.find("--no-journal") == std::string::npos) {
            extra += " --journal '" +
                     (TheSite().root / ("run" + std::to_string(++journals) + ".journal")).string() +
                     "'";
        }
        seconds +=
            TimeCommand(state, "'" TSLE_CLI_PATH "' apply '" + TheSite().templ.string() + "' '" +
                                   dst.string() + "' --recursive " + extra + " > /dev/null");
    }
    const double perRun = seconds / static_cast<double>(state.iterations());
    if (g_copySeconds > 0 && perRun > 0)
        state.counters["vs_copy"] = g_copySeconds / perRun;
    state.SetItemsProcessed(state.iterations() * kPages);
    state.SetBytesProcessed(state.iterations() * kPages * static_cast<int64_t>(kPageBytes));
    fs::remove_all(dst);
}

void BM_Apply(benchmark::State& state) {
    ApplyOnce(state, "", true);
}
void BM_ApplyNoJournal(benchmark::State& state) {
    ApplyOnce(state, "--no-journal", true);
}
void BM_ApplyDryRun(benchmark::State& state) {
    ApplyOnce(state, "--dry-run", false);
}
void BM_ApplySync(benchmark::State& state) {
    ApplyOnce(state, "--sync", true);
}

} // namespace

BENCHMARK(BM_CopyTree)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Apply)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyNoJournal)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyDryRun)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplySync)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
