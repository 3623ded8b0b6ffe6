// The child frame's view modes through the View actions, their keys and the tabs.
#include <QAction>
#include <QPlainTextEdit>
#include <QSplitterHandle>
#include <QTabBar>
#include <QtTest>

#include "resource_ids.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/hide_splitter_wnd.h"

class ChildFrameTest : public QObject {
    Q_OBJECT

private slots:
    void stateTableThroughKeysMenuAndTabs();
    void splitHeightsAreKeptAndRestored();
    void activeViewFollowsTheFocus();
};

namespace {

// The frame in a window with the View actions wired as the main window's
// command table wires them: triggered shows the mode, stateChanged sets every
// action from the frame's state.
struct Window {
    QWidget top;
    QPlainTextEdit* edit = new QPlainTextEdit;
    QPlainTextEdit* preview = new QPlainTextEdit; // stands in for the web engine
    CChildFrame* frame;
    QList<QAction*> actions;
    QList<int> modes;

    Window() {
        edit->setObjectName("edit");
        preview->setObjectName("preview");
        frame = new CChildFrame(edit, preview, &top);
        const struct {
            int id;
            int mode;
            void (CChildFrame::*show)();
            const char* text;
            QKeySequence key;
        } commands[] = {{ID_VIEW_METADATA, VIEW_MODE_METADATA, &CChildFrame::ShowMetaData,
                         "&Meta-data", QKeySequence("Alt+M")},
                        {ID_VIEW_WEBPAGE, VIEW_MODE_WEBPAGE, &CChildFrame::ShowWebPage,
                         "&Web page preview", QKeySequence("Alt+W")},
                        {ID_VIEW_SPLIT, VIEW_MODE_SPLIT, &CChildFrame::ShowSplit, "S&plit view",
                         QKeySequence("Alt+S")}};
        for (const auto& c : commands) {
            auto* action = new QAction(c.text, &top);
            action->setData(c.id);
            action->setShortcut(c.key);
            action->setCheckable(true);
            top.addAction(action);
            QObject::connect(action, &QAction::triggered, frame,
                             [this, show = c.show] { (frame->*show)(); });
            actions << action;
            modes << c.mode;
        }
        QObject::connect(frame, &CChildFrame::stateChanged, frame, [this] { Update(); });
        Update();
        frame->setGeometry(0, 0, 500, 700);
        top.resize(500, 700);
        top.show();
        QApplication::setActiveWindow(&top);
    }
    void Update() {
        for (qsizetype i = 0; i < actions.size(); ++i) {
            actions[i]->setChecked(frame->State().IsCommandChecked(modes[i]));
            actions[i]->setEnabled(frame->State().IsCommandEnabled(modes[i]));
        }
    }
    QAction* Action(int id) {
        for (QAction* a : actions) {
            if (a->data().toInt() == id)
                return a;
        }
        return nullptr;
    }
    void ClickTab(int index) {
        QTabBar* tabs = frame->TabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }
};

} // namespace

