// The Expires dialog with its date button and calendar pop-up, driven by
// mouse and keyboard.
#include <QScreen>

#include "assistants/ui/assistant_dialogs.h"
#include "assistants/ui/date_button.h"
#include "assistants/ui/expires_dlg.h"
#include "dialog_test_util.h"

class CalendarPopupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void expiresOpensOnTheFieldsDate_data();
    void expiresOpensOnTheFieldsDate();
    void keysMoveAndChoose();
    void mouseChoosesThePressedDay();
    void escapeAndClickOutsideCloseWithoutChoice();
    void popupStaysOnTheScreen();
    void sceneShowsTheOpenCalendar();
};

namespace {

// An Expires dialog shown without waiting, and its date button.
struct Expires {
    CExpiresDlg dialog;
    CDateButton* button;
    explicit Expires(const QString& value) : dialog(value) {
        button = dialog.DateButton();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    CCalendarPopup* Open() {
        QTest::mouseClick(button, Qt::LeftButton);
        return button->Calendar();
    }
};

void Key(QWidget* popup, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(popup, key, modifiers);
}

} // namespace

void CalendarPopupTest::initTestCase() {
    // Dates are shown and written in local time: fix the zone.
    qputenv("TZ", "UTC");
    tzset();
}

void CalendarPopupTest::expiresOpensOnTheFieldsDate_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QString>("result");
    QTest::newRow("date") << "Sun, 06 Nov 1994 08:49:37 GMT"
                          << "6 November, 1994" << false << "Sun, 06 Nov 1994 00:00:00 GMT";
    QTest::newRow("cleared") << "Sun, 06 Nov 1994 08:49:37 GMT"
                             << "6 November, 1994" << true << "";
    QTest::newRow("empty") << ""
                           << "" << false << "";
    QTest::newRow("no date") << "next week"
                             << "" << false << "";
    QTest::newRow("first instant") << "Thu, 01 Jan 1970 00:00:00 GMT"
                                   << "" << false << "";
}

void CalendarPopupTest::expiresOpensOnTheFieldsDate() {
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QFETCH(bool, clear);
    QFETCH(QString, result);
    CAssistantDialogs dialogs;
    OnNextModal([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Expires"));
        auto* button = Control<CDateButton>(dialog, QStringLiteral("Expires date"));
        QCOMPARE(button->text(), shown);
        if (clear)
            Click(dialog, QStringLiteral("Clear"));
        Click(dialog, QStringLiteral("OK"));
    });
    QVERIFY(dialogs.Run(101, nullptr, {}, value));
    QCOMPARE(value, result);
}

void CalendarPopupTest::keysMoveAndChoose() {
    Expires e(QStringLiteral("Mon, 07 Dec 2026 10:00:00 GMT"));
    CCalendarPopup* popup = e.Open();
    QVERIFY(popup);
    QVERIFY(popup->isVisible());
    QVERIFY(!e.button->isEnabled()); // one calendar at a time
    QCOMPARE(popup->accessibleName(), QStringLiteral("7 December, 2026"));

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* selected; // as a screen reader hears it
    } steps[] = {
        {Qt::Key_Right, Qt::NoModifier, "8 December, 2026"},
        {Qt::Key_Down, Qt::NoModifier, "15 December, 2026"},
        {Qt::Key_Down, Qt::NoModifier, "22 December, 2026"},
        {Qt::Key_Down, Qt::NoModifier, "29 December, 2026"},
        {Qt::Key_Down, Qt::NoModifier, "5 January, 2027"}, // into the next month
        {Qt::Key_Up, Qt::NoModifier, "29 December, 2026"},
        {Qt::Key_End, Qt::NoModifier, "31 December, 2026"},
        {Qt::Key_PageUp, Qt::NoModifier, "1 November, 2026"}, // no 31 November
        {Qt::Key_Left, Qt::NoModifier, "31 October, 2026"},
        {Qt::Key_Home, Qt::NoModifier, "1 October, 2026"},
        {Qt::Key_PageDown, Qt::ShiftModifier, "1 October, 2027"},
        {Qt::Key_PageDown, Qt::NoModifier, "1 November, 2027"},
    };
    for (const auto& step : steps) {
        Key(popup, step.key, step.modifiers);
        QCOMPARE(popup->accessibleName(), QString::fromLatin1(step.selected));
    }
    // The navigation buttons step months and years and leave the keys working.
    QTest::mouseClick(Control<QAbstractButton>(popup, QStringLiteral("Previous year")),
                      Qt::LeftButton);
    QTest::mouseClick(Control<QAbstractButton>(popup, QStringLiteral("Next month")),
                      Qt::LeftButton);
    QCOMPARE(popup->accessibleName(), QStringLiteral("1 December, 2026"));
    QVERIFY(popup->isVisible());
    Key(popup, Qt::Key_Right);

    QSignalSpy chosen(popup, &CCalendarPopup::dateChosen);
    Key(popup, Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toInt(), 2026);
    QCOMPARE(chosen.at(0).at(1).toInt(), 1201); // (month + 1) * 100 + day, 0-based
    QTRY_VERIFY(!e.button->Calendar());
    QVERIFY(e.button->isEnabled());
    QCOMPARE(e.button->text(), QStringLiteral("2 December, 2026"));

    Click(&e.dialog, QStringLiteral("OK"));
    QCOMPARE(e.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(e.dialog.Value(), QStringLiteral("Wed, 02 Dec 2026 00:00:00 GMT"));
}

