// Whole-window flows through the panes the main window is built of: the file
// browser in column 0 (Browse, the tree, the open routing) and an assistant
// dialog behind the editing view's buttons.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <unistd.h>

#include "form/ui/tessel_view.h"
#include "frame_test_util.h"
#include "resource_ids.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/hide_splitter_wnd.h"
#include "shell/ui/preview_pane.h"

class PanesFlowTest : public QObject {
    Q_OBJECT

private slots:
    void theProjectShowsInTheTreeAndItsFilesOpenThroughTheRouting();
    void anAssistantButtonOpensItsDialogAndTheResultIsTyped();
    void asRootWithTheSandboxOnThePreviewSaysWhyAndTheWindowStays();

private:
    QTemporaryDir m_dir;
};

namespace {

QStringList ChildTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

QTreeWidgetItem* Child(const QTreeWidgetItem* item, const QString& text) {
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == text)
            return item->child(i);
    }
    return nullptr;
}

// A click on an item of the tree, as the user selects a file.
void ClickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
    QVERIFY(item);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

QLineEdit* LineField(const FrameRig& rig, const QString& name) {
    for (auto* edit : rig.frame->View()->findChildren<QLineEdit*>()) {
        if (edit->accessibleName() == name && edit->isVisible())
            return edit;
    }
    return nullptr;
}

} // namespace

void PanesFlowTest::theProjectShowsInTheTreeAndItsFilesOpenThroughTheRouting() {
    QVERIFY(m_dir.isValid());
    const QDir dir(m_dir.path());
    QVERIFY(dir.mkpath("sub"));
    QVERIFY(WriteBytes(dir.filePath("index.html"),
                       "<html><head><title>Home</title></head><body>h</body></html>"));
    QVERIFY(WriteBytes(dir.filePath("Other.html"),
                       "<html><head><title>Other</title></head><body>o</body></html>"));
    QVERIFY(WriteBytes(dir.filePath("site.mtpl"),
                       "<html><head><meta name=\"Author\" content=\"Us\" action=\"1\"/>"
                       "</head><body></body></html>"));
    QVERIFY(WriteBytes(dir.filePath("notes.txt"), "not a page"));
    QVERIFY(WriteBytes(dir.filePath("sub/inner.html"), "<html><head></head></html>"));

    // A folder from the command line, before the window is first shown: the
    // column comes with the window, at its width.
    FrameRig rig;
    rig.frame->OpenProjectDir(m_dir.path());
    rig.Show();
    CFileTreeView* browser = rig.frame->FileBrowser();
    QVERIFY(browser->isVisible());
    QCOMPARE(rig.frame->Splitter()->PaneSize(0), 250);
    QTreeWidget* tree = browser->Tree();
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QVERIFY(root);
    QCOMPARE(root->text(0), m_dir.path());
    QCOMPARE(ChildTexts(root), QStringList({"sub", "index.html", "Other.html", "site.mtpl"}));

    // A page chosen in the tree opens; its fields and the caption follow.
    ClickItem(tree, Child(root, "index.html"));
    QTRY_COMPARE(rig.doc.GetPathName(), dir.filePath("index.html"));
    QCOMPARE(rig.frame->windowTitle(), QStringLiteral("index.html[*] - TSLE"));
    QLineEdit* title = LineField(rig, "title");
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Home"));
    QCOMPARE(rig.recent.At(0), dir.filePath("index.html"));

    // Unsaved changes: the question comes first, and Cancel keeps the page.
    title->setFocus();
    QTest::keyClicks(title, " page");
    QVERIFY(rig.frame->isWindowModified());
    rig.prompt.answers = {IUserPrompt::ANSWER_CANCEL};
    ClickItem(tree, Child(root, "Other.html"));
    QTRY_COMPARE(Texts(rig.prompt.questions), QStringList({"Save changes to index.html?"}));
    QCOMPARE(rig.doc.GetPathName(), dir.filePath("index.html"));
    QCOMPARE(title->text(), QStringLiteral("Home page"));
    QVERIFY(rig.frame->isWindowModified());

    // A template from the tree becomes the open page's template; the page,
    // with its changes, stays.
    ClickItem(tree, Child(root, "site.mtpl"));
    QTRY_VERIFY(rig.doc.IsTemplateOpen());
    QCOMPARE(rig.doc.GetTemplateName(), QStringLiteral("site"));
    QCOMPARE(rig.doc.GetPathName(), dir.filePath("index.html"));
    QVERIFY(rig.doc.IsModified());
    QCOMPARE(rig.prompt.questions.size(), size_t(1));
    QVERIFY(rig.Action(ID_TEMPLATE_CLOSE)->isEnabled());

    // The close button hides the column; Browse for another folder brings it
    // back showing that folder.
    QTest::mouseClick(browser->CloseButton(), Qt::LeftButton);
    QVERIFY(browser->isHidden());
    rig.picker.answers = {dir.filePath("sub")};
    QTest::keyClick(rig.frame.get(), Qt::Key_B, Qt::AltModifier);
    QVERIFY(browser->isVisible());
    root = tree->topLevelItem(0);
    QCOMPARE(root->text(0), dir.filePath("sub"));
    QCOMPARE(ChildTexts(root), QStringList({"inner.html"}));
    QVERIFY(rig.prompt.unexpected.empty());
}

void PanesFlowTest::anAssistantButtonOpensItsDialogAndTheResultIsTyped() {
    FrameRig rig;
    rig.Show();
    QPushButton* edit = nullptr;
    for (auto* button : rig.frame->View()->findChildren<QPushButton*>()) {
        if (button->accessibleName() == QStringLiteral("Edit robots"))
            edit = button;
    }
    QVERIFY(edit);

    // The robots assistant opens over the window; OK writes its value into
    // the field as if typed.
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Robots"));
        seen = true;
        for (auto* box : dialog->findChildren<QCheckBox*>())
            box->setChecked(true);
        dialog->accept();
    });
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(seen);
    QLineEdit* robots = LineField(rig, "robots");
    QVERIFY(robots);
    QCOMPARE(robots->text(), QStringLiteral("noindex, nofollow"));
    QVERIFY(rig.frame->isWindowModified());
    QVERIFY(rig.doc.GetPageText().find("noindex, nofollow") != std::string::npos);
}

void PanesFlowTest::asRootWithTheSandboxOnThePreviewSaysWhyAndTheWindowStays() {
    if (::geteuid() != 0)
        QSKIP("only as root does the web engine refuse its sandbox");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    FrameRig rig;
    rig.Show();
    QLineEdit* title = LineField(rig, "title");
    QVERIFY(title);
    title->setFocus();
    QTest::keyClicks(title, "Unsaved work");
    QVERIFY(rig.frame->isWindowModified());
    // The engine would end the program; the preview says why instead.
    QTest::keyClick(rig.frame.get(), Qt::Key_W, Qt::AltModifier);
    CPreviewPane* preview = rig.frame->ChildFrame()->Preview();
    QVERIFY(preview->isVisible());
    QTRY_VERIFY(!preview->EngineError().isEmpty());
    QVERIFY(preview->EngineError().contains("QTWEBENGINE_DISABLE_SANDBOX"));
    QCOMPARE(preview->HasEngine(), 0);
    QVERIFY(!rig.Action(ID_FILE_PRINT)->isEnabled());
    QTest::keyClick(rig.frame.get(), Qt::Key_M, Qt::AltModifier);
    QVERIFY(rig.frame->View()->isVisible());
    QVERIFY(rig.frame->isWindowModified());
}

QTEST_MAIN(PanesFlowTest)
#include "panes_flow_test.moc"
