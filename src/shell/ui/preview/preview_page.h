// CPreviewPage: the web page of the preview, which shows one page and
// follows nothing from it.
#pragma once

#include <QWebEnginePage>

#include "shell/navigation_gate.h"

class CPreviewPage : public QWebEnginePage {
    Q_OBJECT

public:
    explicit CPreviewPage(QWebEngineProfile* profile, QObject* parent = nullptr);

    // Loads url as the page shown; the page itself moves nowhere after it.
    void LoadPage(const QUrl& url);
    // The same for a text without a file, handed to the engine as content
    // (which the engine limits to 2 MB).
    void LoadText(const QByteArray& text);

signals:
    // The page tried to move its main frame (a link, a form, a script, a
    // refresh); nothing happened.
    void navigationRefused(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // The page's script messages are the page's business, not the user's.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    CNavigationGate m_gate;
};
