// The file browser: its listing, lazy reading, the root, the close button,
// and opening files through the document from the main window's column.
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <deque>

#include "document/tessel_doc.h"
#include "fakes/scripted_picker.h"
#include "fakes/scripted_prompt.h"
#include "settings/app_settings.h"
#include "shell/ui/file_browser_column.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/hide_splitter_wnd.h"

class FileTreeViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void listsFoldersFirstAndReadsEachFolderOnce();
    void selectingAFileAsksToOpenIt();
    void columnShowsHidesAndRoutesOpens();

private:
    QTemporaryDir* m_dir = nullptr;
    QString Path(const QString& name) const { return m_dir->filePath(name); }
    void Write(const QString& name,
               const QByteArray& text = "<html><head></head><body></body></html>") {
        QFile f(Path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(text) == text.size());
    }

public:
    ~FileTreeViewTest() override { delete m_dir; }
};

namespace {

QStringList Texts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text)
            return item->child(i);
    }
    return nullptr;
}

} // namespace

void FileTreeViewTest::init() {
    delete m_dir;
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    for (const char* d : {"gamma", "alpha", "Beta", "Beta/deep", "empty"})
        QVERIFY(QDir(m_dir->path()).mkdir(d));
    for (const char* f : {"index.html", "Page.HTM", "README", "notes.txt", "site.mtpl",
                          "alpha/inner.htm", "alpha/skip.css", "Beta/deep/low.php"})
        Write(f);
}

void FileTreeViewTest::listsFoldersFirstAndReadsEachFolderOnce() {
    CAppSettings settings;
    CFileTreeView view(&settings);
    view.resize(300, 400);
    view.show();
    QTreeWidget* tree = view.findChild<QTreeWidget*>("IDC_FILE_TREE");
    QVERIFY(tree);

    view.RefreshRoot("");
    QCOMPARE(tree->topLevelItemCount(), 0); // no project yet
    view.RefreshRoot(m_dir->path());
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QCOMPARE(root->text(0), m_dir->path());
    QCOMPARE(CFileTreeView::ItemImage(root), FILE_TREE_IMAGE_ROOT);
    QVERIFY(root->isExpanded());
    QCOMPARE(Texts(root),
             QStringList({"alpha", "Beta", "empty", "gamma", "index.html", "README", "site.mtpl"}));

    // Unread folders hold the placeholder; reading replaces it.
    QTreeWidgetItem* alpha = Child(root, "alpha");
    QCOMPARE(Texts(alpha), QStringList({"*"}));
    QCOMPARE(CFileTreeView::ItemImage(alpha), FILE_TREE_IMAGE_FOLDER);
    alpha->setExpanded(true);
    QCOMPARE(Texts(alpha), QStringList({"inner.htm"}));
    QCOMPARE(CFileTreeView::ItemImage(alpha), FILE_TREE_IMAGE_FOLDER_OPEN);
    QCOMPARE(CFileTreeView::ItemPath(alpha->child(0)), Path("alpha/inner.htm"));
    alpha->setExpanded(false);
    QCOMPARE(CFileTreeView::ItemImage(alpha), FILE_TREE_IMAGE_FOLDER);

    // Read once: a file added later shows only after another project was chosen;
    // the file types are read at each listing.
    Write("alpha/later.htm");
    settings.m_strFileTypes = "*.css";
    alpha->setExpanded(true);
    QCOMPARE(Texts(alpha), QStringList({"inner.htm"}));
    QTreeWidgetItem* beta = Child(root, "Beta");
    beta->setExpanded(true);
    QTreeWidgetItem* deep = Child(beta, "deep");
    QVERIFY(deep);
    deep->setExpanded(true);
    QCOMPARE(Texts(deep), QStringList()); // low.php is no page under "*.css"

    // An empty folder loses its expand button once read.
    QTreeWidgetItem* empty = Child(root, "empty");
    QCOMPARE(empty->childCount(), 1);
    empty->setExpanded(true);
    QCOMPARE(empty->childCount(), 0);

    // The root stays open, by the keyboard too.
    tree->setCurrentItem(root);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Left);
    tree->collapseItem(root);
    QVERIFY(root->isExpanded());

    // The same folder again keeps the tree; another one rebuilds it.
    view.RefreshRoot(m_dir->path());
    QCOMPARE(tree->topLevelItem(0), root);
    QVERIFY(alpha->isExpanded());
    view.RefreshRoot(Path("alpha"));
    QCOMPARE(tree->topLevelItem(0)->text(0), Path("alpha"));
    QCOMPARE(Texts(tree->topLevelItem(0)), QStringList({"skip.css"}));
    view.RefreshRoot(m_dir->path() + "/");
    QCOMPARE(Texts(tree->topLevelItem(0)).first(), QString("alpha"));

    // A folder gone from disk: the root alone.
    view.RefreshRoot(Path("gone"));
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
}

