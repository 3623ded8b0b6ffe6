// The assistant dialogs opened through the editing view's bridge and driven
// as a user does: what each gives back on OK, its checks, and Cancel.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "assistants/ui/assistant_dialogs.h"
#include "dialog_test_util.h"

class ValueDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void bridgeKnowsItsButtonsAndCancelChangesNothing();
    void robotsChangesOnlyItsDirectives_data();
    void robotsChangesOnlyItsDirectives();
    void cacheControlEnablesOkAndKeepsOtherDirectives();
    void refreshRefusesBadSeconds();
    void descriptionIsProposedAndEdited();
    void keywordsAreChosenAndJoined();
};

namespace {

constexpr int kDescription = 21;
constexpr int kKeywords = 31;
constexpr int kRobots = 81;
constexpr int kCacheControl = 91;
constexpr int kExpires = 101;
constexpr int kRefresh = 131;

// Opens the assistant of buttonId on value, runs script in it, and returns
// whether it ended with OK; value then holds the result.
bool RunAssistant(int buttonId, QString& value, std::function<void(QWidget*)> script,
                  const AssistantContext& context = {}) {
    CAssistantDialogs dialogs;
    OnNextModal(std::move(script));
    return dialogs.Run(buttonId, nullptr, context, value);
}

QLineEdit* Box(QWidget* dialog, const char* name) {
    return Control<QLineEdit>(dialog, QString::fromLatin1(name));
}

// Replaces the text of box as typed.
void Retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

void ValueDialogsTest::bridgeKnowsItsButtonsAndCancelChangesNothing() {
    CAssistantDialogs dialogs;
    for (int id : {11, 41, 111, 121, 20, 0})
        QVERIFY(!dialogs.HasAssistant(id));
    const AssistantContext context{QStringLiteral("Some words of the page body."), QString()};
    for (int id : {kDescription, kKeywords, kRobots, kCacheControl, kExpires, kRefresh}) {
        QVERIFY(dialogs.HasAssistant(id));
        QString value = QStringLiteral("NoIndex,  Max-Age = 5; x");
        const bool ok = RunAssistant(
            id, value, [](QWidget* dialog) { Click(dialog, QStringLiteral("Cancel")); }, context);
        QVERIFY2(!ok, qPrintable(QString::number(id)));
        QCOMPARE(value, QStringLiteral("NoIndex,  Max-Age = 5; x"));
    }
    QString value = QStringLiteral("kept");
    QVERIFY(!dialogs.Run(41, nullptr, context, value)); // no dialog for that button
    QCOMPARE(value, QStringLiteral("kept"));
}

void ValueDialogsTest::robotsChangesOnlyItsDirectives_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("noIndex"); // as the boxes open
    QTest::addColumn<bool>("noFollow");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("result");
    const QString index = QStringLiteral("Prevent robots adding this page to search engines");
    const QString follow = QStringLiteral("Prevent robots following links in this page");
    QTest::newRow("upper case, unchanged")
        << "NOINDEX,NOFOLLOW" << true << true << QStringList() << "noindex, nofollow";
    QTest::newRow("none means both") << "none" << true << true << QStringList{follow} << "noindex";
    QTest::newRow("all means neither")
        << "all" << false << false << QStringList{index} << "noindex";
    QTest::newRow("noarchive stays")
        << "noindex, noarchive" << true << false << QStringList() << "noindex, noarchive";
    QTest::newRow("unticked, noarchive stays")
        << "noindex, noarchive" << true << false << QStringList{index} << "noarchive";
}

void ValueDialogsTest::robotsChangesOnlyItsDirectives() {
    QFETCH(QString, value);
    QFETCH(bool, noIndex);
    QFETCH(bool, noFollow);
    QFETCH(QStringList, clicks);
    QFETCH(QString, result);
    const bool ok = RunAssistant(kRobots, value, [&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Robots"));
        const auto boxes = dialog->findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes.at(0)->isChecked(), noIndex);
        QCOMPARE(boxes.at(1)->isChecked(), noFollow);
        for (const QString& name : clicks)
            Click(dialog, name);
        Click(dialog, QStringLiteral("OK"));
    });
    QVERIFY(ok);
    QCOMPARE(value, result);
}

