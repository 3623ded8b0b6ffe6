// Speed of the page model: parse + rebuild over real and generated pages, meta
// tag enumeration, the write-back of one editor keystroke, writing thousands of
// new tags (a template merge), with memcpy and
// a bare split at "<" as baselines for reading the figures against the machine.
//
// Times are CPU times of the process (the machine may be shared). Every
// benchmark reports MiB/s (bytes_per_second) where bytes are processed;
// per_byte is the same figure as time per byte, which should stay flat across
// the 1, 10 and 100 MiB sizes when time is linear in page size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "page/html_page.h"
#include "page_inputs.h"

namespace {

// One page to measure on: a generated page made on first use, or the real pages.
struct Input {
    std::string name;
    std::function<std::string()> make;
};

const std::vector<Input>& GeneratedInputs() {
    static const std::vector<Input> inputs = {
        {"typical_1MiB", [] { return MakeTypicalPage(1 * MiB); }},
        {"typical_10MiB", [] { return MakeTypicalPage(10 * MiB); }},
        {"typical_100MiB", [] { return MakeTypicalPage(100 * MiB); }},
        {"textrun_1MiB", [] { return MakeTextRunPage(1 * MiB); }},
        {"textrun_10MiB", [] { return MakeTextRunPage(10 * MiB); }},
        {"textrun_100MiB", [] { return MakeTextRunPage(100 * MiB); }},
        {"meta_5k", [] { return MakeMetaPage(5000); }},
        {"meta_50k", [] { return MakeMetaPage(50000); }},
        {"meta_500k", [] { return MakeMetaPage(500000); }},
    };
    return inputs;
}

// The generated page of that name, made once.
const std::string& Generated(const std::string& name) {
    static std::map<std::string, std::string> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        for (const Input& input : GeneratedInputs()) {
            if (input.name == name)
                it = cache.emplace(name, input.make()).first;
        }
    }
    return it->second;
}

// The texts an input stands for: one generated page or all the real pages;
// null (with the reason given to the benchmark) when they are missing.
const std::vector<std::string>* Texts(benchmark::State& state, const std::string& name) {
    static std::map<std::string, std::vector<std::string>> singles;
    if (name == "real") {
        const RealPages& pages = PythonDocPages();
        if (!pages.error.empty()) {
            state.SkipWithError(pages.error.c_str());
            return nullptr;
        }
        return &pages.texts;
    }
    auto it = singles.find(name);
    if (it == singles.end())
        it = singles.emplace(name, std::vector<std::string>{Generated(name)}).first;
    return &it->second;
}

size_t TotalBytes(const std::vector<std::string>& texts) {
    size_t total = 0;
    for (const std::string& t : texts)
        total += t.size();
    return total;
}

long MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void ReportBytes(benchmark::State& state, size_t bytesPerIteration) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesPerIteration));
    // Seconds per byte, shown with an SI prefix (n = ns per byte).
    state.counters["per_byte"] = benchmark::Counter(static_cast<double>(bytesPerIteration),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

// What a save does to each page: SetText, then (with edit) a one-field change,
// then GetText, in a head style. The copies handed to SetText are made with
// the clock stopped; the StringCopy baseline measures what they cost. fresh:
// a new page object for every file (else one is read again and again).
void ParseRebuild(benchmark::State& state, const std::string& input, int preserveBody,
                  HeadStyle style = HeadStyle::NORMALIZE, bool fresh = false, bool edit = false) {
    const std::vector<std::string>* texts = Texts(state, input);
    if (!texts)
        return;
    std::vector<std::string> copies(texts->size());
    CHtmlPage reused;
    size_t sections = 0;
    long faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t i = 0; i < texts->size(); ++i)
            copies[i] = (*texts)[i];
        state.ResumeTiming();
        const long faultsBefore = MinorFaults();
        for (std::string& copy : copies) {
            std::optional<CHtmlPage> own;
            CHtmlPage& page = fresh ? own.emplace() : reused;
            page.SetHeadStyle(style);
            page.SetText(std::move(copy), preserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD);
            if (edit)
                page.SetMeta("description", "A page of the manual", 0);
            benchmark::DoNotOptimize(page.GetText().data());
            sections += page.GetCount();
        }
        faults += MinorFaults() - faultsBefore;
    }
    ReportBytes(state, TotalBytes(*texts));
    // Fresh memory taken from the kernel (4 KiB pages) per MiB of page: its
    // zeroing is kernel time, counted in the CPU time.
    state.counters["faults_per_MiB"] = static_cast<double>(faults) * MiB /
                                       static_cast<double>(TotalBytes(*texts)) /
                                       static_cast<double>(state.iterations());
    state.counters["pages"] = static_cast<double>(texts->size());
    state.counters["sections"] =
        benchmark::Counter(static_cast<double>(sections), benchmark::Counter::kAvgIterations);
}

// Baseline: memchr over the same bytes, for a byte that is not there.
void Memchr(benchmark::State& state, const std::string& input) {
    const std::vector<std::string>* texts = Texts(state, input);
    if (!texts)
        return;
    size_t found = 0;
    for (auto _ : state) {
        for (const std::string& t : *texts)
            found += std::memchr(t.data(), '\0', t.size()) != nullptr;
        benchmark::DoNotOptimize(found);
    }
    ReportBytes(state, TotalBytes(*texts));
}

