// CPreviewSchemeHandler: serves the page file and the files of its folder
// tree under the preview's schemes (PREVIEW_TREE_SCHEME and
// PREVIEW_SEALED_SCHEME), as the request policy allows, from disk as they
// are now.
#pragma once

#include <QWebEngineUrlSchemeHandler>

class CPreviewRequestPolicy;

class CPreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    // policy must outlive the handler.
    explicit CPreviewSchemeHandler(const CPreviewRequestPolicy* policy, QObject* parent = nullptr)
        : QWebEngineUrlSchemeHandler(parent), m_pPolicy(policy) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // Makes the schemes known to the web engine; once, before the engine's
    // first profile.
    static void RegisterSchemes();

private:
    const CPreviewRequestPolicy* m_pPolicy;
};
