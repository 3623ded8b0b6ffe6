// The editor on pages and templates far larger than usual, and switching
// pages from the file browser:
// - BM_OpenManyTags/N: File Open of a page with N distinct meta tags, the
//   editing view refilled and painted (target: 100,000 tags under 1 s);
// - BM_ApplyTemplate/N and BM_EditTemplate/N: Apply, and Edit template then
//   End editing, with a template of N meta tags (target: under 0.5 s);
// - BM_PageSwitch: selecting the other of two 1 MB pages in a folder of
//   10,000 files in the file browser, or the next of the Python library
//   reference's pages, until the window names it (target: under 50 ms), with
//   the preview hidden; and with the preview shown, until the fields show
//   (the page renders after).
//
// All run in the main window (or the editing view alone) on the offscreen
// platform, with a profile file of their own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "app/recent_file_list.h"
#include "app/ui/main_frame.h"
#include "document/tessel_doc.h"
#include "form/ui/tessel_view.h"
#include "page/user_prompt.h"
#include "page_inputs.h"
#include "settings/app_settings.h"
#include "settings/settings_profile.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/preview_pane.h"

namespace {

// Answers every question No and records nothing: nothing is to be saved.
class QuietPrompt : public IUserPrompt {
public:
    void Info(const std::string&) override {}
    Answer Ask(const std::string&, Buttons) override { return ANSWER_NO; }
};

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

QString WriteFile(const QString& name, const std::string& text) {
    const QString path = Folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

std::string MakeTemplate(int metaCount) {
    std::string out = "<html><head><title action=\"1\">Site</title>\n";
    for (int i = 0; i < metaCount; ++i) {
        out += "<meta name=\"tkey" + std::to_string(i) + "\" content=\"value " + std::to_string(i) +
               "\" action=\"" + std::to_string(1 + i % 7) + "\"/>\n";
    }
    return out + "</head><body>Template</body></html>\n";
}

// The editing view alone over a document, as in the window.
struct ViewRig {
    QuietPrompt prompt;
    CSettingsProfile profile{Folder().filePath("view.ini")};
    CAppSettings settings;
    CTesselDoc doc;
    std::unique_ptr<CTesselView> view;
    ViewRig() {
        doc.SetPrompt(&prompt);
        view = std::make_unique<CTesselView>(doc, profile, settings);
        view->resize(800, 900);
        view->show();
        QApplication::processEvents();
    }
};

void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

void BM_OpenManyTags(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const QString path = WriteFile(QStringLiteral("tags%1.html").arg(count), MakeMetaPage(count));
    ViewRig rig;
    for (auto _ : state) {
        state.PauseTiming();
        rig.doc.FileNew();
        Settle();
        state.ResumeTiming();
        if (!rig.doc.OpenDocumentFile(path))
            state.SkipWithError("the page did not open");
        Settle();
    }
}
BENCHMARK(BM_OpenManyTags)
    ->Arg(20000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

struct TemplateRig : ViewRig {
    explicit TemplateRig(int count) {
        const QString page = WriteFile(QStringLiteral("page.html"), MakeTypicalPage(64 * 1024));
        const QString templ =
            WriteFile(QStringLiteral("big%1.mtpl").arg(count), MakeTemplate(count));
        if (!doc.OpenDocumentFile(page) || !doc.OpenDocumentFile(templ))
            qFatal("cannot open the page and the template");
        Settle();
    }
};

void BM_ApplyTemplate(benchmark::State& state) {
    TemplateRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!rig.doc.ApplyTemplate())
            state.SkipWithError("the template was not applied");
        Settle();
    }
}
BENCHMARK(BM_ApplyTemplate)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_EditTemplate(benchmark::State& state) {
    TemplateRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        rig.doc.ToggleEditing();
        Settle();
        rig.doc.ToggleEditing();
        Settle();
    }
}
BENCHMARK(BM_EditTemplate)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The folders the page switches run in.
enum class Site {
    BIG_PAGES, // two 1 MB pages among 10,000 small files, switched back and forth
    REAL,      // the 317 pages of the Python library reference, each in turn
};

// The main window with the file browser on one of those folders.
struct WindowRig {
    QuietPrompt prompt;
    CSettingsProfile profile{Folder().filePath("window.ini")};
    CAppSettings settings;
    CRecentFileList recent;
    CTesselDoc doc;
    std::unique_ptr<CMainFrame> frame;
    std::vector<QTreeWidgetItem*> pages;

