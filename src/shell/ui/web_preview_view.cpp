#include "shell/ui/web_preview_view.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "document/tessel_doc.h"
#include "shell/ui/preview_page.h"
#include "shell/ui/preview_scheme.h"

CWebPreviewView::CWebPreviewView(CTesselDoc* doc, QWidget* parent) : QWidget(parent), m_pDoc(doc) {
    setObjectName(QStringLiteral("web_preview"));
    setAccessibleName(QStringLiteral("Web page preview"));
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A blank page until the engine is there.
    m_placeholder = new QWidget(this);
    m_placeholder->setAutoFillBackground(true);
    m_placeholder->setBackgroundRole(QPalette::Base);
    layout->addWidget(m_placeholder);
    if (doc) {
        connect(doc, &CTesselDoc::initialUpdate, this, &CWebPreviewView::OnInitialUpdate);
        OnInitialUpdate(); // the page the document holds already
    }
}

CWebPreviewView::~CWebPreviewView() {
    // The page must go before the profile it was made with.
    delete m_view;
    delete m_page;
}

void CWebPreviewView::OnInitialUpdate() {
    if (!m_pDoc)
        return;
    m_strPath = m_pDoc->GetPathName();
    if (m_strPath.isEmpty()) {
        const std::string text = m_pDoc->GetPageText();
        m_text = QByteArray(text.data(), qsizetype(text.size()));
    } else {
        m_text.clear();
    }
    if (m_view)
        LoadCurrent();
}

void CWebPreviewView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Let the placeholder paint first: the engine takes a moment to start.
    if (!m_view)
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                CreateEngine();
        });
}

void CWebPreviewView::CreateEngine() {
    if (m_view)
        return;
    // A profile of its own that keeps nothing on disk: the preview browses
    // nowhere and needs no cache, cookies or history.
    m_profile = new QWebEngineProfile(this);
    if (IsPreviewSchemeRegistered()) {
        m_scheme = new CPreviewSchemeHandler(this);
        m_profile->installUrlSchemeHandler(PREVIEW_SCHEME, m_scheme);
    }
    m_page = new CPreviewPage(m_profile);
    m_view = new QWebEngineView(this);
    m_view->setPage(m_page);
    m_view->setAccessibleName(accessibleName());
    // A refused move reports a load that failed; only the page's own count.
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        if (m_bLoading)
            emit loadStarted();
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!m_bLoading)
            return;
        m_bLoading = 0;
        m_bLoaded = 1; // the engine's error page prints too
        emit loadFinished(ok);
    });
    connect(m_view, &QWebEngineView::printFinished, this, &CWebPreviewView::OnPrintFinished);

    const bool hadFocus = hasFocus();
    layout()->replaceWidget(m_placeholder, m_view);
    delete m_placeholder;
    m_placeholder = nullptr;
    setFocusProxy(m_view);
    if (hadFocus)
        m_view->setFocus();
    LoadCurrent();
}

void CWebPreviewView::LoadCurrent() {
    if (!m_page)
        return;
    m_bLoading = 1;
    if (!m_strPath.isEmpty())
        m_page->LoadPage(QUrl::fromLocalFile(m_strPath));
    else if (m_scheme)
        m_page->LoadPage(m_scheme->SetPage(m_text));
    else
        m_page->LoadText(m_text);
}

int CWebPreviewView::CanPrint() const {
    return m_view && m_bLoaded && !m_printer ? 1 : 0;
}

void CWebPreviewView::Print() {
    if (!CanPrint())
        return;
    auto* printer = new QPrinter(QPrinter::HighResolution);
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted || !m_view) {
        delete printer;
        return;
    }
    // The engine prints in the background and reports when done; the printer
    // lives until then.
    m_printer = printer;
    m_view->print(m_printer);
}

void CWebPreviewView::OnPrintFinished(bool ok) {
    delete m_printer;
    m_printer = nullptr;
    if (!ok)
        QMessageBox::warning(this, QStringLiteral("TSLE"),
                             QStringLiteral("The page could not be printed."));
}
