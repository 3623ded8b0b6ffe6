// One keystroke in the meta-data form on a 10 MiB page: the field written
// into the page model and the page marked modified, through the form model
// alone and through the editing view's widgets (a key press in the
// description box), plus the view's refill when such a page is opened.
//
// Times are wall-clock per keystroke; the target is well under 16 ms (one
// frame at 60 Hz).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "document/tessel_doc.h"
#include "form/field_form.h"
#include "form/ui/snippet_previews.h"
#include "form/ui/tessel_view.h"
#include "page_inputs.h"
#include "settings/app_settings.h"
#include "settings/memory_profile.h"

namespace {

constexpr int DESCRIPTION = 1;

// A document with the 10 MiB page open, made once.
struct OpenPage {
    QTemporaryDir dir;
    CTesselDoc doc;
    OpenPage() {
        QFile file(dir.filePath("big.html"));
        const std::string page = MakeTypicalPage(10 * MiB);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(page.data(), static_cast<qint64>(page.size())) !=
                static_cast<qint64>(page.size()))
            qFatal("cannot write the page");
        file.close();
        if (!doc.OpenDocumentFile(file.fileName()))
            qFatal("cannot open the page");
    }
};

OpenPage& Page() {
    static OpenPage page;
    return page;
}

void BM_KeystrokeModel(benchmark::State& state) {
    OpenPage& page = Page();
    CFieldForm form(page.doc);
    form.OnInitialUpdate();
    page.doc.SetTrackEdits(1);
    const std::string loaded = form.GetFields().GetAt(DESCRIPTION).GetValue();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        page.doc.SetModifiedFlag(0);
        state.ResumeTiming();
        form.SetValueAsTyped(DESCRIPTION, loaded + (++n % 2 ? " x" : " y"));
    }
    if (!page.doc.IsModified())
        state.SkipWithError("the keystroke did not mark the page modified");
}
BENCHMARK(BM_KeystrokeModel)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The slowest keystroke: a field whose tag the page lacks, so that the whole
// page is searched before the tag is added (and the next keystroke removes it).
void BM_KeystrokeModelNewTag(benchmark::State& state) {
    constexpr int AUTHOR = 3;
    OpenPage& page = Page();
    CFieldForm form(page.doc);
    form.OnInitialUpdate();
    page.doc.SetTrackEdits(1);
    int n = 0;
    for (auto _ : state)
        form.SetValueAsTyped(AUTHOR, ++n % 2 ? "A" : "");
}
BENCHMARK(BM_KeystrokeModelNewTag)->Unit(benchmark::kMicrosecond)->UseRealTime();

struct ViewFixture {
    CMemoryProfile profile;
    CAppSettings settings;
    std::unique_ptr<CTesselView> view;
    QPlainTextEdit* description = nullptr;
    explicit ViewFixture(CTesselDoc& doc) {
        view = std::make_unique<CTesselView>(doc, profile, settings);
        view->resize(640, 900);
        view->show();
        description = qobject_cast<QPlainTextEdit*>(view->ControlWidget(DESCRIPTION, 1));
        description->setFocus();
        description->moveCursor(QTextCursor::End);
        doc.SetTrackEdits(1);
    }
};

void BM_KeystrokeView(benchmark::State& state) {
    OpenPage& page = Page();
    ViewFixture fixture(page.doc);
    for (auto _ : state) {
        state.PauseTiming();
        page.doc.SetModifiedFlag(0);
        state.ResumeTiming();
        QTest::keyClick(fixture.description, Qt::Key_X);
        state.PauseTiming();
        QTest::keyClick(fixture.description, Qt::Key_Backspace);
        state.ResumeTiming();
    }
    if (!page.doc.IsModified())
        state.SkipWithError("the keystroke did not mark the page modified");
}
BENCHMARK(BM_KeystrokeView)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A key in the title box with its length meter and, when the argument is 1,
// the search and social previews shown under the view: the meter measures
// the title in the search font and both previews cut it again.
void BM_KeystrokeTitleWithPreviews(benchmark::State& state) {
    OpenPage& page = Page();
    CMemoryProfile profile;
    CAppSettings settings;
    auto* view = new CTesselView(page.doc, profile, settings);
    CEditingPane pane(view, new CSnippetPanel(*view, settings));
    pane.ShowPanel(state.range(0) != 0);
    pane.resize(1200, 900);
    pane.show();
    auto* title = qobject_cast<QLineEdit*>(view->ControlWidget(0, 1));
    title->setFocus();
    title->end(false);
    page.doc.SetTrackEdits(1);
    for (auto _ : state) {
        state.PauseTiming();
        page.doc.SetModifiedFlag(0);
        state.ResumeTiming();
        QTest::keyClick(title, Qt::Key_X);
        state.PauseTiming();
        QTest::keyClick(title, Qt::Key_Backspace);
        state.ResumeTiming();
    }
    if (!page.doc.IsModified())
        state.SkipWithError("the keystroke did not mark the page modified");
}
BENCHMARK(BM_KeystrokeTitleWithPreviews)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The view refilled for the page as after File Open: encoding decided, rows
// filled and laid out.
void BM_ViewInitialUpdate(benchmark::State& state) {
    OpenPage& page = Page();
    ViewFixture fixture(page.doc);
    for (auto _ : state)
        page.doc.InitialUpdate();
}
BENCHMARK(BM_ViewInitialUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
