#include "shell/ui/preview/preview_scheme_handler.h"

#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "shell/preview_request_policy.h"

void CPreviewSchemeHandler::RegisterSchemes() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    for (const char* name : {PREVIEW_TREE_SCHEME, PREVIEW_SEALED_SCHEME}) {
        QWebEngineUrlScheme scheme(name);
        // Paths only, like file: URLs, so that relative references resolve
        // as they do on disk.
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        // Sealed: every document gets an origin that matches nothing, not
        // even itself, so that a page's scripts cannot look into its
        // frames, read its images' pixels or fetch a file of the tree.
        if (qstrcmp(name, PREVIEW_SEALED_SCHEME) == 0)
            scheme.setFlags(QWebEngineUrlScheme::NoAccessAllowed);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
}

void CPreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QString path = PreviewTreeFile(job->requestUrl());
    if (!m_pPolicy || !m_pPolicy->MayServe(job->requestUrl())) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // Regular files only: a FIFO would hang the engine, a device never end.
    auto* file = new QFile(path, job); // read by the engine until the job ends
    if (!info.isFile() || !file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    job->reply(PreviewContentType(path, m_pPolicy->IsPage(path)), file);
}
