#include "shell/ui/preview/web_preview_view.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "shell/ui/preview/preview_page.h"

CWebPreviewView::CWebPreviewView(const PreviewEngineEvents& events, QWidget* parent)
    : QWidget(parent), m_events(events) {
    setObjectName(QStringLiteral("web_engine_view"));
    // A profile of its own that keeps nothing on disk: the preview browses
    // nowhere and needs no cache, cookies or history.
    m_profile = new QWebEngineProfile(this);
    m_page = new CPreviewPage(m_profile);
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

void CWebPreviewView::LoadFile(const QString& path) {
    m_bLoading = 1;
    m_page->LoadPage(QUrl::fromLocalFile(path));
}

void CWebPreviewView::LoadText(const QByteArray& text) {
    if (text.size() <= MAX_CONTENT_TEXT) {
        m_bLoading = 1;
        m_page->LoadText(text);
        return;
    }
    const QString file = WriteTextFile(text);
    if (file.isEmpty())
        return; // the preview keeps what it showed
    m_bLoading = 1;
    m_page->LoadPage(QUrl::fromLocalFile(file));
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
