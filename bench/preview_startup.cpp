// How long the web page preview takes to come up, and what it costs the
// first window while it is hidden. Needs an X display:
//   scripts/with-display.sh build/bench/preview_startup [runs] [page.html]
// Each figure is measured in a fresh process (the web engine starts once per
// process), runs times, and the median printed in milliseconds:
//   window, plain      the child frame shown with a plain widget for the preview
//   window, preview    the same with the real preview, hidden (no engine yet)
//   window, eager      the same with the engine created at once, for comparison
//   engine started     from the Web page command to the engine's first load start
//   first show         from the Web page command to the page loaded
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextStream>
#include <QtTest>
#include <algorithm>
#include <cstdio>

#include "document/tessel_doc.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/preview_pane.h"

namespace {

double Median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// One measure in this process; prints its figures on one line.
int Measure(const QString& mode, const QString& page) {
    CTesselDoc doc;
    if (page.isEmpty())
        doc.OnNewDocument();
    else if (!doc.OpenDocumentFile(page))
        return 1;
    QElapsedTimer clock;
    clock.start();
    CChildFrame* frame = mode == "plain" ? new CChildFrame(new QPlainTextEdit, new QWidget, nullptr)
                                         : new CChildFrame(&doc, new QPlainTextEdit);
    if (mode == "eager")
        frame->Preview()->CreateEngine();
    frame->resize(900, 700);
    frame->show();
    if (!QTest::qWaitForWindowExposed(frame))
        return 1;
    const double window = clock.nsecsElapsed() / 1e6;
    if (mode != "first-show") {
        std::printf("%.2f\n", window);
        delete frame;
        return 0;
    }
    QTest::qWait(200); // settle, as a user would look before switching
    CPreviewPane* preview = frame->Preview();
    double started = -1;
    double loaded = -1;
    QObject::connect(preview, &CPreviewPane::loadStarted,
                     [&] { started = clock.nsecsElapsed() / 1e6; });
    QObject::connect(preview, &CPreviewPane::loadFinished,
                     [&] { loaded = clock.nsecsElapsed() / 1e6; });
    clock.restart();
    frame->ShowWebPage();
    QDeadlineTimer deadline(60000);
    while (loaded < 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("%.2f %.2f\n", started, loaded);
    delete frame;
    return loaded < 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    // The preview's plugin as built (the program finds it beside itself).
    if (qEnvironmentVariableIsEmpty("TSLE_PREVIEW_PLUGIN_DIR"))
        qputenv("TSLE_PREVIEW_PLUGIN_DIR", TSLE_PREVIEW_PLUGIN_DIR);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == "--measure")
        return Measure(args[2], args.value(3));

    const int runs = std::max(1, args.value(1, "5").toInt());
    const QString page = args.size() > 2 ? QFileInfo(args[2]).absoluteFilePath() : QString();
    QList<double> plain, hidden, eager, started, shown;
    for (int i = 0; i < runs; ++i) {
        for (const char* mode : {"plain", "preview", "eager", "first-show"}) {
            QProcess p;
            p.start(app.applicationFilePath(), {"--measure", mode, page});
            if (!p.waitForFinished(120000) || p.exitCode() != 0) {
                std::fprintf(stderr, "measure %s failed: %s\n", mode,
                             p.readAllStandardError().constData());
                return 1;
            }
            const QStringList f = QString::fromLatin1(p.readAllStandardOutput()).split(' ');
            if (QLatin1String(mode) == "plain")
                plain << f.value(0).toDouble();
            else if (QLatin1String(mode) == "preview")
                hidden << f.value(0).toDouble();
            else if (QLatin1String(mode) == "eager")
                eager << f.value(0).toDouble();
            else {
                started << f.value(0).toDouble();
                shown << f.value(1).toDouble();
            }
        }
    }
    std::printf("median of %d runs, ms (%s)\n", runs,
                page.isEmpty() ? "a new page" : qPrintable(page));
    std::printf("  window, plain      %8.1f\n", Median(plain));
    std::printf("  window, preview    %8.1f\n", Median(hidden));
    std::printf("  window, eager      %8.1f\n", Median(eager));
    std::printf("  engine started     %8.1f\n", Median(started));
    std::printf("  first show         %8.1f\n", Median(shown));
    return 0;
}
