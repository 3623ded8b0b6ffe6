// The site view over 100,000 generated small pages: the scan against cat of
// the same files (warm page cache, same run), the time to the first rows, the
// memory per page beyond the text shown, scrolling and sorting the full
// table, and writing 10,000 edited pages from the window against tsle-cli
// import of the same changes.
//
// The site is made once in a temporary folder: 100 folders of 1,000 pages of
// 0.5 to 1.5 KB, in UTF-8 and windows-1252, with and without descriptions,
// keywords and robots, some titles shared by three pages. The window's table
// is a QTableView on the offscreen platform, 960 by 640 pixels.
//
// Counters: items_per_second is pages per second; vs_cat is the scan's speed
// as a fraction of cat's (1 = as fast as cat); first_rows_ms is the time from
// the start of a scan to the first rows in the table; per_page_bytes and
// beyond_text_bytes are the heap the table takes per page, in all and beyond
// the bytes of the texts it shows; frame_ms and worst_frame_ms are the times
// to scroll by a page and paint; sort_ms is one sort of all rows; vs_import is
// the window's write speed as a fraction of tsle-cli import's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "site/csv_table.h"
#include "site/site_session.h"
#include "snippet/search_font.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 100;
constexpr int kPagesPerFolder = 1000;
constexpr int kPages = kFolders * kPagesPerFolder;
constexpr int kEdited = 10000; // the pages of the first ten folders

const char kWords[][12] = {"river",  "garden", "station", "museum", "harbour", "market",
                           "bridge", "castle", "library", "meadow", "orchard", "theatre"};

std::string PagePath(const fs::path& root, int i) {
    return (root / ("part" + std::to_string(i / kPagesPerFolder)) /
            ("page" + std::to_string(i % kPagesPerFolder) + ".html"))
        .string();
}

// Page i of the site: its title carries mark (changed by the write benches).
std::string MakePage(int i, const std::string& mark = {}) {
    const bool latin1 = i % 10 == 3;
    std::string words;
    for (int w = 0; w < 3 + i % 5; ++w)
        words += std::string(kWords[(i + w * 7) % 12]) + " ";
    std::string title = "Page " + std::to_string(i / 3) + " of the " + kWords[i % 12] +
                        (latin1 ? " caf\xE9" : " caf\xC3\xA9") + mark;
    std::string page = latin1 ? "<html><head><meta charset=\"windows-1252\">\n"
                              : "<html><head><meta charset=\"utf-8\">\n";
    page += "<title>" + title + "</title>\n";
    if (i % 7 != 0)
        page += "<meta name=\"description\" content=\"A " + words + "page, number " +
                std::to_string(i) + (i % 4 == 0 ? ", with a few more words to read" : "") + "\">\n";
    if (i % 3 == 0)
        page += "<meta name=\"keywords\" content=\"" + words + "\">\n";
    if (i % 5 == 0)
        page += "<meta name=\"robots\" content=\"index, follow\">\n";
    if (i % 50 == 0)
        page += "<meta http-equiv=\"Refresh\" content=\"30\">\n";
    page += "</head><body>\n<h1>" + title + "</h1>\n";
    for (int p = 0; p < 2 + i % 6; ++p)
        page += "<p>" + words + words + "</p>\n";
    page += "</body></html>\n";
    return page;
}

void WritePage(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

struct Site {
    fs::path dir;  // the bench's own folder
    fs::path root; // the site
    fs::path list; // its pages, NUL-separated, for xargs -0

    Site() {
        char name[] = "/tmp/tsle-site-view-bench-XXXXXX";
        dir = ::mkdtemp(name);
        root = dir / "site";
        list = dir / "pages.list";
        // Journals of the runs go to the bench's folder.
        ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
        std::ofstream out(list, std::ios::binary);
        for (int f = 0; f < kFolders; ++f)
            fs::create_directories(root / ("part" + std::to_string(f)));
        for (int i = 0; i < kPages; ++i) {
            const std::string path = PagePath(root, i);
            WritePage(path, MakePage(i));
            out << path << '\0';
        }
    }
    ~Site() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    // The edited pages as they were made.
    void RestoreEdited() const {
        for (int i = 0; i < kEdited; ++i)
            WritePage(PagePath(root, i), MakePage(i));
    }
};

const Site& TheSite() {
    static const Site site;
    return site;
}

double g_catSeconds = 0;
double g_importSeconds = 0;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The rules as the window sets them: widths measured in the search font
// (unless TSLE_BENCH_NO_WIDTHS is set, to see what measuring costs).
void UseWindowRules(CSiteSession& session) {
    session.SetRulesSource([](const QString&) {
        CSiteRules rules;
        if (!std::getenv("TSLE_BENCH_NO_WIDTHS"))
            rules.measurer = CSearchFont::Instance();
        return rules;
    });
}

// Runs the event loop until the session is idle.
void WaitIdle(CSiteSession& session) {
    while (session.IsBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
}

// A window's table over the session's model.
std::unique_ptr<QTableView> MakeTable(CSiteSession& session) {
    auto table = std::make_unique<QTableView>();
    table->setModel(&session.Model());
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->resize(960, 640);
    table->show();
    return table;
}

void BM_Cat(benchmark::State& state) {
    const Site& site = TheSite();
    const std::string command = "xargs -0 cat < '" + site.list.string() + "' > /dev/null";
    std::system(command.c_str()); // into the page cache
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cat failed");
        const double took = Seconds(start);
        state.SetIterationTime(took);
        seconds += took;
    }
    g_catSeconds = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kPages);
}