void ChildFrameTest::stateTableThroughKeysMenuAndTabs() {
    Window w;
    QTabBar* tabs = w.top.findChild<QTabBar*>("IDC_VIEW_TABS");
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QString("Meta-data"));
    QCOMPARE(tabs->tabText(1), QString("Web page"));

    enum Input { KEY_M, KEY_W, KEY_S, MENU_M, MENU_W, MENU_S, TAB_0, TAB_1, NONE };
    const struct {
        const char* what;
        Input input;
        bool editShown, previewShown;
        int tab; // -1: the tab bar is hidden
    } steps[] = {
        {"start", NONE, true, false, 0},
        {"Web page tab", TAB_1, false, true, 1},
        {"Alt+W again changes nothing", KEY_W, false, true, 1},
        {"Meta-data tab", TAB_0, true, false, 0},
        {"Alt+M in Meta-data changes nothing", KEY_M, true, false, 0},
        {"Alt+S", KEY_S, true, true, -1},
        {"Alt+S again", KEY_S, true, true, -1},
        {"Alt+W from split", KEY_W, false, true, 1},
        {"Split from the menu", MENU_S, true, true, -1},
        {"Meta-data from the menu", MENU_M, true, false, 0},
        {"Alt+W", KEY_W, false, true, 1},
        {"Alt+M", KEY_M, true, false, 0},
        {"Web page from the menu", MENU_W, false, true, 1},
    };
    for (const auto& step : steps) {
        const QByteArray what = step.what;
        switch (step.input) {
        case KEY_M:
            QTest::keyClick(&w.top, Qt::Key_M, Qt::AltModifier);
            break;
        case KEY_W:
            QTest::keyClick(&w.top, Qt::Key_W, Qt::AltModifier);
            break;
        case KEY_S:
            QTest::keyClick(&w.top, Qt::Key_S, Qt::AltModifier);
            break;
        case MENU_M:
            w.Action(ID_VIEW_METADATA)->trigger();
            break;
        case MENU_W:
            w.Action(ID_VIEW_WEBPAGE)->trigger();
            break;
        case MENU_S:
            w.Action(ID_VIEW_SPLIT)->trigger();
            break;
        case TAB_0:
            w.ClickTab(0);
            break;
        case TAB_1:
            w.ClickTab(1);
            break;
        case NONE:
            break;
        }
        QVERIFY2(w.edit->isVisible() == step.editShown, what);
        QVERIFY2(w.preview->isVisible() == step.previewShown, what);
        QVERIFY2(tabs->isVisible() == (step.tab >= 0), what);
        if (step.tab >= 0)
            QVERIFY2(tabs->currentIndex() == step.tab, what);
        const int mode = step.tab < 0 ? VIEW_MODE_SPLIT : step.tab;
        QVERIFY2(w.frame->State().GetViewMode() == mode, what);
        // The current mode's action is checked and greyed, the others not.
        for (QAction* a : w.actions) {
            const bool current = a->data().toInt() == (mode == VIEW_MODE_METADATA ? ID_VIEW_METADATA
                                                       : mode == VIEW_MODE_WEBPAGE ? ID_VIEW_WEBPAGE
                                                                                   : ID_VIEW_SPLIT);
            QVERIFY2(a->isChecked() == current, what + " " + a->text().toUtf8());
            QVERIFY2(a->isEnabled() == !current, what + " " + a->text().toUtf8());
        }
        // In the split view the editing view is above the preview.
        if (step.editShown && step.previewShown)
            QVERIFY2(w.edit->geometry().bottom() < w.preview->geometry().top(), what);
        // One view alone fills the splitter.
        if (step.editShown != step.previewShown) {
            QWidget* shown = step.editShown ? static_cast<QWidget*>(w.edit) : w.preview;
            QVERIFY2(shown->height() == w.frame->Splitter()->height(), what);
        }
    }
}

void ChildFrameTest::splitHeightsAreKeptAndRestored() {
    QByteArray saved;
    {
        Window w;
        w.frame->ShowSplit();
        // The editing view starts at its ideal height, the preview takes the rest.
        QCOMPARE(w.edit->height(), 300);
        QVERIFY(w.preview->height() > 300);

        // The user drags the bar 120 pixels up.
        QSplitterHandle* bar = w.frame->Splitter()->handle(1);
        const QPoint grip = bar->rect().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, grip - QPoint(0, 120),
                         bar->mapToGlobal(grip - QPoint(0, 120)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip - QPoint(0, 120));
        QCOMPARE(w.edit->height(), 180);

        // Away and back: the dragged height returns.
        w.frame->ShowWebPage();
        w.frame->ShowMetaData();
        w.frame->ShowSplit();
        QCOMPARE(w.edit->height(), 180);
        // A taller frame grows the preview only.
        w.top.resize(500, 800);
        w.frame->resize(500, 800);
        QCOMPARE(w.edit->height(), 180);
        saved = w.frame->SaveState();
    }
    Window next;
    QVERIFY(!next.frame->RestoreState("not a state"));
    QVERIFY(next.frame->RestoreState(saved));
    next.frame->ShowSplit();
    QCOMPARE(next.edit->height(), 180);
}

void ChildFrameTest::activeViewFollowsTheFocus() {
    Window w;
    w.edit->setFocus();
    QTRY_VERIFY(w.edit->hasFocus());
    QCOMPARE(w.frame->State().ActiveRow(), VIEW_ROW_EDIT);

    // The focused view hidden: the focus goes to the view shown.
    w.frame->ShowWebPage();
    QTRY_VERIFY(w.preview->hasFocus());
    QCOMPARE(w.frame->State().ActiveRow(), VIEW_ROW_PREVIEW);

    // In the split view the view with the focus is the active one.
    QSignalSpy changes(w.frame, &CChildFrame::stateChanged);
    w.frame->ShowSplit();
    QCOMPARE(w.frame->State().ActiveRow(), VIEW_ROW_PREVIEW);
    w.edit->setFocus();
    QTRY_COMPARE(w.frame->State().ActiveRow(), VIEW_ROW_EDIT);
    QCOMPARE(changes.count(), 2); // the split, then the focus
    w.frame->ShowMetaData();
    QVERIFY(w.edit->hasFocus());
    // The stand-in preview has no engine: nothing to print, whatever is active.
    w.frame->ShowWebPage();
    QVERIFY(!w.frame->CanPrint());
    w.frame->Print(); // does nothing
}

QTEST_MAIN(ChildFrameTest)
#include "child_frame_test.moc"
