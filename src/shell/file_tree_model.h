// CFileTreeModel: the rules of the file browser's tree, without the tree.
//
// The tree shows a project folder as its root item. A folder's entries are
// read when the folder is first expanded: its sub-folders, then the files the
// file-types setting lets through, each group in case-insensitive order. An
// unread folder holds one placeholder child, "*", so that it shows an expand
// button. The root cannot collapse, and the tree is rebuilt only when another
// folder is chosen as the project.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <string_view>

// The tree's pictures, by their index in the image strip.
inline constexpr int FILE_TREE_IMAGE_ROOT = 0;
inline constexpr int FILE_TREE_IMAGE_FOLDER = 2;
inline constexpr int FILE_TREE_IMAGE_FOLDER_OPEN = 3;
inline constexpr int FILE_TREE_IMAGE_FILE = 4;
// The text of the child an unread folder holds.
inline constexpr char FILE_TREE_PLACEHOLDER[] = "*";

// One entry of a folder as the tree lists it.
struct CFileTreeEntry {
    QString strName;
    int nImage = FILE_TREE_IMAGE_FILE; // FILE_TREE_IMAGE_FOLDER or FILE_TREE_IMAGE_FILE

    bool operator==(const CFileTreeEntry&) const = default;
};

// What the tree does when an item is about to expand or collapse.
struct CFileTreeToggle {
    int nImage = 0;    // the item's picture afterwards
    int bPopulate = 0; // drop the placeholder and read the folder
    int bCancel = 0;   // the change does not happen
};

// Sorts names in place, case-insensitively; names equal but for case keep
// their order.
void SortNoCase(QStringList& names);

class CFileTreeModel {
public:
    // The folder shown as the root, "" until one was shown.
    const QString& GetRoot() const { return m_strRoot; }
    // A project folder was chosen or the tree was shown. Returns 1 when the
    // tree must be rebuilt: dir is not empty and differs from the root shown
    // (exact comparison); dir then becomes the root. The same folder again is
    // not re-read, even when its files changed.
    int RefreshRoot(const QString& dir);

    // The entries of folder: its sub-folders (hidden ones too), then the
    // regular files whose names the file types let through (see
    // IsWebPageName), each group sorted with SortNoCase. Names that differ
    // only in case are ordered by their exact text, so the order never
    // depends on the file system's. A folder that cannot be read has none.
    static QList<CFileTreeEntry> ListFolder(const QString& folder, std::string_view fileTypes);

    // The full path of an item from the texts of the items from the root down
    // to it, joined with "/" (a root of "/" is not doubled).
    static QString ItemPath(const QStringList& textsFromRoot);

    // Expanding an item whose picture is image, whose first child has the text
    // firstChild ("" when it has none): a closed folder shows open, and a
    // folder not read yet is read. Collapsing shows an open folder closed; the
    // root never collapses.
    static CFileTreeToggle Toggle(bool expand, int image, bool isRoot, const QString& firstChild);

private:
    QString m_strRoot;
};