// Opens the site in a table (shown, offscreen) and reads it whole.
void BM_Scan(benchmark::State& state) {
    const Site& site = TheSite();
    double seconds = 0, firstRows = 0;
    for (auto _ : state) {
        CSiteSession session;
        UseWindowRules(session);
        std::unique_ptr<QTableView> table = MakeTable(session);
        QCoreApplication::processEvents();
        double first = -1;
        const auto start = std::chrono::steady_clock::now();
        QObject::connect(&session.Model(), &QAbstractItemModel::rowsInserted, [&] {
            if (first < 0)
                first = Seconds(start);
        });
        session.Open(QString::fromStdString(site.root.string()), "*.html");
        WaitIdle(session);
        const double took = Seconds(start);
        if (session.Model().rowCount() != kPages)
            state.SkipWithError("not every page was read");
        state.SetIterationTime(took);
        seconds += took;
        firstRows += first;
    }
    const double perRun = seconds / static_cast<double>(state.iterations());
    if (g_catSeconds > 0)
        state.counters["vs_cat"] = g_catSeconds / perRun;
    state.counters["first_rows_ms"] = 1000 * firstRows / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kPages);
}

size_t HeapInUse() {
    malloc_trim(0);
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The bytes of the texts a row shows, as the table holds them (UTF-16).
size_t TextBytes(const CSiteSheet& sheet) {
    size_t bytes = 0;
    for (size_t row = 0; row < sheet.RowCount(); ++row) {
        bytes += sheet.Path(row).size();
        const CPageValues& values = sheet.Values(row);
        bytes += 2 * static_cast<size_t>(values.title.size()) + values.fingerprint.size();
        for (const CPageMetaValue& meta : values.metas)
            bytes += 2 * static_cast<size_t>(meta.name.size() + meta.content.size());
    }
    return bytes;
}

void BM_Memory(benchmark::State& state) {
    const Site& site = TheSite();
    for (auto _ : state) {
        const size_t before = HeapInUse();
        auto session = std::make_unique<CSiteSession>();
        UseWindowRules(*session);
        session->Open(QString::fromStdString(site.root.string()), "*.html");
        WaitIdle(*session);
        const size_t after = HeapInUse();
        const size_t pages = session->Model().Sheet().RowCount();
        const size_t text = TextBytes(session->Model().Sheet());
        state.counters["per_page_bytes"] = static_cast<double>(after - before) / pages;
        state.counters["text_bytes"] = static_cast<double>(text) / pages;
        state.counters["beyond_text_bytes"] =
            (static_cast<double>(after - before) - static_cast<double>(text)) / pages;
    }
}

struct OpenSite {
    CSiteSession session;
    std::unique_ptr<QTableView> table;
    OpenSite() {
        UseWindowRules(session);
        table = MakeTable(session);
        session.Open(QString::fromStdString(TheSite().root.string()), "*.html");
        WaitIdle(session);
    }
};

// Widgets must go before the application object: main closes it.
std::unique_ptr<OpenSite> g_openSite;

OpenSite& TheOpenSite() {
    if (!g_openSite)
        g_openSite = std::make_unique<OpenSite>();
    return *g_openSite;
}

// Scrolls the full table a page at a time from top to bottom, painting each frame.
void BM_Scroll(benchmark::State& state) {
    OpenSite& open = TheOpenSite();
    QTableView& table = *open.table;
    QScrollBar* bar = table.verticalScrollBar();
    double worst = 0, total = 0;
    int frames = 0;
    for (auto _ : state) {
        const int step = std::max(1, bar->maximum() / 200);
        for (int value = 0; value <= bar->maximum(); value += step) {
            const auto start = std::chrono::steady_clock::now();
            bar->setValue(value);
            table.viewport()->repaint();
            const double took = Seconds(start);
            worst = std::max(worst, took);
            total += took;
            ++frames;
        }
        state.SetIterationTime(total);
    }
    state.counters["frame_ms"] = 1000 * total / frames;
    state.counters["worst_frame_ms"] = 1000 * worst;
}

// Sorts all rows by one column, ascending and descending in turn, and paints.
void BM_Sort(benchmark::State& state) {
    OpenSite& open = TheOpenSite();
    CSiteTableModel& model = open.session.Model();
    const QString keys[] = {QStringLiteral("path"), QStringLiteral("title"),
                            QStringLiteral("description"), QStringLiteral("title-length"),
                            QStringLiteral("findings")};
    const int column = model.Sheet().ColumnOf(keys[state.range(0)]);
    state.SetLabel(keys[state.range(0)].toStdString());
    bool descending = false;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        model.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        open.table->viewport()->repaint();
        const double took = Seconds(start);
        state.SetIterationTime(took);
        total += took;
        descending = !descending;
    }
    state.counters["sort_ms"] = 1000 * total / static_cast<double>(state.iterations());
}

