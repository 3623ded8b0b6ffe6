// The main window as a user meets it: menus, keys, bars, the status pane,
// template commands, recent files, closing with unsaved changes, and the
// window's remembered state.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ui/about_dlg.h"
#include "app/ui/help_window.h"
#include "app/ui/splash_wnd.h"
#include "form/ui/tessel_view.h"
#include "frame_test_util.h"
#include "resource_ids.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/hide_splitter_wnd.h"

using Answer = IUserPrompt::Answer;
Q_DECLARE_METATYPE(std::vector<Answer>)

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startsUntitledWithTheMenusKeysAndBarsOfTheCommandTable();
    void statusPaneShowsPromptsThenTheFieldThenTheIdleText();
    void templateCommandsFollowTheDocumentThroughMenuAndKeys();
    void closingAsksAboutTheTemplateThenThePage_data();
    void closingAsksAboutTheTemplateThenThePage();
    void recentFilesAreListedKeptAndOpenedThroughTheRouting();
    void barsToggleTogetherAndTheWindowIsRememberedOnClose();
    void paneKeysCycleTheFocusAndPanesServeTheirCommands();
    void splashClosesOnTheFirstKeyWhichDoesNothingElse();
    void helpAndAboutOpenOrSayWhyNot();

private:
    QTemporaryDir m_dir;
};

namespace {

// The commands' texts as the menus show them ("&" mnemonics kept).
QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            texts << QStringLiteral("-");
        else if (action->isVisible())
            texts << action->text();
    }
    return texts;
}

QList<int> BarIds(QToolBar* bar) {
    QList<int> ids;
    for (QAction* action : bar->actions())
        ids << (action->isSeparator() ? 0 : action->data().toInt());
    return ids;
}

// Runs check on the next modal dialog, then closes it.
void OnNextModal(std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        check(modal);
        modal->close();
    });
}

} // namespace

void MainFrameTest::init() {
    QVERIFY(m_dir.isValid());
    CSplashWnd::EnableSplashScreen(false);
}