    explicit WindowRig(Site site) {
        QString dir;
        if (site == Site::BIG_PAGES) {
            dir = Folder().filePath(QStringLiteral("site"));
            if (!QFileInfo::exists(dir)) {
                QDir().mkpath(dir);
                const std::string small = MakeTypicalPage(2 * 1024);
                for (int i = 0; i < 10000; ++i) {
                    const QString name =
                        QStringLiteral("site/p%1.html").arg(i, 5, 10, QLatin1Char('0'));
                    WriteFile(name, i == 4000 || i == 6000 ? MakeTypicalPage(MiB) : small);
                }
            }
        } else {
            dir = QString::fromUtf8(kPythonDocFolder) + QStringLiteral("/library");
        }
        doc.SetPrompt(&prompt);
        doc.SetSettings(&settings);
        frame = std::make_unique<CMainFrame>(doc, profile, settings, recent);
        frame->SetPrompt(&prompt);
        frame->RestoreWindowState();
        doc.OnNewDocument();
        doc.InitialUpdate();
        frame->resize(1000, 800);
        frame->show();
        frame->OpenProjectDir(dir);
        Settle();
        QTreeWidgetItem* root = frame->FileBrowser()->Tree()->topLevelItem(0);
        for (int i = 0; root && i < root->childCount(); ++i) {
            QTreeWidgetItem* item = root->child(i);
            const QString text = item->text(0);
            if (site == Site::REAL
                    ? text.endsWith(QLatin1String(".html"))
                    : text == QLatin1String("p04000.html") || text == QLatin1String("p06000.html"))
                pages.push_back(item);
        }
    }

    // Selects the next page in the file browser and waits until the window
    // names it; returns the milliseconds that took, or -1 when it never did.
    double SwitchToNext(int n) {
        QTreeWidgetItem* item = pages[static_cast<size_t>(n) % pages.size()];
        const QString wanted = item->text(0);
        QElapsedTimer waited;
        waited.start();
        frame->FileBrowser()->Tree()->setCurrentItem(item);
        while (!frame->windowTitle().startsWith(wanted) && waited.elapsed() < 10000)
            QApplication::processEvents();
        if (!frame->windowTitle().startsWith(wanted))
            return -1;
        return static_cast<double>(waited.nsecsElapsed()) / 1e6;
    }
};

void BM_PageSwitch(benchmark::State& state, Site site) {
    WindowRig rig(site);
    if (rig.pages.size() < 2) {
        state.SkipWithError("the folder holds too few pages");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        if (rig.SwitchToNext(++n) < 0)
            state.SkipWithError("the page did not open");
        Settle();
    }
}
BENCHMARK_CAPTURE(BM_PageSwitch, two_1MB_pages_in_10000_files, Site::BIG_PAGES)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PageSwitch, python_library_pages, Site::REAL)
    ->Iterations(317)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same with the page shown below the fields (the split view): the time
// until the window names the new page and its fields are filled (named_ms);
// the page then renders, untimed, before the next switch. Needs the web
// engine (an X display).
void BM_PageSwitchPreviewShown(benchmark::State& state, Site site) {
    WindowRig rig(site);
    if (rig.pages.size() < 2) {
        state.SkipWithError("the folder holds too few pages");
        return;
    }
    rig.frame->ChildFrame()->ShowSplit();
    CPreviewPane* preview = rig.frame->ChildFrame()->Preview();
    if (!preview || !preview->CreateEngine()) {
        state.SkipWithError("no web engine here");
        return;
    }
    int n = 0;
    double untilNamed = 0;
    for (auto _ : state) {
        const double ms = rig.SwitchToNext(++n);
        if (ms < 0)
            state.SkipWithError("the page did not open");
        untilNamed += ms;
        Settle();
        state.PauseTiming();
        QElapsedTimer rendering;
        rendering.start();
        bool loaded = false;
        const QMetaObject::Connection done =
            QObject::connect(preview, &CPreviewPane::loadFinished, [&loaded] { loaded = true; });
        while ((!loaded && rendering.elapsed() < 10000) || rendering.elapsed() < 300)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        QObject::disconnect(done);
        state.ResumeTiming();
    }
    state.counters["named_ms"] = untilNamed / static_cast<double>(state.iterations());
}
BENCHMARK_CAPTURE(BM_PageSwitchPreviewShown, two_1MB_pages_in_10000_files, Site::BIG_PAGES)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_PageSwitchPreviewShown, python_library_pages, Site::REAL)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TSLE_PREVIEW_PLUGIN_DIR"))
        qputenv("TSLE_PREVIEW_PLUGIN_DIR", TSLE_PREVIEW_PLUGIN_DIR);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