// The new title of edited page i.
QString NewTitle(int i) {
    return QStringLiteral("Edited page %1 of the site").arg(i);
}

// Writes 10,000 pages' new titles with tsle-cli import, from a table of
// path, fingerprint and title.
void BM_Import(benchmark::State& state) {
    const Site& site = TheSite();
    OpenSite& open = TheOpenSite();
    const CSiteSheet& sheet = open.session.Model().Sheet();
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        site.RestoreEdited();
        std::string csv;
        AppendCsvRow(csv, {"path", "fingerprint", "title"});
        for (int i = 0; i < kEdited; ++i) {
            const std::string path = "part" + std::to_string(i / kPagesPerFolder) + "/page" +
                                     std::to_string(i % kPagesPerFolder) + ".html";
            // The fingerprint of the page as made (the rows were read from it).
            const std::optional<size_t> row = sheet.Find(path);
            AppendCsvRow(csv, {path, row ? sheet.Values(*row).fingerprint : std::string(),
                               NewTitle(i).toStdString()});
        }
        const fs::path table = site.dir / "titles.csv";
        std::ofstream(table, std::ios::binary | std::ios::trunc) << csv;
        ::sync();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const std::string command = "'" TSLE_CLI_PATH "' import --root '" + site.root.string() +
                                    "' '" + table.string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("tsle-cli import failed");
        const double took = Seconds(start);
        state.SetIterationTime(took);
        seconds += took;
    }
    g_importSeconds = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kEdited);
}

// The same 10,000 titles edited in the window's table and written (the write
// itself; BM_PlanWrite is the comparison with diffs shown before it).
void WindowWrite(benchmark::State& state, bool plan) {
    const Site& site = TheSite();
    OpenSite& open = TheOpenSite();
    CSiteTableModel& model = open.session.Model();
    const int title = model.Sheet().ColumnOf(QStringLiteral("title"));
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        site.RestoreEdited();
        open.session.Refresh();
        WaitIdle(open.session);
        for (int i = 0; i < kEdited; ++i) {
            const std::string path = "part" + std::to_string(i / kPagesPerFolder) + "/page" +
                                     std::to_string(i % kPagesPerFolder) + ".html";
            QString error;
            if (const std::optional<size_t> row = model.Sheet().Find(path))
                model.SetCell(*row, title, NewTitle(i), error);
        }
        QCoreApplication::processEvents();
        open.session.PlanWrite();
        if (plan)
            state.ResumeTiming();
        const auto planStart = std::chrono::steady_clock::now();
        WaitIdle(open.session);
        const double planned = Seconds(planStart);
        if (open.session.LastReport().changed != kEdited)
            state.SkipWithError("the plan does not change every edited page");
        ::sync();
        if (plan) {
            state.SetIterationTime(planned);
            seconds += planned;
            state.PauseTiming();
            model.DiscardEdits();
            QCoreApplication::processEvents();
            state.ResumeTiming();
            continue;
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        open.session.Write();
        WaitIdle(open.session);
        const double took = Seconds(start);
        if (open.session.LastReport().changed != kEdited)
            state.SkipWithError("not every page was written");
        state.SetIterationTime(took);
        seconds += took;
    }
    const double perRun = seconds / static_cast<double>(state.iterations());
    if (!plan && g_importSeconds > 0)
        state.counters["vs_import"] = g_importSeconds / perRun;
    state.SetItemsProcessed(state.iterations() * kEdited);
}

void BM_WindowWrite(benchmark::State& state) {
    WindowWrite(state, false);
}
void BM_PlanWrite(benchmark::State& state) {
    WindowWrite(state, true);
}

} // namespace

BENCHMARK(BM_Cat)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scroll)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->DenseRange(0, 4)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowWrite)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanWrite)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The table is a real widget, painted off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    g_openSite.reset();
    benchmark::Shutdown();
    return 0;
}
