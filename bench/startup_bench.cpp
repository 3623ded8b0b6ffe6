// Time from starting the process to the first painted window: tsle on a new
// page and on a 1 MB page, against an empty Qt main window measured in the same
// run (target: tsle on the 1 MB page within 2x the empty window).
//
// Each iteration starts the program and stops the clock when it prints
// "first-paint" (it does so after its window was exposed and painted, then
// exits). The programs run on the X display when there is one, else on the
// offscreen platform, with a profile of their own; one untimed start of each
// first fills the caches. Counter: vs_empty is the
// time as a multiple of the empty window's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "page_inputs.h"

namespace fs = std::filesystem;

namespace {

struct Setup {
    fs::path root;
    fs::path page;
    std::string platform;

    Setup() {
        char name[] = "/tmp/tsle-startup-bench-XXXXXX";
        const char* dir = ::mkdtemp(name);
        root = dir ? dir : "/tmp/tsle-startup-bench";
        page = root / "page.html";
        std::ofstream(page, std::ios::binary) << MakeTypicalPage(MiB);
        const fs::path home = root / "home";
        fs::create_directories(home / "runtime");
        fs::permissions(home / "runtime", fs::perms::owner_all);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        const char* qpa = std::getenv("QT_QPA_PLATFORM");
        platform = qpa && *qpa ? qpa : "xcb";
    }
    ~Setup() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Setup& TheSetup() {
    static Setup setup;
    return setup;
}

// Starts argv, returns the seconds until it printed "first-paint" (or -1 when
// it failed to), and waits for it to end.
double TimeToFirstPaint(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0)
            ::dup2(null, STDERR_FILENO); // the platform's chatter
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    if (pid < 0) {
        ::close(out[0]);
        return -1;
    }
    std::string seen;
    double seconds = -1;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) {
        seen.append(buffer, static_cast<size_t>(n));
        if (seen.find("first-paint\n") != std::string::npos) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return seconds;
}

double g_emptySeconds = 0;

double Measure(benchmark::State& state, const std::vector<std::string>& args) {
    state.SetLabel(TheSetup().platform);
    TimeToFirstPaint(args); // untimed: libraries and fonts into the caches
    double total = 0;
    for (auto _ : state) {
        const double seconds = TimeToFirstPaint(args);
        if (seconds < 0) {
            state.SkipWithError("the program did not report its first paint");
            return 0;
        }
        state.SetIterationTime(seconds);
        total += seconds;
    }
    return total / static_cast<double>(state.iterations());
}

void BM_EmptyMainWindow(benchmark::State& state) {
    g_emptySeconds = Measure(state, {TSLE_EMPTY_WINDOW_PATH});
}

void MeasureTsle(benchmark::State& state, std::vector<std::string> args) {
    args.insert(args.begin(), {TSLE_PATH, "--report-first-paint"});
    const double perRun = Measure(state, args);
    if (g_emptySeconds > 0 && perRun > 0)
        state.counters["vs_empty"] = perRun / g_emptySeconds;
}

void BM_TsleNewPage(benchmark::State& state) {
    MeasureTsle(state, {});
}

void BM_Tsle1MBPage(benchmark::State& state) {
    MeasureTsle(state, {TheSetup().page.string()});
}

} // namespace

BENCHMARK(BM_EmptyMainWindow)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TsleNewPage)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tsle1MBPage)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
