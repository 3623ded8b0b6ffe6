#include "shell/ui/preview/preview_page.h"

CPreviewPage::CPreviewPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    // No page gets a camera, a microphone, the screen, the location or
    // notifications.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
}

void CPreviewPage::LoadPage(const QUrl& url) {
    m_gate.Arm();
    load(url);
}

void CPreviewPage::LoadText(const QByteArray& text) {
    m_gate.Arm();
    setContent(text, QStringLiteral("text/html"));
}

bool CPreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    // Only loads the program asks for count as typed; whatever the page does
    // itself has another type.
    if (m_gate.Accept(isMainFrame, type == NavigationTypeTyped))
        return true;
    emit navigationRefused(url);
    return false;
}
