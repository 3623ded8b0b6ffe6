// CWebPreviewView: the web engine's view of the open page, the engine that
// the preview pane (CPreviewPane) loads from this plugin.
//
// It shows one page and follows nothing from it (CPreviewPage). A page file
// is loaded from its file, through the preview's own scheme
// (CPreviewSchemeHandler). A page without a file is shown from its text: as
// content handed to the engine while that fits the engine's 2 MB limit on
// such content, else from a copy in a private temporary folder (readable by
// the user alone, removed with the view). Printing goes through a print
// dialog.
//
// A page's content is untrusted. The view's profile keeps nothing on disk;
// every request of a page goes through CPreviewRequestInterceptor, which
// holds it to the rules of CPreviewRequestPolicy; scripts run only when the
// load allows them, and then open no windows, reach no clipboard and get no
// permission; WebRTC sends nothing but through a proxy (the engine's flags,
// PrepareWebEngine) and WebTransport does not exist.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <memory>

#include "shell/ui/preview_engine.h"

class CPreviewPage;
class CPreviewRequestInterceptor;
class CPreviewSchemeHandler;
class QPrinter;
class QTemporaryDir;
class QWebEngineProfile;
class QWebEngineView;

class CWebPreviewView : public QWidget, public IPreviewEngine {
    Q_OBJECT

public:
    // The largest text shown as content; larger ones go through a file.
    static constexpr qsizetype MAX_CONTENT_TEXT = (2 * 1024 * 1024 - 256) / 4 * 3;

    CWebPreviewView(const PreviewEngineEvents& events, QWidget* parent = nullptr);
    ~CWebPreviewView() override;

    // What the web engine needs before its first profile: the preview's
    // scheme and its command-line flags. Once per process.
    static void PrepareWebEngine();

    QWidget* Widget() override { return this; }
    void LoadFile(const QString& path, const CPreviewAccess& access) override;
    void LoadText(const QByteArray& text, const CPreviewAccess& access) override;
    int CanPrint() const override;
    void Print() override;

    QWebEngineView* EngineView() const { return m_view; }
    CPreviewPage* Page() const { return m_page; }

private:
    // Writes text to a new file in the private folder; "" when it cannot.
    QString WriteTextFile(const QByteArray& text);
    // The rules and settings for the next load, of the page at page.
    void Allow(const QUrl& page, const CPreviewAccess& access);
    void OnPrintFinished(bool ok);

    PreviewEngineEvents m_events;
    QWebEngineProfile* m_profile = nullptr;
    CPreviewRequestPolicy m_policy; // of the page loaded last
    CPreviewRequestInterceptor* m_interceptor = nullptr;
    CPreviewSchemeHandler* m_schemeHandler = nullptr;
    CPreviewPage* m_page = nullptr;
    QWebEngineView* m_view = nullptr;
    QPrinter* m_printer = nullptr; // while a print job runs
    std::unique_ptr<QTemporaryDir> m_textDir;
    QString m_strTextFile;
    int m_nTextFiles = 0;
    int m_bLoading = 0; // the page's own load runs
    int m_bLoaded = 0;  // a page was shown (or the engine's error page)
};