void MainFrameTest::startsUntitledWithTheMenusKeysAndBarsOfTheCommandTable() {
    FrameRig rig;
    rig.Show();
    QCOMPARE(rig.frame->windowTitle(), QStringLiteral("Untitled[*] - TSLE"));
    QVERIFY(!rig.frame->isWindowModified());
    // The view's current field has the focus and says what it is for; screen
    // readers read the message itself.
    const QString titleText = QStringLiteral("The title of the web page (not actually a meta tag)");
    QTRY_COMPARE(rig.frame->MessagePane()->text(), titleText);
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(rig.frame->MessagePane());
    QVERIFY(pane);
    QCOMPARE(pane->text(QAccessible::Name), titleText);
    QVERIFY(rig.frame->FileBrowser()->isHidden());
    QVERIFY(!rig.frame->View()->isHidden());
    for (const char* name : {"CAP", "NUM", "SCRL"})
        QVERIFY2(rig.frame->statusBar()->findChild<QLabel*>(name), name);

    const QStringList file = {
        "&New", "&Open...",        "&Save",           "Save &As...", "-",           "&Browse",
        "-",    "&Export site...", "&Import site...", "-",           "Recent File", "-",
        "E&xit"};
    QCOMPARE(MenuTexts(rig.Menu("File")), file);
    QCOMPARE(MenuTexts(rig.Menu("Template")), QStringList({"&New", "&Open", "&Save", "Save &As ...",
                                                           "&Close", "-", "&Edit", "A&pply"}));
    QCOMPARE(MenuTexts(rig.Menu("Edit")), QStringList({"&Undo", "-", "Cu&t", "&Copy", "&Paste", "-",
                                                       "Undo last &batch", "Earlier batc&hes..."}));
    QCOMPARE(MenuTexts(rig.Menu("View")),
             QStringList({"&Meta-data", "&Web page preview", "S&plit view", "S&ite view", "-",
                          "&Display all fields", "Search and social p&reviews", "-", "&Toolbar",
                          "&Status Bar", "-", "&Options"}));
    QCOMPARE(MenuTexts(rig.Menu("Help")),
             QStringList({"&Help Topics", "Online &Tutorials and updates", "-", "&About TSLE..."}));

    // Every key of the accelerator table reaches its command, and only it.
    const struct {
        const char* keys;
        int id;
    } accelerators[] = {
        {"Ctrl+N", ID_FILE_NEW},     {"Ctrl+O", ID_FILE_OPEN},     {"Ctrl+S", ID_FILE_SAVE},
        {"Ctrl+P", ID_FILE_PRINT},   {"Ctrl+Z", ID_EDIT_UNDO},     {"Alt+Backspace", ID_EDIT_UNDO},
        {"Ctrl+X", ID_EDIT_CUT},     {"Shift+Del", ID_EDIT_CUT},   {"Ctrl+C", ID_EDIT_COPY},
        {"Ctrl+Ins", ID_EDIT_COPY},  {"Ctrl+V", ID_EDIT_PASTE},    {"Shift+Ins", ID_EDIT_PASTE},
        {"Alt+B", ID_FILE_BROWSE},   {"Alt+A", ID_TEMPLATE_APPLY}, {"Alt+D", ID_VIEW_ALL_FIELDS},
        {"Alt+M", ID_VIEW_METADATA}, {"Alt+W", ID_VIEW_WEBPAGE},   {"Alt+S", ID_VIEW_SPLIT},
        {"F1", ID_HELP_FINDER},      {"Shift+F1", ID_HELP_FINDER}, {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},  {"Alt+I", ID_VIEW_SITE},      {"Alt+R", ID_VIEW_SNIPPETS},
    };
    const QList<QAction*> actions = rig.frame->actions();
    for (const auto& a : accelerators) {
        const QKeySequence keys(QString::fromLatin1(a.keys));
        QList<int> bound;
        for (QAction* action : actions) {
            if (action->shortcuts().contains(keys))
                bound << action->data().toInt();
        }
        QCOMPARE(bound, QList<int>({a.id}));
    }

    // Prompts and tool tips come from the two halves of the command's text.
    QAction* browse = rig.Action(ID_FILE_BROWSE);
    QCOMPARE(browse->statusTip(), QStringLiteral("Open File Browse Window"));
    QCOMPARE(browse->toolTip(), QStringLiteral("Browse files"));
    QCOMPARE(rig.Action(ID_VIEW_ALL_FIELDS)->toolTip(), QStringLiteral("All/restricted fields"));
    QCOMPARE(rig.Action(ID_VIEW_TOOLBAR)->statusTip(), QStringLiteral("Show or hide the toolbar"));

    QCOMPARE(BarIds(rig.frame->MainToolBar()),
             QList<int>({ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_TEMPLATE_NEW,
                         ID_TEMPLATE_OPEN, ID_TEMPLATE_SAVE, ID_TEMPLATE_CLOSE, 0, ID_EDIT_CUT,
                         ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_APP_ABOUT, ID_HELP_FINDER}));
    QCOMPARE(BarIds(rig.frame->ViewToolBar()),
             QList<int>({ID_FILE_BROWSE, 0, ID_VIEW_ALL_FIELDS, 0, ID_VIEW_METADATA,
                         ID_VIEW_WEBPAGE, ID_VIEW_SPLIT, 0, ID_VIEW_SITE}));
    // Both bars share the top row, the view bar right of the main one.
    QCOMPARE(rig.frame->toolBarArea(rig.frame->ViewToolBar()), Qt::TopToolBarArea);
    QCOMPARE(rig.frame->ViewToolBar()->y(), rig.frame->MainToolBar()->y());
    QVERIFY(rig.frame->ViewToolBar()->x() > rig.frame->MainToolBar()->x());

    // The child frame starts on the editing view: Meta-data checked and
    // greyed, the other two switches offered, nothing to print.
    QVERIFY(rig.Action(ID_VIEW_METADATA)->isChecked());
    QVERIFY(!rig.Action(ID_VIEW_METADATA)->isEnabled());
    for (int id : {ID_VIEW_WEBPAGE, ID_VIEW_SPLIT})
        QVERIFY(rig.Action(id)->isEnabled() && !rig.Action(id)->isChecked());
    QVERIFY(!rig.Action(ID_FILE_PRINT)->isEnabled());
    QVERIFY(!rig.Menu("File")->actions().contains(rig.Action(ID_FILE_MRU_FILE1)));
}

