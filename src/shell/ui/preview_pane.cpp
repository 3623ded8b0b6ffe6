#include "shell/ui/preview_pane.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "document/tessel_doc.h"
#include "settings/app_settings.h"
#include "shell/ui/preview_engine.h"
#include "shell/ui/preview_plugin_loader.h"

CPreviewPane::CPreviewPane(CTesselDoc* doc, QWidget* parent) : QWidget(parent), m_pDoc(doc) {
    setObjectName(QStringLiteral("web_preview"));
    setAccessibleName(QStringLiteral("Web page preview"));
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A blank page until the engine is there.
    m_placeholder = new QLabel(this);
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setWordWrap(true);
    m_placeholder->setAutoFillBackground(true);
    m_placeholder->setBackgroundRole(QPalette::Base);
    layout->addWidget(m_placeholder);
    if (doc) {
        connect(doc, &CTesselDoc::initialUpdate, this, &CPreviewPane::OnInitialUpdate);
        OnInitialUpdate(); // the page the document holds already
    }
}

CPreviewPane::~CPreviewPane() {
    // The engine goes first, while its reports can still reach this pane.
    m_engine = nullptr;
    delete m_engineWidget;
}

void CPreviewPane::OnInitialUpdate() {
    if (!m_pDoc)
        return;
    m_strPath = m_pDoc->GetPathName();
    if (m_strPath.isEmpty()) {
        const std::string text = m_pDoc->GetPageText();
        m_text = QByteArray(text.data(), qsizetype(text.size()));
    } else {
        m_text.clear();
    }
    // The form shows the new page's fields first; the page renders after.
    if (m_engine)
        QTimer::singleShot(0, this, &CPreviewPane::LoadCurrent);
}

void CPreviewPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Let the placeholder paint first: the engine takes a moment to start.
    if (!m_engine && m_strError.isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                CreateEngine();
        });
}

int CPreviewPane::CreateEngine() {
    if (m_engine)
        return 1;
    if (!m_strError.isEmpty())
        return 0;
    IPreviewEngineFactory* factory = LoadPreviewEngineFactory(&m_strError);
    if (!factory) {
        m_placeholder->setText(
            QStringLiteral("The web page preview is not available.\n%1").arg(m_strError));
        return 0;
    }
    PreviewEngineEvents events;
    events.loadStarted = [this] { emit loadStarted(); };
    events.loadFinished = [this](bool ok) {
        emit loadFinished(ok);
        emit printStateChanged();
    };
    events.navigationRefused = [this](const QUrl& url) { emit navigationRefused(url); };
    events.printStateChanged = [this] { emit printStateChanged(); };
    m_engine = factory->CreateEngine(this, events);
    m_engineWidget = m_engine->Widget();
    m_engineWidget->setAccessibleName(accessibleName());

    // The engine draws through OpenGL: Qt gives the window a new native
    // window for that, which leaves it inactive and without focus where no
    // window manager steps in. The window keeps both.
    QWidget* top = window();
    const bool wasActive = top->isActiveWindow();
    const bool hadFocus = hasFocus();
    layout()->replaceWidget(m_placeholder, m_engineWidget);
    delete m_placeholder;
    m_placeholder = nullptr;
    setFocusProxy(m_engineWidget);
    if (hadFocus)
        m_engineWidget->setFocus();
    if (wasActive) {
        QPointer<QWidget> engine = m_engineWidget;
        QTimer::singleShot(0, top, [top, engine, hadFocus] {
            if (!top->isActiveWindow())
                top->activateWindow();
            if (hadFocus && engine)
                engine->setFocus();
        });
    }
    LoadCurrent();
    return 1;
}

CPreviewAccess CPreviewPane::CurrentAccess() const {
    CPreviewAccess access;
    const QString project = m_pDoc ? m_pDoc->GetProjectDir() : QString();
    if (m_pSettings) {
        const CPreviewSettings& preview = m_pSettings->m_preview;
        access.bScripts = preview.ScriptsAllowed(ScriptFolderKey(project));
        access.bRemoteResources = preview.m_bRemoteResources;
    }
    access.strRoot = PreviewTreeRoot(m_strPath, project);
    return access;
}

void CPreviewPane::OnSettingsChanged() {
    if (!m_engine || !m_bLoaded)
        return;
    const CPreviewAccess access = CurrentAccess();
    if (access.bScripts != m_loadedAccess.bScripts ||
        access.bRemoteResources != m_loadedAccess.bRemoteResources ||
        access.strRoot != m_loadedAccess.strRoot)
        LoadCurrent();
}

void CPreviewPane::LoadCurrent() {
    if (!m_engine)
        return;
    m_loadedAccess = CurrentAccess();
    m_bLoaded = true;
    if (!m_strPath.isEmpty())
        m_engine->LoadFile(m_strPath, m_loadedAccess);
    else
        m_engine->LoadText(m_text, m_loadedAccess);
}

int CPreviewPane::CanPrint() const {
    return m_engine && m_engine->CanPrint() ? 1 : 0;
}

void CPreviewPane::Print() {
    if (CanPrint())
        m_engine->Print();
}
