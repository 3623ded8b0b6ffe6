// The URL scheme through which the preview shows a page that has no file.
//
// A new page is shown from memory. Data URLs (QWebEngineView::setHtml) stop
// at 2 MB, so the text is served under this scheme instead, at any size.
// The scheme must be known before the web engine starts: the application
// calls RegisterPreviewScheme() before it creates its QApplication.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

inline constexpr char PREVIEW_SCHEME[] = "tsle-preview";

// Makes the scheme known to the web engine; once per process, before the
// QApplication exists. Calling it again does nothing.
void RegisterPreviewScheme();
// Whether RegisterPreviewScheme ran.
bool IsPreviewSchemeRegistered();

// Serves the one text of a preview; each new text gets a URL of its own, so
// that no engine cache shows an older one.
class CPreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // Keeps text (bytes, shown as the engine reads them, as a file would be)
    // and returns the URL that serves it.
    QUrl SetPage(const QByteArray& text);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QByteArray m_text;
    QUrl m_url;
    int m_nServed = 0;
};
