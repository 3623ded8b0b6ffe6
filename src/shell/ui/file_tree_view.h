// CFileTreeView: the file browser, the project folder as a tree.
//
// A header strip with a close button sits over the tree. The root item shows
// the project folder's full path; a folder is read when it is first expanded
// (CFileTreeModel holds the rules). Selecting a file, with the mouse or the
// keyboard, asks at once for it to be opened (openRequested); the main window
// routes the path like any other open. The file types are read from the
// application's settings at each listing, so a change applies to the folders
// read after it.
#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

#include "shell/file_tree_model.h"

struct CAppSettings;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

class CFileTreeView : public QWidget {
    Q_OBJECT

public:
    // settings may be null (the default file types); it must outlive the view otherwise.
    explicit CFileTreeView(const CAppSettings* settings, QWidget* parent = nullptr);

    // Shows projectDir as the root; the tree is read again only when it is
    // another folder than the one shown (an empty one changes nothing).
    void RefreshRoot(const QString& projectDir);
    const QString& GetRoot() const { return m_model.GetRoot(); }

    QTreeWidget* Tree() const { return m_tree; }
    QToolButton* CloseButton() const { return m_close; }
    // The full path of an item, its text and its parents' joined with "/".
    static QString ItemPath(const QTreeWidgetItem* item);
    // The picture index of an item (FILE_TREE_IMAGE_...), -1 for the placeholder.
    static int ItemImage(const QTreeWidgetItem* item);

signals:
    // A file item was selected: open path (a page or a template).
    void openRequested(const QString& path);
    // The close button was pressed: hide the browser.
    void closeRequested();

private:
    void Populate(QTreeWidgetItem* folder);
    void OpenItem(QTreeWidgetItem* item);
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const QString& text, int image);
    void SetImage(QTreeWidgetItem* item, int image);
    void OnExpanded(QTreeWidgetItem* item);
    void OnCollapsed(QTreeWidgetItem* item);

    const CAppSettings* m_pSettings;
    CFileTreeModel m_model;
    QList<QIcon> m_images;
    QToolButton* m_close;
    QTreeWidget* m_tree;
};
