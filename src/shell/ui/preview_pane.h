// CPreviewPane: row 1 of the child frame, the web page preview of the open
// page.
//
// A page that has a file is shown from the file, so that its images, style
// sheets and frames resolve against its folder; a new page is shown from its
// text. The preview takes its page at each initial update of the document (a
// page was created or opened), also while hidden, and at no other time:
// edits, saves and templates leave it as it is.
//
// The web engine starts slowly and its libraries are large, so the pane loads
// it (the tsle_preview plugin, IPreviewEngine) only when it is first shown;
// until then a blank placeholder stands in, and the engine then shows the
// page of the last initial update. Where the plugin cannot be loaded the
// placeholder says why.
//
// What the page may do (run scripts, load images and styles from the web)
// follows the application's preview settings and the document's project
// folder, taken at each load (CPreviewRequestPolicy has the rules).
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "shell/preview_request_policy.h"

class CTesselDoc;
struct CAppSettings;
class IPreviewEngine;
class QLabel;

class CPreviewPane : public QWidget {
    Q_OBJECT

public:
    // doc may be null (nothing is shown); it must outlive the pane otherwise.
    explicit CPreviewPane(CTesselDoc* doc, QWidget* parent = nullptr);
    ~CPreviewPane() override;

    // Takes the page from the document: its file, or its text when it has
    // none. Connected to the document's initialUpdate.
    void OnInitialUpdate();

    // The settings that say what pages may do; null (the default) allows no
    // scripts and nothing from the web. They must outlive the pane.
    void SetSettings(const CAppSettings* settings) { m_pSettings = settings; }
    // Shows the page again when what it may do has changed since it was
    // loaded (the options were applied, another project folder was chosen).
    void OnSettingsChanged();
    // What the page shown now, or the next one, may do.
    CPreviewAccess CurrentAccess() const;

    int HasEngine() const { return m_engine ? 1 : 0; }
    // Loads the engine now (it is loaded anyway when the pane is first
    // shown). Returns 1 when the engine is there.
    int CreateEngine();
    // The engine's widget, null until the engine exists.
    QWidget* EngineWidget() const { return m_engineWidget; }
    // Why there is no engine, "" while none was asked for or it is there.
    const QString& EngineError() const { return m_strError; }

    // Printing through a print dialog, once a page was loaded and while no
    // print job runs.
    int CanPrint() const;
    void Print();

signals:
    // The engine started or finished loading the page of an initial update.
    void loadStarted();
    void loadFinished(bool ok);
    // The page tried to move its main frame; nothing happened.
    void navigationRefused(const QUrl& url);
    // CanPrint may have changed.
    void printStateChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadCurrent();

    QPointer<CTesselDoc> m_pDoc;
    const CAppSettings* m_pSettings = nullptr;
    // What the page shown was loaded with.
    CPreviewAccess m_loadedAccess;
    bool m_bLoaded = false;
    // The page of the last initial update: its file, or "" and its text.
    QString m_strPath;
    QByteArray m_text;

    QLabel* m_placeholder = nullptr;
    IPreviewEngine* m_engine = nullptr;
    QPointer<QWidget> m_engineWidget;
    QString m_strError;
};