void MainFrameTest::statusPaneShowsPromptsThenTheFieldThenTheIdleText() {
    FrameRig rig;
    rig.Show();
    QLabel* pane = rig.frame->MessagePane();
    QAction* save = rig.Action(ID_FILE_SAVE);

    QWidget* description = nullptr;
    for (QWidget* w : rig.frame->View()->findChildren<QWidget*>()) {
        if (w->accessibleName() == QLatin1String("description"))
            description = w;
    }
    QVERIFY(description);
    description->setFocus();
    const QString describe = QStringLiteral("A short description of what the page contains");
    QTRY_COMPARE(pane->text(), describe);

    save->showStatusText(rig.frame->menuBar()); // hovering the menu item
    QCOMPARE(pane->text(), QStringLiteral("Save the active document"));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(rig.frame->menuBar(), &leave);
    QCOMPARE(pane->text(), describe);
    description->clearFocus(); // no field has the focus
    QTRY_COMPARE(pane->text(), QStringLiteral("For Help, press F1"));

    // A toolbar button tells its prompt while the pointer is over it.
    QWidget* button = rig.frame->MainToolBar()->widgetForAction(rig.Action(ID_TEMPLATE_NEW));
    QVERIFY(button);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(pane->text(), QStringLiteral("Create a new meta-data template"));
    QEvent leaveButton(QEvent::Leave);
    QApplication::sendEvent(button, &leaveButton);
    QCOMPARE(pane->text(), QStringLiteral("For Help, press F1"));
}

void MainFrameTest::templateCommandsFollowTheDocumentThroughMenuAndKeys() {
    const QString page = m_dir.filePath("tpl-page.html");
    QVERIFY(WriteBytes(page, "<html><head><title>Home</title></head><body>b</body></html>"));
    FrameRig rig;
    rig.Show();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    QVERIFY(rig.doc.OpenDocumentFile(page));
    QCOMPARE(rig.frame->windowTitle(), QStringLiteral("tpl-page.html[*] - TSLE"));

    const int closedOnly[] = {ID_TEMPLATE_SAVE, ID_TEMPLATE_SAVE_AS, ID_TEMPLATE_CLOSE,
                              ID_TEMPLATE_EDIT, ID_TEMPLATE_APPLY};
    for (int id : closedOnly)
        QVERIFY(!rig.Action(id)->isEnabled());

    // A new template based on the page opens for editing.
    rig.prompt.answers = {IUserPrompt::ANSWER_YES};
    rig.Run(ID_TEMPLATE_NEW);
    QCOMPARE(Texts(rig.prompt.questions).last(),
             QStringLiteral("Base new template on current page?"));
    QVERIFY(rig.Action(ID_TEMPLATE_EDIT)->isChecked());
    QVERIFY(!rig.Action(ID_TEMPLATE_APPLY)->isEnabled());
    QVERIFY(rig.Action(ID_TEMPLATE_SAVE)->isEnabled()); // copied from the page: modified

    // End editing from the keyboard-reachable menu; Apply then works from Alt+A.
    rig.Run(ID_TEMPLATE_EDIT);
    QVERIFY(!rig.doc.IsEditingTemplate());
    QVERIFY(!rig.Action(ID_TEMPLATE_EDIT)->isChecked());
    QVERIFY(rig.Action(ID_TEMPLATE_APPLY)->isEnabled());
    QVERIFY(!rig.frame->isWindowModified());
    QTest::keyClick(rig.frame.get(), Qt::Key_A, Qt::AltModifier);
    QVERIFY(rig.doc.IsModified());
    QVERIFY(rig.frame->isWindowModified());

    // Save template as, through the file request; then Save is off until the next change.
    const QString templ = m_dir.filePath("home.mtpl");
    rig.picker.answers = {templ};
    rig.Run(ID_TEMPLATE_SAVE_AS);
    QVERIFY(ReadBytes(templ).contains("<title action=\"3\">Home</title>"));
    QVERIFY(!rig.Action(ID_TEMPLATE_SAVE)->isEnabled());

    // Closing the unmodified template asks nothing and turns its commands off.
    rig.Run(ID_TEMPLATE_CLOSE);
    for (int id : closedOnly)
        QVERIFY(!rig.Action(id)->isEnabled());
    QVERIFY(rig.prompt.unexpected.empty());
    rig.doc.SetModifiedFlag(0);
}

