// The View commands through the whole window: keys, the View menu and the
// view toolbar switch between the editing view, the preview (whose web engine
// the window loads only then) and the split view; Ctrl+P prints while the
// preview is the active view; the split view's heights come back with the
// window. Needs an X display (run by with-display.sh).
#include <QApplication>
#include <QMenu>
#include <QSplitterHandle>
#include <QTabBar>
#include <QToolBar>

#include "form/ui/tessel_view.h"
#include "frame_test_util.h"
#include "resource_ids.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/hide_splitter_wnd.h"
#include "shell/ui/preview_pane.h"

class PreviewFlowTest : public QObject {
    Q_OBJECT

private slots:
    void viewCommandsSwitchViewsAndThePreviewPrints();

private:
    QTemporaryDir m_dir;
};

namespace {

// The title of the page the engine shows, read from its view's properties.
QString ShownTitle(const CPreviewPane* preview) {
    QWidget* engine = preview->EngineWidget();
    if (!engine)
        return QStringLiteral("<no engine>");
    for (QWidget* w : engine->findChildren<QWidget*>()) {
        if (w->inherits("QWebEngineView"))
            return w->property("title").toString();
    }
    return QStringLiteral("<no view>");
}

void CheckStates(const FrameRig& rig, int current) {
    for (int id : {ID_VIEW_METADATA, ID_VIEW_WEBPAGE, ID_VIEW_SPLIT}) {
        QAction* action = rig.Action(id);
        QCOMPARE(action->isChecked(), id == current);
        QCOMPARE(action->isEnabled(), id != current);
    }
}

} // namespace

void PreviewFlowTest::viewCommandsSwitchViewsAndThePreviewPrints() {
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath("shown.html");
    QVERIFY(WriteBytes(path, "<html><head><title>Shown page</title></head>"
                             "<body><p>Text</p></body></html>"));
    CMemoryProfile profile;
    int splitHeight = 0;
    {
        FrameRig rig(&profile);
        rig.Show();
        rig.frame->activateWindow(); // no window manager under Xvfb does it
        QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
        CChildFrame* child = rig.frame->ChildFrame();
        CPreviewPane* preview = child->Preview();
        QVERIFY(preview);
        QVERIFY(rig.doc.OpenDocumentFile(path));
        // Nothing of the web engine until the preview is shown.
        QVERIFY(!preview->isVisible());
        QCOMPARE(preview->HasEngine(), 0);
        CheckStates(rig, ID_VIEW_METADATA);
        QVERIFY(!rig.Action(ID_FILE_PRINT)->isEnabled());

        // Alt+W: the preview alone, the engine loaded, the page shown.
        QSignalSpy finished(preview, &CPreviewPane::loadFinished);
        QTest::keyClick(rig.frame.get(), Qt::Key_W, Qt::AltModifier);
        QVERIFY(preview->isVisible());
        QVERIFY(!rig.frame->View()->isVisible());
        QCOMPARE(child->TabBar()->currentIndex(), 1);
        CheckStates(rig, ID_VIEW_WEBPAGE);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QVERIFY2(preview->EngineError().isEmpty(), qPrintable(preview->EngineError()));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QTRY_COMPARE(ShownTitle(preview), QStringLiteral("Shown page"));

        // Ctrl+P with the preview active and loaded: the print dialog.
        QTRY_VERIFY(rig.Action(ID_FILE_PRINT)->isEnabled());
        QString dialogClass;
        QTimer::singleShot(0, [&dialogClass] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            dialogClass = QString::fromLatin1(modal->metaObject()->className());
            QVERIFY(modal->inherits("QAbstractPrintDialog"));
            modal->close();
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY2(!dialogClass.isEmpty(), "no print dialog");
        QVERIFY(rig.Action(ID_FILE_PRINT)->isEnabled()); // cancelled: nothing runs

        // Meta-data from the View menu: the editing view back, nothing to print.
        QMenu* view = rig.Menu("View");
        view->popup(rig.frame->mapToGlobal(QPoint(40, 40)));
        QTRY_VERIFY(view->isVisible());
        QTest::mouseClick(view, Qt::LeftButton, {},
                          view->actionGeometry(rig.Action(ID_VIEW_METADATA)).center());
        QTRY_VERIFY(rig.frame->View()->isVisible());
        QVERIFY(!preview->isVisible());
        QCOMPARE(child->TabBar()->currentIndex(), 0);
        CheckStates(rig, ID_VIEW_METADATA);
        QVERIFY(!rig.Action(ID_FILE_PRINT)->isEnabled());

        // Split view from the view toolbar: both views, no tab bar, no reload.
        QWidget* splitButton = rig.frame->ViewToolBar()->widgetForAction(rig.Action(ID_VIEW_SPLIT));
        QVERIFY(splitButton);
        QTest::mouseClick(splitButton, Qt::LeftButton);
        QVERIFY(rig.frame->View()->isVisible() && preview->isVisible());
        QVERIFY(!child->TabBar()->isVisible());
        CheckStates(rig, ID_VIEW_SPLIT);
        QCOMPARE(finished.count(), 1);

        // The user drags the bar between them 60 pixels up; the window keeps it.
        QSplitterHandle* bar = child->Splitter()->handle(1);
        const QPoint grip = bar->rect().center();
        const int before = rig.frame->View()->height();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, grip - QPoint(0, 60),
                         bar->mapToGlobal(grip - QPoint(0, 60)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip - QPoint(0, 60));
        splitHeight = rig.frame->View()->height();
        QCOMPARE(splitHeight, before - 60);
        QVERIFY(rig.frame->close());
    }

    // The next window starts on the editing view and splits at that height.
    FrameRig rig(&profile);
    rig.Show();
    rig.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    CheckStates(rig, ID_VIEW_METADATA);
    QTest::keyClick(rig.frame.get(), Qt::Key_S, Qt::AltModifier);
    CheckStates(rig, ID_VIEW_SPLIT);
    QCOMPARE(rig.frame->View()->height(), splitHeight);
    QVERIFY(rig.prompt.unexpected.empty());
}

QTEST_MAIN(PreviewFlowTest)
#include "preview_flow_test.moc"
