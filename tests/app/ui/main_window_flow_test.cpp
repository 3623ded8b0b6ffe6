// Whole-window flows through the editing view: typing into a page and saving
// it, and a template made, edited and applied through the menu, the toolbar
// and the template bar.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>

#include "form/ui/tessel_view.h"
#include "frame_test_util.h"
#include "page/html_page.h"
#include "resource_ids.h"

class MainWindowFlowTest : public QObject {
    Q_OBJECT

private slots:
    void typingMarksThePageAndSaveWritesOnlyThatChange();
    void aTemplateIsMadeEditedAndAppliedThroughMenuBarAndButtons();

private:
    QTemporaryDir m_dir;
};

namespace {

// The control of the form whose accessible name is name (a field's value box).
QWidget* Field(const FrameRig& rig, const QString& name) {
    for (QWidget* w : rig.frame->View()->findChildren<QWidget*>()) {
        if (w->accessibleName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

QString FieldText(const FrameRig& rig, const QString& name) {
    QWidget* w = Field(rig, name);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
        return edit->toPlainText();
    return QStringLiteral("<no field %1>").arg(name);
}

QPushButton* BarButton(const FrameRig& rig, const char* objectName) {
    return rig.frame->View()->findChild<QPushButton*>(QString::fromLatin1(objectName));
}

void ClickToolButton(FrameRig& rig, QToolBar* bar, int id) {
    QWidget* button = bar->widgetForAction(rig.Action(id));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

void MainWindowFlowTest::typingMarksThePageAndSaveWritesOnlyThatChange() {
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath("home.html");
    const QByteArray original =
        "<!DOCTYPE html>\n<html lang=\"en\"><HEAD>\n<meta charset=\"utf-8\">\n"
        "<title>Caf\xc3\xa9 home</title>\n"
        "<META NAME=\"Keywords\" CONTENT=\"a, b\" lang=\"en\">\n"
        "<meta name=\"description\" content=\"Old text\">\n"
        "</HEAD>\n<BODY class=x>Body <b>kept</b> \xe2\x82\xac</BODY></html>";
    QVERIFY(WriteBytes(path, original));
    FrameRig rig;
    rig.Show();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    QVERIFY(rig.doc.OpenDocumentFile(path));
    QCOMPARE(rig.frame->windowTitle(), QStringLiteral("home.html[*] - TSLE"));
    QCOMPARE(FieldText(rig, "title"), QString::fromUtf8("Caf\xc3\xa9 home"));

    // Entering the description tells what it is for; Paste is there, Copy is
    // not until something is selected.
    QWidget* description = Field(rig, "description");
    QVERIFY(description);
    description->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(description->hasFocus());
    QCOMPARE(rig.frame->MessagePane()->text(),
             QStringLiteral("A short description of what the page contains"));
    QVERIFY(rig.Action(ID_EDIT_PASTE)->isEnabled());
    QVERIFY(!rig.Action(ID_EDIT_COPY)->isEnabled());
    QTest::keyClick(description, Qt::Key_A, Qt::ControlModifier);
    QTRY_VERIFY(rig.Action(ID_EDIT_COPY)->isEnabled());
    QVERIFY(rig.Action(ID_EDIT_CUT)->isEnabled());

    QTest::keyClick(description, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(description, " and more");
    QVERIFY(rig.frame->isWindowModified());
    QTRY_VERIFY(rig.Action(ID_EDIT_UNDO)->isEnabled());

    QTest::keyClick(description, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!rig.frame->isWindowModified());
    QVERIFY(rig.prompt.messages.empty());

    // The file is the page as read with the description rewritten and nothing
    // else (an untouched tag is written as an unedited save writes it).
    CHtmlPage expected;
    expected.SetText(original.toStdString(), BodyMode::PRESERVE);
    expected.SetMeta("description", "Old text and more", 0);
    const QByteArray saved = ReadBytes(path);
    QCOMPARE(saved, QByteArray::fromStdString(expected.GetText()));
    QVERIFY(saved.endsWith("<BODY class=x>Body <b>kept</b> \xe2\x82\xac</BODY></html>"));
    QCOMPARE(rig.recent.At(0), path);
}

void MainWindowFlowTest::aTemplateIsMadeEditedAndAppliedThroughMenuBarAndButtons() {
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath("apply.html");
    QVERIFY(WriteBytes(path, "<html><head><title>Home</title>"
                             "<meta name=\"description\" content=\"Ours\"></head>"
                             "<body>b</body></html>"));
    FrameRig rig;
    rig.Show();
    QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
    QVERIFY(rig.doc.OpenDocumentFile(path));
    QPushButton* apply = BarButton(rig, "templateApply");
    QPushButton* edit = BarButton(rig, "templateEdit");
    QVERIFY(apply && edit);
    QVERIFY(!apply->isVisible() && !edit->isVisible());

    // New template from the toolbar, based on the page: the form shows the template.
    rig.prompt.answers = {IUserPrompt::ANSWER_YES};
    ClickToolButton(rig, rig.frame->MainToolBar(), ID_TEMPLATE_NEW);
    QCOMPARE(Texts(rig.prompt.questions), QStringList({"Base new template on current page?"}));
    QTRY_VERIFY(edit->isVisible());
    QCOMPARE(edit->text(), QStringLiteral("End editing"));
    QVERIFY(!apply->isEnabled());
    QVERIFY(rig.Action(ID_TEMPLATE_EDIT)->isChecked());
    QCOMPARE(FieldText(rig, "description"), QStringLiteral("Ours"));

    QWidget* keywords = Field(rig, "keywords");
    QVERIFY(keywords);
    keywords->setFocus();
    QTest::keyClicks(keywords, "alpha");
    auto* action = qobject_cast<QComboBox*>(Field(rig, "keywords template action"));
    QVERIFY(action);
    action->setCurrentIndex(action->findText("Always set to this value"));
    QVERIFY(rig.doc.IsTemplateModified());
    QVERIFY(!rig.doc.IsModified()); // the page is untouched
    QVERIFY(rig.Action(ID_TEMPLATE_SAVE)->isEnabled());

    // End editing with the bar's button; Apply then merges into the page.
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("Edit template"));
    QVERIFY(apply->isEnabled());
    QVERIFY(!rig.Action(ID_TEMPLATE_EDIT)->isChecked());
    QCOMPARE(FieldText(rig, "keywords"), QString());
    QTest::mouseClick(apply, Qt::LeftButton);
    QVERIFY(rig.frame->isWindowModified());
    QCOMPARE(FieldText(rig, "keywords"), QStringLiteral("alpha"));   // new value: set
    QCOMPARE(FieldText(rig, "description"), QStringLiteral("Ours")); // only if missing: kept

    // Editing switched from the menu: the bar's button follows.
    rig.Run(ID_TEMPLATE_EDIT);
    QCOMPARE(edit->text(), QStringLiteral("End editing"));
    rig.Run(ID_TEMPLATE_EDIT);
    QCOMPARE(edit->text(), QStringLiteral("Edit template"));

    rig.Run(ID_FILE_SAVE);
    QVERIFY(ReadBytes(path).contains("<meta name=\"keywords\" content=\"alpha\">"));
    // Closing asks about the template only; the page is saved.
    rig.prompt.questions.clear();
    rig.prompt.answers = {IUserPrompt::ANSWER_NO};
    QVERIFY(rig.frame->close());
    QCOMPARE(Texts(rig.prompt.questions), QStringList({"Save changes to unnamed template"}));
}

QTEST_MAIN(MainWindowFlowTest)
#include "main_window_flow_test.moc"
