// The preview on the web engine (the tsle_preview plugin, loaded when the
// preview is first shown): loaded only when a page is created or opened, from
// memory at any size or from the page's file, and moving nowhere after that
// but in its frames. Needs an X display (run by with-display.sh).
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include "document/tessel_doc.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/preview_pane.h"

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

// The engine's page, once the pane has loaded the engine.
QWebEnginePage* EnginePage(const CPreviewPane* preview) {
    const auto* view =
        preview->EngineWidget() ? preview->EngineWidget()->findChild<QWebEngineView*>() : nullptr;
    return view ? view->page() : nullptr;
}

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
    auto frame = std::make_unique<CChildFrame>(&doc, new QPlainTextEdit);
    CPreviewPane* preview = frame->Preview();
    QVERIFY(preview);
    frame->resize(800, 600);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    QTest::qWait(50);
    QCOMPARE(preview->HasEngine(), 0); // nothing started while the preview is hidden

    // A new page larger than a data URL may be, taken while hidden.
    const std::string title = std::string(3 << 20, 'x') + "END";
    doc.SetPageTitle(title);
    doc.InitialUpdate();
    QVERIFY(doc.GetPageText().size() > (2u << 20));
    QCOMPARE(preview->HasEngine(), 0);

    QSignalSpy finished(preview, &CPreviewPane::loadFinished);
    frame->ShowWebPage();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QWebEnginePage* page = EnginePage(preview);
    QVERIFY(page);
    QCOMPARE(Run(page, "document.title.length").toInt(), int(title.size()));
    QCOMPARE(Run(page, "document.title.slice(-3)").toString(), QString("END"));
    QCOMPARE(frame->CanPrint(), 1); // the preview is the active view
    // That text went through a file that only the user can read.
    const QFileInfo bigPage(page->url().toLocalFile());
    QVERIFY2(bigPage.isFile(), qPrintable(page->url().toString()));
    QCOMPARE(QFileInfo(bigPage.path()).permissions() & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());

    // Edits and refills leave the preview alone.
    QSignalSpy started(preview, &CPreviewPane::loadStarted);
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
    QCOMPARE(frame->State().GetViewMode(), VIEW_MODE_WEBPAGE);

    // A small new page is shown from memory; the big page's copy goes with the preview.
    doc.OnNewDocument();
    doc.SetPageTitle("Small");
    doc.InitialUpdate();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 10000);
    QCOMPARE(Run(page, "document.title").toString(), QString("Small"));
    QVERIFY(!page->url().isLocalFile());
    frame.reset();
    QVERIFY(!QFileInfo::exists(bigPage.path()));
}

void WebPreviewTest::refusesLinksAndRefreshesButFillsFrames() {
    // A page whose file went away before the preview was first shown: the
    // engine's error page, which prints like any page.
    CTesselDoc doc;
    const QString gone = Write("gone.html", "<html><head></head><body>gone</body></html>");
    QCOMPARE(doc.OpenDocumentFile(gone), 1);
    QVERIFY(QFile::remove(gone));
    CPreviewPane preview(&doc);
    QSignalSpy finished(&preview, &CPreviewPane::loadFinished);
    preview.resize(600, 400);
    preview.show();
    QTRY_VERIFY(preview.HasEngine());
    QWebEnginePage* page = EnginePage(&preview);
    QVERIFY(page);
    QSignalSpy refused(&preview, &CPreviewPane::navigationRefused);
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
    QWidget* surface = QWebEngineView::forPage(page)->focusProxy();
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
    QApplication app(argc, argv);
    WebPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "web_preview_test.moc"
