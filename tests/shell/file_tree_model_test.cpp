#include "shell/file_tree_model.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view DEFAULT_TYPES = "*.htm;*.html;*.php;*.asp;*.aspx;*.mtpl";

class FileTreeModelTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* d : {"gamma", "alpha", "Beta", ".git"})
            ASSERT_TRUE(QDir(m_dir.path()).mkdir(d));
        for (const char* f :
             {"index.html", "Page.HTM", "README", "notes.txt", "shop.php", "b.asp", "c.aspx",
              "site.mtpl", "zeta.htm", "Zeta.htm", "about.htm", ".hidden.html", "archive.html.bak"})
            Touch(f);
        ASSERT_EQ(mkfifo(Path("pipe.html").constData(), 0600), 0);
        ASSERT_EQ(symlink("nowhere.html", Path("dangling.html").constData()), 0);
        ASSERT_EQ(symlink("alpha", Path("linked").constData()), 0);
    }
    void Touch(const QString& name) {
        QFile f(m_dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QByteArray Path(const QString& name) const { return QFile::encodeName(m_dir.filePath(name)); }
    QStringList Names(std::string_view types, int image) const {
        QStringList names;
        for (const CFileTreeEntry& e : CFileTreeModel::ListFolder(m_dir.path(), types)) {
            if (e.nImage == image)
                names << e.strName;
        }
        return names;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileTreeModelTest, FoldersFirstThenPagesEachInCaseInsensitiveOrder) {
    const QList<CFileTreeEntry> entries = CFileTreeModel::ListFolder(m_dir.path(), DEFAULT_TYPES);
    QStringList order;
    for (const CFileTreeEntry& e : entries)
        order << e.strName;
    // Hidden folders and folder links are listed; pipes and dangling links are
    // no pages; names that differ only in case keep their exact order.
    EXPECT_EQ(order, QStringList({".git", "alpha", "Beta", "gamma", "linked", ".hidden.html",
                                  "about.htm", "b.asp", "c.aspx", "index.html", "README",
                                  "shop.php", "site.mtpl", "Zeta.htm", "zeta.htm"}));
    EXPECT_EQ(entries.first().nImage, FILE_TREE_IMAGE_FOLDER);
    EXPECT_EQ(entries.last().nImage, FILE_TREE_IMAGE_FILE);
}

TEST_F(FileTreeModelTest, FileTypesMatchExtensionsExactly) {
    struct Case {
        std::string_view types;
        QStringList files;
    } cases[] = {
        // Every file when the setting is empty, pipes and dangling links aside.
        {"",
         {".hidden.html", "about.htm", "archive.html.bak", "b.asp", "c.aspx", "index.html",
          "notes.txt", "Page.HTM", "README", "shop.php", "site.mtpl", "Zeta.htm", "zeta.htm"}},
        // The extension after the last ".", case-sensitive; names without "." always.
        {"*.htm", {"about.htm", "README", "Zeta.htm", "zeta.htm"}},
        {"*.HTM;", {"Page.HTM", "README"}},
        {"*.txt;*.bak", {"archive.html.bak", "notes.txt", "README"}},
        // Only whole entries count: "*.htm" is not a part of "*.xhtm".
        {"*.xhtm;*.phpx", {"README"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.types));
        EXPECT_EQ(Names(c.types, FILE_TREE_IMAGE_FILE), c.files);
        EXPECT_EQ(Names(c.types, FILE_TREE_IMAGE_FOLDER).size(), 5);
    }
}

TEST_F(FileTreeModelTest, MissingOrEmptyFoldersListNothing) {
    EXPECT_TRUE(CFileTreeModel::ListFolder(m_dir.filePath("no such folder"), "").isEmpty());
    EXPECT_TRUE(CFileTreeModel::ListFolder(m_dir.filePath("alpha"), "").isEmpty());
    EXPECT_TRUE(CFileTreeModel::ListFolder(m_dir.filePath("index.html"), "").isEmpty());
}

TEST(FileTreeModel, SortNoCaseIsStableAndIgnoresCase) {
    QStringList names{"gamma", "Beta", "b", "alpha", "B", "_x", "Ärger", "Zed", "beta"};
    SortNoCase(names);
    EXPECT_EQ(names,
              QStringList({"_x", "alpha", "b", "B", "Beta", "beta", "gamma", "Zed", "Ärger"}));
    QStringList none;
    SortNoCase(none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(FileTreeModel, ItemPathsJoinWithOneSlash) {
    EXPECT_EQ(CFileTreeModel::ItemPath({"/srv/site"}), "/srv/site");
    EXPECT_EQ(CFileTreeModel::ItemPath({"/srv/site", "docs", "a b.html"}),
              "/srv/site/docs/a b.html");
    EXPECT_EQ(CFileTreeModel::ItemPath({"/", "etc", "x.htm"}), "/etc/x.htm");
    EXPECT_EQ(CFileTreeModel::ItemPath({}), "");
}

TEST(FileTreeModel, RootIsReadAgainOnlyForAnotherFolder) {
    CFileTreeModel model;
    EXPECT_EQ(model.RefreshRoot(""), 0); // no project yet: the tree stays empty
    EXPECT_EQ(model.RefreshRoot("/srv/site"), 1);
    EXPECT_EQ(model.RefreshRoot("/srv/site"), 0);
    EXPECT_EQ(model.RefreshRoot(""), 0);
    EXPECT_EQ(model.GetRoot(), "/srv/site");
    EXPECT_EQ(model.RefreshRoot("/srv/Site"), 1); // exact comparison
    EXPECT_EQ(model.GetRoot(), "/srv/Site");
}

TEST(FileTreeModel, ExpandingReadsAFolderOnceAndTheRootStaysOpen) {
    struct Case {
        const char* what;
        bool expand;
        int image;
        bool isRoot;
        const char* firstChild;
        CFileTreeToggle result;
    } cases[] = {
        {"first expansion reads", true, FILE_TREE_IMAGE_FOLDER, false, "*", {3, 1, 0}},
        {"later expansion shows what was read",
         true,
         FILE_TREE_IMAGE_FOLDER,
         false,
         "a.htm",
         {3, 0, 0}},
        {"an empty folder read once", true, FILE_TREE_IMAGE_FOLDER, false, "", {3, 0, 0}},
        {"collapse closes", false, FILE_TREE_IMAGE_FOLDER_OPEN, false, "a.htm", {2, 0, 0}},
        {"the root never collapses", false, FILE_TREE_IMAGE_ROOT, true, "a.htm", {0, 0, 1}},
        {"the root expands", true, FILE_TREE_IMAGE_ROOT, true, "", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CFileTreeToggle t = CFileTreeModel::Toggle(c.expand, c.image, c.isRoot, c.firstChild);
        EXPECT_EQ(t.nImage, c.result.nImage);
        EXPECT_EQ(t.bPopulate, c.result.bPopulate);
        EXPECT_EQ(t.bCancel, c.result.bCancel);
    }
}