// Baseline: memcpy of the same bytes into a buffer that is already in memory.
void Memcpy(benchmark::State& state, const std::string& input) {
    const std::vector<std::string>* texts = Texts(state, input);
    if (!texts)
        return;
    std::vector<std::string> buffers;
    for (const std::string& t : *texts)
        buffers.emplace_back(t.size(), '\0');
    for (auto _ : state) {
        for (size_t i = 0; i < texts->size(); ++i)
            std::memcpy(buffers[i].data(), (*texts)[i].data(), (*texts)[i].size());
        benchmark::ClobberMemory();
    }
    ReportBytes(state, TotalBytes(*texts));
}

// Baseline, and the cost kept out of ParseRebuild: a fresh std::string copy of
// each page, as a caller hands one to SetText, and its release.
void StringCopy(benchmark::State& state, const std::string& input) {
    const std::vector<std::string>* texts = Texts(state, input);
    if (!texts)
        return;
    for (auto _ : state) {
        for (const std::string& t : *texts) {
            std::string copy = t;
            benchmark::DoNotOptimize(copy.data());
        }
    }
    ReportBytes(state, TotalBytes(*texts));
}

// Baseline: the bare split at "<", counting the pieces with a memchr loop.
void SplitAtLt(benchmark::State& state, const std::string& input) {
    const std::vector<std::string>* texts = Texts(state, input);
    if (!texts)
        return;
    size_t pieces = 0;
    for (auto _ : state) {
        pieces = 0;
        for (const std::string& t : *texts) {
            const char* p = t.data();
            const char* end = p + t.size();
            while (p < end) {
                const void* lt = std::memchr(p, '<', static_cast<size_t>(end - p));
                if (!lt)
                    break;
                ++pieces;
                p = static_cast<const char*>(lt) + 1;
            }
        }
        benchmark::DoNotOptimize(pieces);
    }
    ReportBytes(state, TotalBytes(*texts));
    state.counters["pieces"] = static_cast<double>(pieces);
}

