#include "shell/ui/file_browser_column.h"

#include "document/tessel_doc.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/hide_splitter_wnd.h"

CFileBrowserColumn::CFileBrowserColumn(CHideSplitterWnd* splitter, CFileTreeView* tree,
                                       CTesselDoc* doc, QObject* parent)
    : QObject(parent), m_splitter(splitter), m_tree(tree), m_pDoc(doc) {
    tree->setMinimumWidth(MIN_WIDTH);
    // A wider window widens the page, not the browser.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    connect(doc, &CTesselDoc::projectDirChanged, this, [this] { ShowFileBrowser(true); });
    connect(tree, &CFileTreeView::closeRequested, this, [this] { ShowFileBrowser(false); });
    connect(tree, &CFileTreeView::openRequested, doc, &CTesselDoc::OpenDocumentFile);
    // Hidden before the window is first shown, to come at its ideal width.
    m_bBrowserShown = true;
    ShowFileBrowser(false);
    splitter->SetPaneSize(0, IDEAL_WIDTH);
}

void CFileBrowserColumn::ShowFileBrowser(bool show) {
    if (!m_splitter || !m_tree || !m_pDoc)
        return;
    if (show && !m_bBrowserShown) {
        // Back at the width it had (the ideal width until the user or the
        // window's saved layout changes it).
        m_splitter->ShowColumn();
        m_bBrowserShown = true;
        m_tree->RefreshRoot(m_pDoc->GetProjectDir());
    } else if (!show && m_bBrowserShown) {
        m_bBrowserShown = false;
        m_splitter->HideColumn(0);
    } else if (show) {
        m_tree->RefreshRoot(m_pDoc->GetProjectDir());
    }
}

void CFileBrowserColumn::OpenProject(const QString& dir) {
    if (!m_pDoc)
        return;
    m_pDoc->SetProjectDir(AbsoluteDocPath(dir));
    ShowFileBrowser(true);
}
