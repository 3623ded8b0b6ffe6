#include "shell/ui/preview_scheme.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

void RegisterPreviewScheme() {
    if (IsPreviewSchemeRegistered())
        return;
    QWebEngineUrlScheme scheme(PREVIEW_SCHEME);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Like a file: local, and no gate to the network or other pages opened.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

bool IsPreviewSchemeRegistered() {
    return QWebEngineUrlScheme::schemeByName(PREVIEW_SCHEME).name() == PREVIEW_SCHEME;
}

QUrl CPreviewSchemeHandler::SetPage(const QByteArray& text) {
    m_text = text;
    m_url = QUrl(QStringLiteral("%1:untitled-%2").arg(PREVIEW_SCHEME).arg(++m_nServed));
    return m_url;
}

void CPreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job->requestMethod() != "GET" || job->requestUrl() != m_url) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(m_text);
    job->reply("text/html", buffer);
}