void MainFrameTest::closingAsksAboutTheTemplateThenThePage_data() {
    QTest::addColumn<bool>("templateModified");
    QTest::addColumn<std::vector<Answer>>("answers");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("pageSaved");
    QTest::addColumn<QStringList>("questions");

    const QString page = QStringLiteral("Save changes to close.html?");
    const QString templ = QStringLiteral("Save changes to unnamed template");
    using U = IUserPrompt;
    QTest::newRow("page: cancel keeps the window")
        << false << std::vector<Answer>{U::ANSWER_CANCEL} << false << false << QStringList{page};
    QTest::newRow("page: no closes and keeps the file")
        << false << std::vector<Answer>{U::ANSWER_NO} << true << false << QStringList{page};
    QTest::newRow("page: yes saves, then closes")
        << false << std::vector<Answer>{U::ANSWER_YES} << true << true << QStringList{page};
    QTest::newRow("template first: cancel asks nothing more")
        << true << std::vector<Answer>{U::ANSWER_CANCEL} << false << false << QStringList{templ};
    QTest::newRow("template no, page yes")
        << true << std::vector<Answer>{U::ANSWER_NO, U::ANSWER_YES} << true << true
        << QStringList{templ, page};
    QTest::newRow("template no, page cancel")
        << true << std::vector<Answer>{U::ANSWER_NO, U::ANSWER_CANCEL} << false << false
        << QStringList{templ, page};
}

void MainFrameTest::closingAsksAboutTheTemplateThenThePage() {
    QFETCH(bool, templateModified);
    QFETCH(std::vector<Answer>, answers);
    QFETCH(bool, closes);
    QFETCH(bool, pageSaved);
    QFETCH(QStringList, questions);

    const QString path = m_dir.filePath("close.html");
    const QByteArray original = "<html><head><title>Old</title></head><body>kept</body></html>";
    QVERIFY(WriteBytes(path, original));
    FrameRig rig;
    rig.Show();
    QVERIFY(rig.doc.OpenDocumentFile(path));
    if (templateModified) {
        rig.prompt.answers = {IUserPrompt::ANSWER_NO}; // not based on the page
        rig.Run(ID_TEMPLATE_NEW);
        rig.doc.SetTemplateModified();
    }
    rig.doc.SetPageTitle("New");
    rig.doc.SetModifiedFlag();
    rig.prompt.questions.clear();
    rig.prompt.answers.assign(answers.begin(), answers.end());

    QCOMPARE(rig.frame->close(), closes);
    QCOMPARE(Texts(rig.prompt.questions), questions);
    QVERIFY(rig.prompt.unexpected.empty());
    QCOMPARE(rig.frame->isVisible(), !closes);
    const QByteArray saved = "<html><head><title>New</title></head><body>kept</body></html>";
    QCOMPARE(ReadBytes(path), pageSaved ? saved : original);
    // A normal close keeps the window's state; a cancelled one writes nothing.
    QCOMPARE(rig.profile->HasValue("Window", "Geometry") != 0, closes);
}

