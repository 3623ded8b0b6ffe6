#include "shell/ui/preview/web_preview_view.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "shell/ui/preview/preview_page.h"
#include "shell/ui/preview/preview_request_interceptor.h"
#include "shell/ui/preview/preview_scheme_handler.h"

namespace {

// What no page shown in the preview may do, whatever the user allows.
void RestrictSettings(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    settings->setAttribute(S::JavascriptEnabled, false); // each load says
    settings->setAttribute(S::JavascriptCanOpenWindows, false);
    settings->setAttribute(S::JavascriptCanAccessClipboard, false);
    settings->setAttribute(S::JavascriptCanPaste, false);
    settings->setAttribute(S::AllowWindowActivationFromJavaScript, false);
    // Pages are served under the preview's scheme, never as file: URLs, so
    // these stay off: a local document would otherwise read other local
    // files, or the whole web past its origin rules.
    settings->setAttribute(S::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(S::LocalContentCanAccessRemoteUrls, false);
    // No request the interceptor does not see, and no reaching out unasked.
    settings->setAttribute(S::DnsPrefetchEnabled, false);
    settings->setAttribute(S::HyperlinkAuditingEnabled, false);
    settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
    settings->setAttribute(S::PluginsEnabled, false);
    settings->setAttribute(S::ScreenCaptureEnabled, false);
    settings->setAttribute(S::AllowRunningInsecureContent, false);
    settings->setAttribute(S::AllowGeolocationOnInsecureOrigins, false);
    settings->setAttribute(S::FullScreenSupportEnabled, false);
    // A file dropped on the preview would replace the page.
    settings->setAttribute(S::NavigateOnDropEnabled, false);
    // Links to other programs (mailto:, irc:, ...) start nothing.
    settings->setUnknownUrlSchemePolicy(S::DisallowUnknownUrlSchemes);
}

} // namespace

void CWebPreviewView::PrepareWebEngine() {
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    CPreviewSchemeHandler::RegisterSchemes();
    // The engine reads its flags when its first profile is made. WebRTC may
    // then use no UDP but through a proxy (no STUN request leaves from a
    // page), and WebTransport, which goes around the request interceptor,
    // does not exist.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --force-webrtc-ip-handling-policy=disable_non_proxied_udp"
             " --disable-blink-features=WebTransport";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

CWebPreviewView::CWebPreviewView(const PreviewEngineEvents& events, QWidget* parent)
    : QWidget(parent), m_events(events) {
    setObjectName(QStringLiteral("web_engine_view"));
    PrepareWebEngine();
    // An off-the-record profile of its own that keeps nothing on disk: the
    // preview browses nowhere and needs no cache, cookies or history.
    m_profile = new QWebEngineProfile(this);
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setSpellCheckEnabled(false);
    m_interceptor = new CPreviewRequestInterceptor(this);
    m_profile->setUrlRequestInterceptor(m_interceptor);
    m_schemeHandler = new CPreviewSchemeHandler(&m_policy, this);
    m_profile->installUrlSchemeHandler(PREVIEW_TREE_SCHEME, m_schemeHandler);
    m_profile->installUrlSchemeHandler(PREVIEW_SEALED_SCHEME, m_schemeHandler);
    RestrictSettings(m_profile->settings());
    m_page = new CPreviewPage(m_profile);
    RestrictSettings(m_page->settings());
    m_view = new QWebEngineView(this);
    m_view->setPage(m_page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    // A refused move reports a load that failed; only the page's own count.
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        if (m_bLoading && m_events.loadStarted)
            m_events.loadStarted();
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!m_bLoading)
            return;
        m_bLoading = 0;
        m_bLoaded = 1; // the engine's error page prints too
        if (m_events.loadFinished)
            m_events.loadFinished(ok);
    });
    connect(m_page, &CPreviewPage::navigationRefused, this, [this](const QUrl& url) {
        if (m_events.navigationRefused)
            m_events.navigationRefused(url);
    });
    connect(m_view, &QWebEngineView::printFinished, this, &CWebPreviewView::OnPrintFinished);
}

CWebPreviewView::~CWebPreviewView() {
    // The page must go before the profile it was made with.
    delete m_view;
    delete m_page;
    delete m_printer;
}

void CWebPreviewView::Allow(const QUrl& page, const CPreviewAccess& access) {
    m_policy = CPreviewRequestPolicy(page, access);
    m_interceptor->SetPolicy(m_policy);
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, access.bScripts);
}

void CWebPreviewView::LoadFile(const QString& path, const CPreviewAccess& access) {
    const QUrl url = PreviewTreeUrl(path, access.bScripts);
    Allow(url, access);
    m_bLoading = 1;
    m_page->LoadPage(url);
}

void CWebPreviewView::LoadText(const QByteArray& text, const CPreviewAccess& access) {
    CPreviewAccess own = access;
    own.strRoot.clear(); // a page without a file has no folder
    if (text.size() <= MAX_CONTENT_TEXT) {
        Allow(QUrl(QStringLiteral("data:text/html")), own);
        m_bLoading = 1;
        m_page->LoadText(text);
        return;
    }
    const QString file = WriteTextFile(text);
    if (file.isEmpty())
        return; // the preview keeps what it showed
    const QUrl url = PreviewTreeUrl(file, own.bScripts);
    // The copy's folder holds the copy alone.
    own.strRoot = QFileInfo(file).absolutePath();
    Allow(url, own);
    m_bLoading = 1;
    m_page->LoadPage(url);
}

QString CWebPreviewView::WriteTextFile(const QByteArray& text) {
    if (!m_textDir) {
        // Created readable by the user alone; removed with the view.
        m_textDir = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                    QStringLiteral("/tsle-preview-XXXXXX"));
        if (!m_textDir->isValid()) {
            qWarning("tsle: no folder for the preview's page: %s",
                     qPrintable(m_textDir->errorString()));
            m_textDir.reset();
            return {};
        }
    }
    // A new name for each text, so that no engine cache shows an older one.
    const QString path =
        m_textDir->filePath(QStringLiteral("untitled-%1.html").arg(++m_nTextFiles));
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(text) == text.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        qWarning("tsle: cannot write the preview's page %s: %s", qPrintable(path),
                 qPrintable(file.errorString()));
        QFile::remove(path);
        return {};
    }
    if (!m_strTextFile.isEmpty())
        QFile::remove(m_strTextFile);
    m_strTextFile = path;
    return path;
}

int CWebPreviewView::CanPrint() const {
    return m_bLoaded && !m_printer ? 1 : 0;
}

void CWebPreviewView::Print() {
    if (!CanPrint())
        return;
    auto* printer = new QPrinter(QPrinter::HighResolution);
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        delete printer;
        return;
    }
    // The engine prints in the background and reports when done; the printer
    // lives until then.
    m_printer = printer;
    if (m_events.printStateChanged)
        m_events.printStateChanged();
    m_view->print(m_printer);
}

void CWebPreviewView::OnPrintFinished(bool ok) {
    delete m_printer;
    m_printer = nullptr;
    if (m_events.printStateChanged)
        m_events.printStateChanged();
    if (!ok)
        QMessageBox::warning(this, QStringLiteral("TSLE"),
                             QStringLiteral("The page could not be printed."));
}
