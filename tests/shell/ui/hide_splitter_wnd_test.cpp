// The splitter that hides a pane and gives it back its size.
#include <QPlainTextEdit>
#include <QPointer>
#include <QtTest>

#include "shell/ui/hide_splitter_wnd.h"

class HideSplitterTest : public QObject {
    Q_OBJECT

private slots:
    void hiddenPaneKeepsItsWidgetStateAndSize();
    void focusLeavesAHiddenPaneAndOnlyOnePaneHides();
    void sizeSetWhileHiddenAppliesWhenShown();
};

namespace {

struct Window {
    QWidget top;
    CHideSplitterWnd* splitter;
    QPlainTextEdit* first;
    QPlainTextEdit* second;
    explicit Window(Qt::Orientation orientation) {
        splitter = new CHideSplitterWnd(orientation, &top);
        first = new QPlainTextEdit(splitter);
        second = new QPlainTextEdit(splitter);
        splitter->setGeometry(0, 0, 600, 600);
        top.resize(600, 600);
        top.show();
        splitter->setSizes({200, 400});
    }
};

} // namespace

void HideSplitterTest::hiddenPaneKeepsItsWidgetStateAndSize() {
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        Window w(orientation);
        QPointer<QPlainTextEdit> kept = w.first;
        w.first->setPlainText("typed before hiding");
        const int before = w.splitter->sizes().at(0);

        w.splitter->HidePane(0);
        QCOMPARE(w.splitter->HiddenPane(), 0);
        QVERIFY(!w.first->isVisible());
        QVERIFY(w.second->isVisible());
        QCOMPARE(w.splitter->PaneSize(0), before);
        // The other pane takes the whole room.
        const QSize room = w.splitter->size();
        QCOMPARE(w.splitter->sizes().at(1),
                 orientation == Qt::Horizontal ? room.width() : room.height());

        w.splitter->ShowPane();
        QCOMPARE(w.splitter->HiddenPane(), -1);
        QVERIFY(kept);
        QVERIFY(w.first->isVisible());
        QCOMPARE(w.first->toPlainText(), QString("typed before hiding"));
        QVERIFY(qAbs(w.splitter->sizes().at(0) - before) <= 1);
    }
}

void HideSplitterTest::focusLeavesAHiddenPaneAndOnlyOnePaneHides() {
    Window w(Qt::Vertical);
    QApplication::setActiveWindow(&w.top);
    w.second->setFocus();
    QTRY_VERIFY(w.second->hasFocus());
    w.splitter->HideRow(1);
    QTRY_VERIFY(w.first->hasFocus());

    // A second hide while one pane is out changes nothing; ShowRow brings back the first.
    w.splitter->HideRow(0);
    QCOMPARE(w.splitter->HiddenRow(), 1);
    QVERIFY(w.first->isVisible());
    w.splitter->ShowRow();
    w.splitter->ShowRow();
    QVERIFY(w.second->isVisible());
    QCOMPARE(w.splitter->HiddenRow(), -1);
}

void HideSplitterTest::sizeSetWhileHiddenAppliesWhenShown() {
    Window w(Qt::Horizontal);
    w.splitter->HideColumn(0);
    w.splitter->SetPaneSize(0, 250);
    QCOMPARE(w.splitter->PaneSize(0), 250);
    w.splitter->ShowColumn();
    QVERIFY(qAbs(w.splitter->sizes().at(0) - 250) <= 1);
    w.splitter->SetPaneSize(1, 100);
    QVERIFY(qAbs(w.splitter->sizes().at(1) - 100) <= 1);
}

QTEST_MAIN(HideSplitterTest)
#include "hide_splitter_wnd_test.moc"
