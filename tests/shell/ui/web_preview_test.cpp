// The preview on the web engine: loaded only when a page is created or
// opened, from memory at any size or from the page's file, and moving nowhere
// after that but in its frames. Needs an X display (run by with-display.sh).
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include "document/tessel_doc.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/preview_page.h"
#include "shell/ui/preview_scheme.h"
#include "shell/ui/web_preview_view.h"

class WebPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void showsThePageOfTheLastInitialUpdateOnly();
    void refusesLinksAndRefreshesButFillsFrames();

private:
    QString Write(const QString& name, const QByteArray& text) {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(name));
        return m_dir.filePath(name);
    }
    QTemporaryDir m_dir;
};

namespace {

// Runs script in the page and waits for its result.
QVariant Run(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(10);
    if (!done)
        qWarning("script timed out: %s", qPrintable(script));
    return result;
}

} // namespace

void WebPreviewTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(m_dir.filePath("pic.png")));
    Write("picture.html", "<html><head><title>Picture</title></head>"
                          "<body><img src=\"pic.png\"></body></html>");
    Write("target.html", "<html><head><title>Target</title></head><body></body></html>");
    Write("refresh.html", "<html><head><title>Refresh</title>"
                          "<meta http-equiv=\"refresh\" content=\"0; url=target.html\">"
                          "</head><body></body></html>");
    Write("link.html", "<html><head><title>Link</title></head><body style=\"margin:0\">"
                       "<a id=\"go\" href=\"target.html\" style=\"display:block;height:80px\">"
                       "go</a></body></html>");
    // Each frame tells the frame set it has come; a frame's link to the other
    // frame goes ahead.
    Write("frames.html", "<html><head><title>Frames</title><script>var seen = [];"
                         "addEventListener('message', function (e) { seen.push(e.data);"
                         " document.title = seen.sort().join(','); });</script></head>"
                         "<frameset cols=\"50%,50%\"><frame name=\"left\" src=\"left.html\">"
                         "<frame name=\"right\" src=\"right.html\"></frameset></html>");
    Write("left.html", "<html><body><script>parent.postMessage('left', '*');</script>"
                       "<a href=\"target2.html\" target=\"right\">on</a></body></html>");
    Write("right.html", "<html><body><script>parent.postMessage('right', '*');</script>"
                        "</body></html>");
    Write("target2.html", "<html><body><script>parent.postMessage('right again', '*');"
                          "</script></body></html>");
}

void WebPreviewTest::showsThePageOfTheLastInitialUpdateOnly() {
    CTesselDoc doc;
    doc.OnNewDocument();
    CChildFrame frame(&doc, new QPlainTextEdit);
    CWebPreviewView* preview = frame.Preview();
    QVERIFY(preview);
    frame.resize(800, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTest::qWait(50);
    QCOMPARE(preview->HasEngine(), 0); // nothing started while the preview is hidden

    // A new page larger than a data URL may be, taken while hidden.
    const std::string title = std::string(3 << 20, 'x') + "END";
    doc.SetPageTitle(title);
    doc.InitialUpdate();
    QVERIFY(doc.GetPageText().size() > (2u << 20));
    QCOMPARE(preview->HasEngine(), 0);

    QSignalSpy finished(preview, &CWebPreviewView::loadFinished);
    frame.ShowWebPage();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QWebEnginePage* page = preview->EngineView()->page();
    QCOMPARE(Run(page, "document.title.length").toInt(), int(title.size()));
    QCOMPARE(Run(page, "document.title.slice(-3)").toString(), QString("END"));
    QCOMPARE(frame.CanPrint(), 1); // the preview is the active view

    // Edits and refills leave the preview alone.
    QSignalSpy started(preview, &CWebPreviewView::loadStarted);
    doc.SetPageTitle("Edited");
    doc.UpdateAllViews();
    QTest::qWait(200);
    QCOMPARE(started.count(), 0);
    QCOMPARE(Run(page, "document.title.length").toInt(), int(title.size()));

    // Another page opened: loaded from its file, its picture from its folder;
    // the frame stays on the web page.
    doc.SetModifiedFlag(0);
    QCOMPARE(doc.OpenDocumentFile(m_dir.filePath("picture.html")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(Run(page, "document.title").toString(), QString("Picture"));
    QCOMPARE(Run(page, "document.images[0].naturalWidth").toInt(), 7);
    QCOMPARE(frame.State().GetViewMode(), VIEW_MODE_WEBPAGE);
}

void WebPreviewTest::refusesLinksAndRefreshesButFillsFrames() {
    // A page whose file went away before the preview was first shown: the
    // engine's error page, which prints like any page.
    CTesselDoc doc;
    const QString gone = Write("gone.html", "<html><head></head><body>gone</body></html>");
    QCOMPARE(doc.OpenDocumentFile(gone), 1);
    QVERIFY(QFile::remove(gone));
    CWebPreviewView preview(&doc);
    QSignalSpy finished(&preview, &CWebPreviewView::loadFinished);
    preview.resize(600, 400);
    preview.show();
    QTRY_VERIFY(preview.HasEngine());
    CPreviewPage* page = preview.Page();
    QSignalSpy refused(page, &CPreviewPage::navigationRefused);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QCOMPARE(preview.CanPrint(), 1);

    // A refresh tag that points elsewhere: the page stays.
    QCOMPARE(doc.OpenDocumentFile(m_dir.filePath("refresh.html")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, 10000);
    QCOMPARE(refused.at(0).at(0).toUrl().fileName(), QString("target.html"));
    QCOMPARE(page->url().fileName(), QString("refresh.html"));

    // A link clicked with the mouse, and a script's move: nothing happens.
    QCOMPARE(doc.OpenDocumentFile(m_dir.filePath("link.html")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QString("Link"), 10000);
    QTRY_COMPARE(finished.count(), 3); // refused moves are no loads of the page
    QWidget* surface = preview.EngineView()->focusProxy();
    QVERIFY(surface);
    QTest::qWait(100); // the first frame painted, so that the click hits the link
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 40));
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 2, 10000);
    Run(page, "location.href = 'target.html'");
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 3, 10000);
    QTest::qWait(100);
    QCOMPARE(page->url().fileName(), QString("link.html"));
    QCOMPARE(page->title(), QString("Link"));

    // A frame set fills in, and a link in one frame may load the other.
    QCOMPARE(doc.OpenDocumentFile(m_dir.filePath("frames.html")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QString("left,right"), 10000);
    Run(page, "frames[0].document.links[0].click()");
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QString("left,right,right again"), 10000);
    QCOMPARE(refused.count(), 3);
}

int main(int argc, char** argv) {
    RegisterPreviewScheme(); // before the application, as the program does
    QApplication app(argc, argv);
    WebPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "web_preview_test.moc"
