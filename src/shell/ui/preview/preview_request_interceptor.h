// CPreviewRequestInterceptor: holds every request of the preview's pages to
// CPreviewRequestPolicy and blocks what it refuses, before anything is read
// or sent.
#pragma once

#include <QWebEngineUrlRequestInterceptor>

#include "shell/preview_request_policy.h"

class CPreviewRequestInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // The rules for the page loaded next, and for everything it loads.
    void SetPolicy(const CPreviewRequestPolicy& policy) { m_policy = policy; }
    const CPreviewRequestPolicy& Policy() const { return m_policy; }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // What a request of the engine's type is for.
    static PreviewResource ResourceOf(QWebEngineUrlRequestInfo::ResourceType type);

private:
    CPreviewRequestPolicy m_policy; // allows nothing until a page is loaded
};
