// CFileBrowserColumn: the file browser in column 0 of the main window's
// splitter, beside the child frame in column 1.
//
// It shows the column when a project folder is chosen (the document's
// projectDirChanged) and hides it at the browser's close button; a file
// selected in the tree goes to the document's open routing
// (CTesselDoc::OpenDocumentFile: a page after the question about unsaved
// changes, a ".mtpl" file as the template). The column starts hidden.
#pragma once

#include <QObject>
#include <QPointer>

class CFileTreeView;
class CHideSplitterWnd;
class CTesselDoc;

class CFileBrowserColumn : public QObject {
    Q_OBJECT

public:
    static constexpr int IDEAL_WIDTH = 250;
    static constexpr int MIN_WIDTH = 100;

    // splitter holds tree as its pane 0; all three must outlive this object
    // (make it a child of the main window).
    CFileBrowserColumn(CHideSplitterWnd* splitter, CFileTreeView* tree, CTesselDoc* doc,
                       QObject* parent = nullptr);

    // show and hidden: the column comes back at its last width (IDEAL_WIDTH
    // at first) and the tree shows
    // the document's project folder. Hide and shown: the column goes, the tree
    // stays as it is. Show and already shown: the tree refreshes its root,
    // which re-reads it only for another folder. Hide and hidden: nothing.
    void ShowFileBrowser(bool show);
    bool IsBrowserShown() const { return m_bBrowserShown; }

    // A folder named on the command line: it becomes the project folder (as
    // an absolute path) and the browser shows it.
    void OpenProject(const QString& dir);

private:
    QPointer<CHideSplitterWnd> m_splitter;
    QPointer<CFileTreeView> m_tree;
    QPointer<CTesselDoc> m_pDoc;
    bool m_bBrowserShown = false;
};