void MainFrameTest::recentFilesAreListedKeptAndOpenedThroughTheRouting() {
    const QString one = m_dir.filePath("one.html");
    const QString two = m_dir.filePath("two & more.html");
    const QString templ = m_dir.filePath("recent.mtpl");
    const QString gone = m_dir.filePath("gone.html");
    QVERIFY(WriteBytes(one, "<html><head><title>One</title></head><body></body></html>"));
    QVERIFY(WriteBytes(two, "<html><head><title>Two</title></head><body></body></html>"));
    QVERIFY(WriteBytes(templ, "<html><head><title action=\"1\">T</title></head></html>"));
    QVERIFY(WriteBytes(gone, "<html><head></head><body></body></html>"));

    CMemoryProfile profile;
    {
        FrameRig rig(&profile);
        rig.Show();
        for (const QString& path : {gone, templ, one, two})
            QVERIFY(rig.doc.OpenDocumentFile(path));
        // Newest first, numbered, "&" shown as itself, at most 30 characters.
        QMenu* file = rig.Menu("File");
        const QStringList texts = MenuTexts(file);
        QVERIFY(!texts.contains("Recent File"));
        QAction* first = rig.Action(ID_FILE_MRU_FILE1);
        QVERIFY(first->isEnabled());
        QCOMPARE(texts.indexOf(first->text()), texts.indexOf("&Import site...") + 2);
        QVERIFY(first->text().startsWith("&1 "));
        QVERIFY(first->text().endsWith("two && more.html"));
        QVERIFY(first->text().size() <= 3 + 30 + 1);
        QCOMPARE(texts.filter(QRegularExpression("^&[1-6] ")).size(), 4);
        // Kept in the profile soon, not only at exit.
        QTRY_VERIFY_WITH_TIMEOUT(profile.HasValue("Recent File List", "File1"), 5000);
        QCOMPARE(QString::fromStdString(profile.GetProfileString("Recent File List", "File1", "")),
                 two);
        QCOMPARE(QString::fromStdString(profile.GetProfileString("Recent File List", "File3", "")),
                 templ);
    }

    FrameRig rig(&profile);
    rig.Show();
    QCOMPARE(rig.recent.Files(), QStringList({two, one, templ, gone}));
    // A template from the list opens as the template; the page stays.
    rig.Run(ID_FILE_MRU_FILE1 + 2);
    QVERIFY(rig.doc.IsTemplateOpen());
    QCOMPARE(rig.doc.GetTitle(), QStringLiteral("Untitled"));
    QCOMPARE(rig.recent.At(0), templ);
    // A page with unsaved changes asks first; Cancel keeps it, and keeps the entry.
    rig.doc.SetModifiedFlag();
    rig.prompt.answers = {IUserPrompt::ANSWER_CANCEL};
    rig.Run(ID_FILE_MRU_FILE1 + 2);
    QCOMPARE(Texts(rig.prompt.questions).last(), QStringLiteral("Save changes to Untitled?"));
    QCOMPARE(rig.doc.GetTitle(), QStringLiteral("Untitled"));
    QCOMPARE(rig.recent.GetSize(), 4);
    rig.doc.SetModifiedFlag(0);
    // A file that is gone is reported and leaves the list.
    QVERIFY(QFile::remove(gone));
    rig.Run(ID_FILE_MRU_FILE1 + 3);
    QVERIFY(Texts(rig.prompt.messages).last().startsWith("Failed to open document."));
    QCOMPARE(rig.recent.Files(), QStringList({templ, two, one}));
    QCOMPARE(MenuTexts(rig.Menu("File")).filter(QRegularExpression("^&[1-6] ")).size(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(profile.GetProfileString("Recent File List", "File4", "?"),
                              std::string(), 5000);
}

void MainFrameTest::barsToggleTogetherAndTheWindowIsRememberedOnClose() {
    CMemoryProfile profile;
    QRect geometry;
    {
        FrameRig rig(&profile);
        rig.Show();
        QAction* toolbar = rig.Action(ID_VIEW_TOOLBAR);
        QVERIFY(toolbar->isChecked());
        rig.Run(ID_VIEW_TOOLBAR);
        QVERIFY(rig.frame->MainToolBar()->isHidden() && rig.frame->ViewToolBar()->isHidden());
        QVERIFY(!toolbar->isChecked());
        rig.Run(ID_VIEW_TOOLBAR);
        QVERIFY(!rig.frame->MainToolBar()->isHidden() && !rig.frame->ViewToolBar()->isHidden());
        QVERIFY(toolbar->isChecked());
        // A bar hidden some other way still unchecks the item.
        rig.frame->MainToolBar()->hide();
        QVERIFY(!toolbar->isChecked());
        rig.Run(ID_VIEW_TOOLBAR);
        QVERIFY(!rig.frame->MainToolBar()->isHidden() && !rig.frame->ViewToolBar()->isHidden());

        rig.Run(ID_VIEW_TOOLBAR);
        rig.Run(ID_VIEW_STATUS_BAR);
        QVERIFY(rig.frame->statusBar()->isHidden());
        QVERIFY(!rig.Action(ID_VIEW_STATUS_BAR)->isChecked());
        rig.frame->setGeometry(QRect(40, 50, 720, 480));
        rig.frame->Splitter()->SetPaneSize(0, 180);
        geometry = rig.frame->geometry();
        QVERIFY(rig.frame->close());
    }
    FrameRig rig(&profile);
    rig.Show();
    QCOMPARE(rig.frame->size(), geometry.size());
    QVERIFY(rig.frame->MainToolBar()->isHidden() && rig.frame->ViewToolBar()->isHidden());
    QVERIFY(rig.frame->statusBar()->isHidden());
    QVERIFY(!rig.Action(ID_VIEW_TOOLBAR)->isChecked());
    QCOMPARE(rig.frame->Splitter()->PaneSize(0), 180); // the browser column's width, while hidden
}

void MainFrameTest::paneKeysCycleTheFocusAndPanesServeTheirCommands() {
    FrameRig rig;
    rig.Show();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));

    // Browse stores the folder it is given, and the browser's column shows it.
    rig.picker.answers = {m_dir.path() + "/"};
    QTest::keyClick(rig.frame.get(), Qt::Key_B, Qt::AltModifier);
    QCOMPARE(rig.doc.GetProjectDir(), m_dir.path());
    QCOMPARE(rig.picker.requests.back().kind, IFilePicker::FOLDER);
    QVERIFY(rig.frame->FileBrowser()->isVisible());
    QVERIFY(rig.frame->IsBrowserShown());
    QCOMPARE(rig.frame->Splitter()->PaneSize(0), 250);
    QWidget* tree = rig.frame->FileBrowser()->Tree();

    // F6 and Shift+F6 move between the browser and the editing view (inside
    // the child frame), wrapping.
    rig.frame->View()->setFocus();
    QTRY_VERIFY(rig.frame->View()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QTRY_VERIFY(tree->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QTRY_VERIFY(rig.frame->View()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    QTRY_VERIFY(tree->hasFocus());

    // The close button hides the column, keeping its width; Browse brings it back.
    QTest::mouseClick(rig.frame->FileBrowser()->CloseButton(), Qt::LeftButton);
    QVERIFY(rig.frame->FileBrowser()->isHidden());
    QVERIFY(!rig.frame->IsBrowserShown());
    QVERIFY(rig.frame->View()->isAncestorOf(QApplication::focusWidget()));
    rig.frame->Splitter()->SetPaneSize(0, 200);
    rig.picker.answers = {m_dir.path()};
    rig.Run(ID_FILE_BROWSE);
    QVERIFY(rig.frame->FileBrowser()->isVisible());
    QCOMPARE(rig.frame->Splitter()->PaneSize(0), 200);

    // The child frame's switches work wherever the focus is; a command its
    // rule disables does not run.
    tree->setFocus();
    QTRY_VERIFY(tree->hasFocus());
    QTest::keyClick(tree, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(rig.frame->ChildFrame()->State().GetViewMode(), VIEW_MODE_SPLIT);
    QVERIFY(rig.Action(ID_VIEW_SPLIT)->isChecked());
    QVERIFY(!rig.frame->RunCommand(ID_VIEW_SPLIT));
    QVERIFY(rig.frame->RunCommand(ID_VIEW_METADATA));
    QCOMPARE(rig.frame->ChildFrame()->State().GetViewMode(), VIEW_MODE_METADATA);
    QVERIFY(!rig.frame->RunCommand(12345));
    rig.frame->View()->setFocus();
    QTRY_VERIFY(rig.frame->View()->isAncestorOf(QApplication::focusWidget()));
    // Ctrl+P does nothing while the editing view is shown.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(!rig.Action(ID_FILE_PRINT)->isEnabled());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainFrameTest::splashClosesOnTheFirstKeyWhichDoesNothingElse() {
    FrameRig rig;
    rig.Show();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd* splash = CSplashWnd::ShowSplashScreen(rig.frame.get());
    if (!splash)
        QSKIP("the splash picture is not built in");
    QPointer<CSplashWnd> alive = splash;
    QVERIFY(!CSplashWnd::ShowSplashScreen(rig.frame.get())); // one at a time

    // Alt+B would ask for a project folder; while the splash is up it only closes it.
    QTest::keyClick(rig.frame.get(), Qt::Key_B, Qt::AltModifier);
    QVERIFY(!CSplashWnd::Current());
    QVERIFY(rig.picker.requests.empty());
    QTRY_VERIFY(!alive);
    rig.frame->activateWindow(); // as the window manager does when the splash goes
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    QTest::keyClick(rig.frame.get(), Qt::Key_B, Qt::AltModifier);
    QCOMPARE(rig.picker.requests.size(), size_t(1));

    // So does a click: the template button under it stays untouched.
    alive = CSplashWnd::ShowSplashScreen(rig.frame.get());
    QVERIFY(alive);
    QWidget* newTemplate = rig.frame->MainToolBar()->widgetForAction(rig.Action(ID_TEMPLATE_NEW));
    QTest::mouseClick(newTemplate, Qt::LeftButton);
    QVERIFY(!CSplashWnd::Current());
    QVERIFY(!rig.doc.IsTemplateOpen());
    QTRY_VERIFY(!alive);

    // Unless a key or click comes, it goes by itself.
    alive = CSplashWnd::ShowSplashScreen(rig.frame.get());
    QVERIFY(alive);
    QTRY_VERIFY_WITH_TIMEOUT(!alive, 3000);
    QVERIFY(!rig.doc.IsTemplateOpen());
}

void MainFrameTest::helpAndAboutOpenOrSayWhyNot() {
    FrameRig rig;
    rig.Show();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    QTest::keyClick(rig.frame.get(), Qt::Key_F1, Qt::ShiftModifier);
    auto* help = rig.frame->findChild<CHelpWindow*>();
    if (CHelpWindow::DefaultTopic().isEmpty()) {
        QCOMPARE(Texts(rig.prompt.messages), QStringList({"Failed to launch help."}));
        QVERIFY(!help);
    } else {
        QVERIFY(help && help->isVisible());
        QVERIFY(!help->Browser()->toPlainText().isEmpty());
        QTest::keyClick(rig.frame.get(), Qt::Key_F1);
        QCOMPARE(rig.frame->findChildren<CHelpWindow*>().size(), 1); // the same window
    }

    bool checked = false;
    OnNextModal([&checked](QWidget* about) {
        QCOMPARE(about->windowTitle(), QStringLiteral("About TSLE"));
        QStringList texts;
        for (QLabel* label : about->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("TSLE"));
        QVERIFY(texts.contains("Version 1.0.1"));
        QVERIFY(texts.filter("Copyright").size() == 1);
        checked = true;
    });
    QCoreApplication::setApplicationVersion("1.0.1");
    rig.Run(ID_APP_ABOUT);
    QVERIFY(checked);
}

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