// GetMetaAt(0), (1), (2) ... until it returns 0, on a page parsed beforehand.
void MetaEnumeration(benchmark::State& state, const std::string& input) {
    CHtmlPage page;
    page.SetText(Generated(input), BodyMode::PRESERVE);
    std::string name;
    std::string content;
    int httpEquiv = 0;
    int count = 0;
    for (auto _ : state) {
        count = 0;
        while (page.GetMetaAt(count, name, content, httpEquiv))
            ++count;
        benchmark::DoNotOptimize(count);
    }
    state.counters["metas"] = static_cast<double>(count);
    state.counters["per_meta"] = benchmark::Counter(
        count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// What one keystroke in the editor does: the title and twelve meta tags
// written into the page, then the page text rebuilt (unless writesOnly).
void Commit13(benchmark::State& state, const std::string& text, int preserveBody, bool writesOnly) {
    struct Field {
        const char* name;
        const char* value;
        int httpEquiv;
    };
    static const Field fields[] = {
        {"description", "Hand-made widgets and gadgets, shipped across Europe", 0},
        {"keywords", "widgets, gadgets, catalogue, hand-made, steel", 0},
        {"Author", "Jane Example", 0},
        {"owner", "Widgets Ltd.", 0},
        {"copyright", "(c) 2024 Widgets Ltd.", 0},
        {"PICS-label",
         "(PICS-1.1 \"http://www.icra.org/ratingsv02.html\" l gen true for "
         "\"http://example.com\" r (cz 1 lz 1 nz 1 oz 1 vz 1))",
         0},
        {"robots", "index, follow", 0},
        {"Cache-Control", "no-cache", 1},
        {"Expires", "Tue, 01 Jan 2030 00:00:00 GMT", 1},
        {"Window-Target", "_top", 1},
        {"generator", "TSLE", 0},
        {"Refresh", "30; URL=index.html", 1},
    };
    CHtmlPage page;
    page.SetText(text, preserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD);
    unsigned keystroke = 0;
    std::string typed;
    const auto commit = [&] {
        // The text of the field being typed in grows by one character.
        typed += static_cast<char>('a' + keystroke++ % 26);
        if (typed.size() > 200)
            typed.clear();
        page.SetTitle("Widgets and Gadgets " + typed);
        for (const Field& f : fields) {
            if (f.name == std::string_view("description"))
                page.SetMeta(f.name, std::string(f.value) + " " + typed, f.httpEquiv);
            else
                page.SetMeta(f.name, f.value, f.httpEquiv);
        }
    };
    // Once before measuring, so that every measured keystroke finds the tags
    // in place, as all but the first keystroke on a page do.
    commit();
    page.GetText();
    for (auto _ : state) {
        commit();
        if (!writesOnly)
            benchmark::DoNotOptimize(page.GetText().data());
    }
    state.counters["page_MiB"] = static_cast<double>(text.size()) / MiB;
}

// What merging a template of n meta tags does to a page: for each tag, read
// its value and write a new tag; then rebuild. per_tag should stay flat as n
// grows (linear time).
void ManyNewTags(benchmark::State& state, int tags) {
    std::vector<std::string> names;
    for (int i = 0; i < tags; ++i)
        names.push_back("name" + std::to_string(i));
    for (auto _ : state) {
        CHtmlPage page;
        page.SetText("<html><head><title>t</title></head><body>b</body></html>",
                     BodyMode::PRESERVE);
        for (const std::string& name : names)
            page.SetMeta(name, page.GetMetaContent(name) + "v", 0);
        benchmark::DoNotOptimize(page.GetText().data());
    }
    state.counters["per_tag"] = benchmark::Counter(static_cast<double>(tags),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

const std::string& CommitRealPage(std::string& label) {
    static const std::string empty;
    const RealPages& pages = PythonDocPages();
    if (!pages.error.empty())
        return empty;
    // A long library page stands for the real pages; the largest one otherwise.
    size_t index = LargestPage(pages);
    for (size_t i = 0; i < pages.paths.size(); ++i) {
        if (pages.paths[i].ends_with("/library/os.html"))
            index = i;
    }
    label = std::filesystem::path(pages.paths[index]).lexically_relative(kPythonDocFolder);
    return pages.texts[index];
}

void RegisterAll() {
    std::vector<std::string> inputs = {"real"};
    for (const Input& input : GeneratedInputs())
        inputs.push_back(input.name);

    for (const std::string& input : inputs) {
        for (int mode : {1, 0}) {
            for (const HeadStyle style : {HeadStyle::NORMALIZE, HeadStyle::KEEP}) {
                const std::string name = "ParseRebuild/" + input +
                                         "/preserveBody:" + std::to_string(mode) +
                                         (style == HeadStyle::KEEP ? "/keep" : "");
                auto* bench = benchmark::RegisterBenchmark(name.c_str(), ParseRebuild, input, mode,
                                                           style, false, false)
                                  ->Unit(benchmark::kMillisecond);
                // A 100 MiB page takes most of a second: give it a few rounds.
                if (input.find("100MiB") != std::string::npos)
                    bench->MinTime(1.5);
            }
        }
    }
    // A save of real pages as the tools make it: a new page object per file,
    // read in preserve-body mode, one field changed, written in each style.
    for (const HeadStyle style : {HeadStyle::KEEP, HeadStyle::NORMALIZE}) {
        const std::string suffix = style == HeadStyle::KEEP ? "keep" : "normalize";
        benchmark::RegisterBenchmark(("ParseRebuild/real/fresh/" + suffix).c_str(), ParseRebuild,
                                     std::string("real"), 1, style, true, false)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ParseEditSave/real/fresh/" + suffix).c_str(), ParseRebuild,
                                     std::string("real"), 1, style, true, true)
            ->Unit(benchmark::kMillisecond);
    }
    for (const std::string& input : inputs) {
        benchmark::RegisterBenchmark(("Baseline/Memcpy/" + input).c_str(), Memcpy, input)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Baseline/Memchr/" + input).c_str(), Memchr, input)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Baseline/StringCopy/" + input).c_str(), StringCopy, input)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Baseline/SplitAtLt/" + input).c_str(), SplitAtLt, input)
            ->Unit(benchmark::kMillisecond);
    }
    for (const char* input : {"meta_50k", "typical_10MiB"}) {
        benchmark::RegisterBenchmark((std::string("MetaEnumeration/") + input).c_str(),
                                     MetaEnumeration, std::string(input))
            ->Unit(benchmark::kMicrosecond);
    }
    for (int tags : {5000, 20000}) {
        benchmark::RegisterBenchmark(("ManyNewTags/" + std::to_string(tags)).c_str(), ManyNewTags,
                                     tags)
            ->Unit(benchmark::kMillisecond);
    }
    for (int mode : {1, 0}) {
        for (bool writesOnly : {false, true}) {
            const std::string suffix =
                "/preserveBody:" + std::to_string(mode) + (writesOnly ? "/writes_only" : "");
            benchmark::RegisterBenchmark(("Commit13/typical_10MiB" + suffix).c_str(),
                                         [mode, writesOnly](benchmark::State& state) {
                                             Commit13(state, Generated("typical_10MiB"), mode,
                                                      writesOnly);
                                         })
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("Commit13/real_page" + suffix).c_str(),
                                         [mode, writesOnly](benchmark::State& state) {
                                             std::string label;
                                             const std::string& text = CommitRealPage(label);
                                             if (text.empty()) {
                                                 state.SkipWithError(
                                                     PythonDocPages().error.c_str());
                                                 return;
                                             }
                                             state.SetLabel(label);
                                             Commit13(state, text, mode, writesOnly);
                                         })
                ->Unit(benchmark::kMillisecond);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::error_code error;
    if (!std::filesystem::is_directory(kPythonDocFolder, error))
        std::fprintf(stderr,
                     "page_bench: %s is missing, so the real-page benchmarks are skipped "
                     "(install python3.11-doc: scripts/install-deps.sh --bench)\n",
                     kPythonDocFolder);
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
