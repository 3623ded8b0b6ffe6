// Peak memory of one SetText + GetText, as a multiple of the page size.
//
// Two independent measures:
//  - heap: every operator new / delete of this program is counted (usable
//    size of each block), so the peak of live heap bytes is exact;
//  - rss: the kernel's peak resident set (VmHWM), reset just before the call
//    through /proc/self/clear_refs, after malloc_trim has handed free memory
//    back, so that reused free blocks are faulted in and counted again.
// Both count the page's own copy of the text: a ratio of 1 would be a page
// that holds nothing but the text handed to it.
//
// Kept apart from page_bench so that the counting operator new does not slow
// the speed figures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <new>
#include <string>

#include "page/html_page.h"
#include "page_inputs.h"

namespace {

std::atomic<size_t> g_liveBytes{0};
std::atomic<size_t> g_peakBytes{0};

void* Counted(void* p) {
    if (!p)
        return p;
    const size_t size = malloc_usable_size(p);
    const size_t live = g_liveBytes.fetch_add(size, std::memory_order_relaxed) + size;
    size_t peak = g_peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live))
        ;
    return p;
}

void* Allocate(size_t n) {
    if (void* p = Counted(std::malloc(n ? n : 1)))
        return p;
    throw std::bad_alloc();
}

void* AllocateAligned(size_t n, std::align_val_t align) {
    void* p = nullptr;
    const size_t a = std::max(static_cast<size_t>(align), sizeof(void*));
    if (posix_memalign(&p, a, n ? n : 1) != 0)
        throw std::bad_alloc();
    return Counted(p);
}

void Release(void* p) noexcept {
    if (!p)
        return;
    g_liveBytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void* operator new(size_t n) {
    return Allocate(n);
}
void* operator new[](size_t n) {
    return Allocate(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    return Counted(std::malloc(n ? n : 1));
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
    return Counted(std::malloc(n ? n : 1));
}
void* operator new(size_t n, std::align_val_t a) {
    return AllocateAligned(n, a);
}
void* operator new[](size_t n, std::align_val_t a) {
    return AllocateAligned(n, a);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace {

// A "Vm...:" line of /proc/self/status in bytes, or -1.
long long StatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t keyLen = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, keyLen, key) == 0 && line.size() > keyLen && line[keyLen] == ':')
            return std::atoll(line.c_str() + keyLen + 1) * 1024;
    }
    return -1;
}

// Sets the peak resident set back to the current one; false where the kernel
// does not allow it.
bool ResetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

struct Peak {
    double heapPeak = 0; // peak live heap during the call, incl. the text, / page size
    double heapHeld = 0; // live heap after it, while the page is kept open
    double rssPeak = -1; // peak resident growth incl. the text / page size; -1 unknown
};

Peak MeasureOnce(const std::string& source, int preserveBody) {
    const double size = static_cast<double>(source.size());
    // The copy handed to the page; the page keeps it as its own text, so it is
    // counted as part of the page's memory (the 1 in each ratio).
    std::string text = source;
    malloc_trim(0);
    const bool rssKnown = ResetPeakRss();
    const long long rssBase = StatusBytes("VmRSS");
    const size_t liveBase = g_liveBytes.load();
    g_peakBytes.store(liveBase);

    auto page = std::make_unique<CHtmlPage>();
    page->SetText(std::move(text), preserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD);
    benchmark::DoNotOptimize(page->GetText().data());

    Peak result;
    result.heapPeak = (static_cast<double>(g_peakBytes.load() - liveBase) + size) / size;
    result.heapHeld = (static_cast<double>(g_liveBytes.load() - liveBase) + size) / size;
    const long long rssPeak = StatusBytes("VmHWM");
    if (rssKnown && rssBase >= 0 && rssPeak >= rssBase)
        result.rssPeak = (static_cast<double>(rssPeak - rssBase) + size) / size;
    return result;
}

void ReportPeak(benchmark::State& state, const Peak& peak, size_t bytes) {
    state.counters["page_MiB"] = static_cast<double>(bytes) / MiB;
    state.counters["heap_peak_x"] = peak.heapPeak;
    state.counters["heap_held_x"] = peak.heapHeld;
    state.counters["rss_peak_x"] = peak.rssPeak;
}

void PeakMemory(benchmark::State& state, const std::string& text, int preserveBody) {
    Peak peak;
    for (auto _ : state)
        peak = MeasureOnce(text, preserveBody);
    ReportPeak(state, peak, text.size());
}

// The worst heap ratio over every real page (a small page shows fixed costs
// that a large one hides).
void PeakMemoryAllRealPages(benchmark::State& state, int preserveBody) {
    const RealPages& pages = PythonDocPages();
    if (!pages.error.empty()) {
        state.SkipWithError(pages.error.c_str());
        return;
    }
    double worst = 0;
    size_t worstIndex = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < pages.texts.size(); ++i) {
            const double ratio = MeasureOnce(pages.texts[i], preserveBody).heapPeak;
            if (ratio > worst) {
                worst = ratio;
                worstIndex = i;
            }
        }
    }
    state.counters["worst_heap_peak_x"] = worst;
    state.counters["worst_page_KiB"] = static_cast<double>(pages.texts[worstIndex].size()) / 1024;
    state.SetLabel(
        std::filesystem::path(pages.paths[worstIndex]).lexically_relative(kPythonDocFolder));
}

void RegisterAll() {
    for (int mode : {1, 0}) {
        const std::string suffix = "/preserveBody:" + std::to_string(mode);
        benchmark::RegisterBenchmark(("PeakMemory/typical_100MiB" + suffix).c_str(),
                                     [mode](benchmark::State& state) {
                                         static const std::string text = MakeTypicalPage(100 * MiB);
                                         PeakMemory(state, text, mode);
                                     })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PeakMemory/meta_50k" + suffix).c_str(),
                                     [mode](benchmark::State& state) {
                                         static const std::string text = MakeMetaPage(50000);
                                         PeakMemory(state, text, mode);
                                     })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PeakMemory/textrun_100MiB" + suffix).c_str(),
                                     [mode](benchmark::State& state) {
                                         static const std::string text = MakeTextRunPage(100 * MiB);
                                         PeakMemory(state, text, mode);
                                     })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(
            ("PeakMemory/real_largest" + suffix).c_str(),
            [mode](benchmark::State& state) {
                const RealPages& pages = PythonDocPages();
                if (!pages.error.empty()) {
                    state.SkipWithError(pages.error.c_str());
                    return;
                }
                const size_t index = LargestPage(pages);
                state.SetLabel(
                    std::filesystem::path(pages.paths[index]).lexically_relative(kPythonDocFolder));
                PeakMemory(state, pages.texts[index], mode);
            })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PeakMemory/real_all_worst" + suffix).c_str(),
                                     PeakMemoryAllRealPages, mode)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