void ValueDialogsTest::cacheControlEnablesOkAndKeepsOtherDirectives() {
    // An empty value: "Don't limit" with 10 in the disabled box; "Maximum age"
    // wants a number above 0 before OK can be pressed.
    QString value;
    bool ok = RunAssistant(kCacheControl, value, [](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Cache-Control"));
        QVERIFY(Control<QRadioButton>(dialog, QStringLiteral("Don't limit"))->isChecked());
        QLineEdit* box = Box(dialog, "Maximum age in seconds");
        auto* okButton = Control<QAbstractButton>(dialog, QStringLiteral("OK"));
        QCOMPARE(box->text(), QStringLiteral("10"));
        QVERIFY(!box->isEnabled());
        Click(dialog, QStringLiteral("Maximum age"));
        QVERIFY(box->isEnabled());
        Retype(box, QStringLiteral("0"));
        QVERIFY(!okButton->isEnabled());
        QTest::keyClick(box, Qt::Key_Return); // the disabled default button does nothing
        QVERIFY(dialog->isVisible());
        Retype(box, QString());
        QVERIFY(!okButton->isEnabled());
        QTest::keyClicks(box, QStringLiteral("0600"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(ok);
    QCOMPARE(value, QStringLiteral("max-age=600"));

    // A number that is not a whole integer is refused with a message.
    value = QStringLiteral("private, max-age = 600");
    ok = RunAssistant(kCacheControl, value, [](QWidget* dialog) {
        QLineEdit* box = Box(dialog, "Maximum age in seconds");
        QCOMPARE(box->text(), QStringLiteral("600"));
        Retype(box, QStringLiteral("12abc"));
        QString message;
        AnswerNextMessage(message);
        Click(dialog, QStringLiteral("OK"));
        QCOMPARE(message, QStringLiteral("Please enter an integer."));
        QVERIFY(dialog->isVisible());
        Retype(box, QStringLiteral("60"));
        Click(dialog, QStringLiteral("OK"));
    });
    QVERIFY(ok);
    QCOMPARE(value, QStringLiteral("private, max-age=60"));

    value = QStringLiteral("private, max-age=600");
    ok = RunAssistant(kCacheControl, value, [](QWidget* dialog) {
        Click(dialog, QStringLiteral("Prevent cached copies"));
        QVERIFY(!Box(dialog, "Maximum age in seconds")->isEnabled());
        Click(dialog, QStringLiteral("OK"));
    });
    QVERIFY(ok);
    QCOMPARE(value, QStringLiteral("private, no-cache"));
}

void ValueDialogsTest::refreshRefusesBadSeconds() {
    QString value = QStringLiteral("5; URL=page.html");
    bool ok = RunAssistant(kRefresh, value, [](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Refresh"));
        QVERIFY(Control<QRadioButton>(dialog, QStringLiteral("Refresh after - (seconds)"))
                    ->isChecked());
        QCOMPARE(Box(dialog, "Refresh with (URL, optional)")->text(),
                 QStringLiteral("URL=page.html"));
        QLineEdit* seconds = Box(dialog, "Refresh after (seconds)");
        QCOMPARE(seconds->text(), QStringLiteral("5"));
        QString message;
        Retype(seconds, QStringLiteral("-5"));
        AnswerNextMessage(message);
        Click(dialog, QStringLiteral("OK"));
        QCOMPARE(message, QStringLiteral("Please enter a number of seconds of 0 or more."));
        Retype(seconds, QStringLiteral("x"));
        AnswerNextMessage(message);
        Click(dialog, QStringLiteral("OK"));
        QCOMPARE(message, QStringLiteral("Please enter an integer."));
        Retype(seconds, QStringLiteral("5"));
        Click(dialog, QStringLiteral("OK"));
    });
    QVERIFY(ok);
    QCOMPARE(value, QStringLiteral("5;URL=page.html"));

    // "Do not include" disables both boxes and clears the field.
    value = QStringLiteral("30");
    ok = RunAssistant(kRefresh, value, [](QWidget* dialog) {
        Click(dialog, QStringLiteral("Do not include refresh META tag"));
        QVERIFY(!Box(dialog, "Refresh after (seconds)")->isEnabled());
        QVERIFY(!Box(dialog, "Refresh with (URL, optional)")->isEnabled());
        Click(dialog, QStringLiteral("OK"));
    });
    QVERIFY(ok);
    QCOMPARE(value, QString());
}

void ValueDialogsTest::descriptionIsProposedAndEdited() {
    // The proposal is cut after the last full stop; the field's old value is
    // neither shown nor kept, and Return in the box presses OK.
    QString value = QStringLiteral("old description");
    const AssistantContext context{QStringLiteral("Welcome to the Café. Click here"), QString()};
    const bool ok = RunAssistant(
        kDescription, value,
        [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Page description"));
            auto* box = Control<QPlainTextEdit>(
                dialog, QStringLiteral(
                            "Edit suggested description text (taken from the start of the page)"));
            QCOMPARE(box->toPlainText(), QStringLiteral("Welcome to the Café."));
            box->moveCursor(QTextCursor::End);
            QTest::keyClicks(box, QStringLiteral(" Menu"));
            QTest::keyClick(box, Qt::Key_Return);
        },
        context);
    QVERIFY(ok);
    QCOMPARE(value, QStringLiteral("Welcome to the Café. Menu"));
}

void ValueDialogsTest::keywordsAreChosenAndJoined() {
    // Each word twice but "kiwi" (a common word here) and "it" (too short).
    const AssistantContext context{
        QStringLiteral("Zebra, apple; mango it APPLE zebra. Mango kiwi kiwi"),
        QStringLiteral(" kiwi ")};
    const struct {
        const char* current;
        std::function<void(QWidget*, QListWidget*)> choose;
        const char* result;
    } cases[] = {
        {"old",
         [](QWidget*, QListWidget* list) {
             ClickEntry(list, QStringLiteral("apple"));
             ClickEntry(list, QStringLiteral("zebra"), Qt::ControlModifier);
         },
         "apple zebra"},
        {" old ", // appended: the start trimmed, one more space
         [](QWidget* dialog, QListWidget* list) {
             ClickEntry(list, QStringLiteral("apple"));
             ClickEntry(list, QStringLiteral("mango"), Qt::ShiftModifier);
             Click(dialog, QStringLiteral("Append list"));
         },
         "old  apple mango"},
        {"old", [](QWidget* dialog, QListWidget*) { Click(dialog, QStringLiteral("Select all")); },
         "apple mango zebra"},
        {"old", [](QWidget*, QListWidget*) {}, ""}, // nothing chosen empties the field
    };
    for (const auto& c : cases) {
        QString value = QString::fromLatin1(c.current);
        const bool ok = RunAssistant(
            kKeywords, value,
            [&c](QWidget* dialog) {
                QCOMPARE(dialog->windowTitle(), QStringLiteral("Keyword suggestions"));
                auto* list = Control<QListWidget>(dialog, QStringLiteral("Select keywords"));
                QStringList entries;
                for (int row = 0; row < list->count(); ++row)
                    entries << list->item(row)->text();
                QCOMPARE(entries, (QStringList{"apple", "mango", "zebra"}));
                QVERIFY(list->selectedItems().isEmpty());
                c.choose(dialog, list);
                Click(dialog, QStringLiteral("OK"));
            },
            context);
        QVERIFY(ok);
        QCOMPARE(value, QString::fromLatin1(c.result));
    }
}

QTEST_MAIN(ValueDialogsTest)
#include "value_dialogs_test.moc"
