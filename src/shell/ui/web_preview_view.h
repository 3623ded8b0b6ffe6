// CWebPreviewView: the open page as a web browser shows it.
//
// A page that has a file is loaded from the file, so that its images, style
// sheets and frames resolve against its folder; a new page is shown from
// memory. The preview loads at each initial update of the document (a page
// was created or opened), also while hidden, and at no other time: edits,
// saves and templates leave it as it is. Once the page is shown, links,
// forms, scripts and refresh tags move nothing (CPreviewPage).
//
// The web engine starts slowly, so it is created only when the preview is
// first shown; until then a blank placeholder stands in, and the engine then
// shows the page of the last initial update.
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>

class CPreviewPage;
class CPreviewSchemeHandler;
class CTesselDoc;
class QPrinter;
class QWebEngineProfile;
class QWebEngineView;

class CWebPreviewView : public QWidget {
    Q_OBJECT

public:
    // doc may be null (nothing is shown); it must outlive the view otherwise.
    explicit CWebPreviewView(CTesselDoc* doc, QWidget* parent = nullptr);
    ~CWebPreviewView() override;

    // Takes the page from the document: its file, or its text when it has
    // none. Connected to the document's initialUpdate.
    void OnInitialUpdate();

    int HasEngine() const { return m_view ? 1 : 0; }
    // Creates the web engine now (it is created anyway when first shown).
    void CreateEngine();
    // The engine's view and page, null until the engine exists.
    QWebEngineView* EngineView() const { return m_view; }
    CPreviewPage* Page() const { return m_page; }

    // Printing through a print dialog: possible once a page was loaded and
    // while no print job is running.
    int CanPrint() const;
    void Print();

signals:
    // The engine started or finished loading the page of an initial update
    // (not the moves the page tried and the preview refused).
    void loadStarted();
    void loadFinished(bool ok);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadCurrent();
    void OnPrintFinished(bool ok);

    QPointer<CTesselDoc> m_pDoc;
    // The page of the last initial update: its file, or "" and its text.
    QString m_strPath;
    QByteArray m_text;

    QWidget* m_placeholder = nullptr;
    QWebEngineProfile* m_profile = nullptr;
    CPreviewSchemeHandler* m_scheme = nullptr;
    CPreviewPage* m_page = nullptr;
    QWebEngineView* m_view = nullptr;
    QPrinter* m_printer = nullptr; // while a print job runs
    int m_bLoading = 0;            // the page's own load runs
    int m_bLoaded = 0;             // a page was shown (or the engine's error page)
};