void CalendarPopupTest::mouseChoosesThePressedDay() {
    Expires e(QStringLiteral("Mon, 07 Dec 2026 10:00:00 GMT"));
    // After "Clear" the calendar still opens at the date the button held.
    Click(&e.dialog, QStringLiteral("Clear"));
    QCOMPARE(e.button->text(), QString());
    CCalendarPopup* popup = e.Open();
    QVERIFY(popup);
    QCOMPARE(popup->State().Day(), 6);

    // Released off the days (on the title): nothing is chosen yet.
    QTest::mousePress(popup, Qt::LeftButton, {}, popup->DayRect(19).center());
    QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(popup->width() / 2, 20));
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->accessibleName(), QStringLiteral("20 December, 2026"));
    // Pressed on the 24th, released on the 25th: the 24th is chosen.
    QTest::mousePress(popup, Qt::LeftButton, {}, popup->DayRect(23).center());
    QTest::mouseRelease(popup, Qt::LeftButton, {}, popup->DayRect(24).center());
    QTRY_VERIFY(!e.button->Calendar());
    QCOMPARE(e.button->text(), QStringLiteral("24 December, 2026"));
}

void CalendarPopupTest::escapeAndClickOutsideCloseWithoutChoice() {
    Expires e(QStringLiteral("Mon, 07 Dec 2026 10:00:00 GMT"));
    CCalendarPopup* popup = e.Open();
    QVERIFY(popup);
    Key(popup, Qt::Key_Right);
    QSignalSpy closed(popup, &CCalendarPopup::closedWithoutChoice);
    Key(popup, Qt::Key_Escape);
    QCOMPARE(closed.size(), 1);
    QTRY_VERIFY(!e.button->Calendar());
    QVERIFY(e.button->isEnabled());
    QCOMPARE(e.button->text(), QStringLiteral("7 December, 2026"));
    QVERIFY(e.dialog.isVisible()); // Escape closed the calendar only

    popup = e.Open();
    QVERIFY(popup);
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(-20, -20)); // on the dialog
    QTRY_VERIFY(!e.button->Calendar());
    QVERIFY(e.button->isEnabled());
    QCOMPARE(e.button->text(), QStringLiteral("7 December, 2026"));

    // A calendar that goes away however it ends leaves the button usable.
    popup = e.Open();
    QVERIFY(popup);
    delete popup;
    QVERIFY(e.button->isEnabled());
    QVERIFY(e.Open());
}

void CalendarPopupTest::popupStaysOnTheScreen() {
    Expires e(QString{});
    const QRect screen = e.dialog.screen()->availableGeometry();
    // The dialog in the bottom right corner: the calendar opens above the
    // button, on the screen.
    e.dialog.move(screen.right() - e.dialog.frameGeometry().width(),
                  screen.bottom() - e.dialog.frameGeometry().height());
    QTRY_VERIFY(screen.contains(e.dialog.frameGeometry()));
    CCalendarPopup* popup = e.Open();
    QVERIFY(popup);
    const QRect button(e.button->mapToGlobal(QPoint(0, 0)), e.button->size());
    QVERIFY(screen.contains(popup->geometry()));
    QCOMPARE(popup->geometry().bottom(), button.top() - 1);
}

void CalendarPopupTest::sceneShowsTheOpenCalendar() {
    QPointer<CExpiresDlg> dialog = CAssistantDialogs::ShowExpiresScene(
        nullptr, QStringLiteral("Mon, 07 Dec 2026 00:00:00 GMT"));
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(dialog->DateButton()->Calendar());
    QVERIFY(dialog->DateButton()->Calendar()->isVisible());
    dialog->close(); // deletes the dialog and its calendar
    QTRY_VERIFY(!dialog);
}

QTEST_MAIN(CalendarPopupTest)
#include "calendar_popup_test.moc"