void FileTreeViewTest::selectingAFileAsksToOpenIt() {
    CFileTreeView view(nullptr);
    view.resize(300, 400);
    view.show();
    QApplication::setActiveWindow(&view);
    view.RefreshRoot(m_dir->path());
    QTreeWidget* tree = view.Tree();
    QSignalSpy opens(&view, &CFileTreeView::openRequested);
    QSignalSpy closes(&view, &CFileTreeView::closeRequested);
    QTreeWidgetItem* root = tree->topLevelItem(0);

    // A click on a file.
    QTreeWidgetItem* index = Child(root, "index.html");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(index).center());
    QTRY_COMPARE(opens.count(), 1);
    QCOMPARE(opens.takeFirst().at(0).toString(), Path("index.html"));

    // The keyboard: up onto a folder opens nothing, down onto files opens each.
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Up); // gamma
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Down);
    QTRY_COMPARE(opens.count(), 2);
    QCOMPARE(opens.at(0).at(0).toString(), Path("index.html"));
    QCOMPARE(opens.at(1).at(0).toString(), Path("README"));
    opens.clear();
    // Enter opens the selected file again (after a cancelled question, say).
    QTest::keyClick(tree, Qt::Key_Return);
    QTRY_COMPARE(opens.count(), 1);
    QCOMPARE(opens.at(0).at(0).toString(), Path("README"));

    // A file deeper down carries its whole path.
    opens.clear();
    QTreeWidgetItem* alpha = Child(root, "alpha");
    alpha->setExpanded(true);
    tree->setCurrentItem(alpha->child(0));
    QTRY_COMPARE(opens.count(), 1);
    QCOMPARE(opens.at(0).at(0).toString(), Path("alpha/inner.htm"));

    QToolButton* close = view.findChild<QToolButton*>("IDC_FILE_TREE_CLOSE");
    QVERIFY(close);
    QCOMPARE(close->accessibleName(), QString("Close file browser"));
    QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(closes.count(), 1);
}

void FileTreeViewTest::columnShowsHidesAndRoutesOpens() {
    Write("other.html", "<html><head><title>Other</title></head><body></body></html>");
    CAppSettings settings;
    CTesselDoc doc;
    ScriptedPrompt prompt;
    ScriptedPicker picker;
    doc.SetPrompt(&prompt);
    doc.SetFilePicker(&picker);
    doc.SetSettings(&settings);
    doc.OnNewDocument();

    QWidget top;
    auto* splitter = new CHideSplitterWnd(Qt::Horizontal, &top);
    auto* tree = new CFileTreeView(&settings);
    splitter->addWidget(tree);
    splitter->addWidget(new QPlainTextEdit);
    CFileBrowserColumn column(splitter, tree, &doc);
    splitter->setGeometry(0, 0, 900, 500);
    top.resize(900, 500);
    top.show();
    QVERIFY(!tree->isVisible()); // hidden at start
    QVERIFY(!column.IsBrowserShown());

    // Browse picks the project: the column comes at its ideal width with the folder.
    picker.answers = {m_dir->path()};
    QCOMPARE(doc.OnBrowse(), 1);
    QVERIFY(tree->isVisible());
    QVERIFY(column.IsBrowserShown());
    QVERIFY(qAbs(splitter->sizes().at(0) - CFileBrowserColumn::IDEAL_WIDTH) <= 1);
    QCOMPARE(tree->minimumWidth(), CFileBrowserColumn::MIN_WIDTH);
    QTreeWidgetItem* root = tree->Tree()->topLevelItem(0);
    QCOMPARE(root->text(0), m_dir->path());

    // A page chosen in the tree opens.
    tree->Tree()->setCurrentItem(Child(root, "index.html"));
    QTRY_COMPARE(doc.GetPathName(), Path("index.html"));

    // With unsaved changes the question comes first; Cancel keeps the page.
    doc.SetModifiedFlag(1);
    prompt.answers = {IUserPrompt::ANSWER_CANCEL};
    tree->Tree()->setCurrentItem(Child(root, "other.html"));
    QTRY_COMPARE(prompt.questions.size(), size_t(1));
    QCOMPARE(prompt.questions[0], std::string("Save changes to index.html?"));
    QCOMPARE(doc.GetPathName(), Path("index.html"));
    QCOMPARE(doc.IsModified(), 1);
    // No: the other page replaces it.
    prompt.answers = {IUserPrompt::ANSWER_NO};
    QTest::keyClick(tree->Tree(), Qt::Key_Return);
    QTRY_COMPARE(doc.GetPathName(), Path("other.html"));
    QCOMPARE(doc.GetPageTitle(), std::string("Other"));

    // A template file becomes the template; the page stays.
    tree->Tree()->setCurrentItem(Child(root, "site.mtpl"));
    QTRY_COMPARE(doc.IsTemplateOpen(), 1);
    QCOMPARE(doc.GetTemplatePath(), Path("site.mtpl"));
    QCOMPARE(doc.GetPathName(), Path("other.html"));

    // Browse again for the same folder: shown once, the tree kept.
    Child(root, "alpha")->setExpanded(true);
    picker.answers = {m_dir->path()};
    QCOMPARE(doc.OnBrowse(), 1);
    QCOMPARE(tree->Tree()->topLevelItem(0), root);
    QVERIFY(Child(root, "alpha")->isExpanded());
    QVERIFY(picker.unexpected.empty() && prompt.unexpected.empty());

    // The close button hides the column; showing it again finds the tree as it was.
    QTest::mouseClick(tree->CloseButton(), Qt::LeftButton);
    QVERIFY(!tree->isVisible());
    QVERIFY(!column.IsBrowserShown());
    column.ShowFileBrowser(false);
    QVERIFY(!column.IsBrowserShown());
    column.ShowFileBrowser(true);
    QVERIFY(tree->isVisible());
    QCOMPARE(tree->Tree()->topLevelItem(0), root);

    // A folder from the command line, relative to the working folder.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    column.OpenProject("alpha/");
    QDir::setCurrent(before);
    QCOMPARE(doc.GetProjectDir(), Path("alpha"));
    QCOMPARE(tree->Tree()->topLevelItem(0)->text(0), Path("alpha"));
}

QTEST_MAIN(FileTreeViewTest)
#include "file_tree_view_test.moc"
