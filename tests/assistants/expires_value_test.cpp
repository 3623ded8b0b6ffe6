// The Expires dialog's value and date button, in several local time zones:
// the button shows local dates (daylight saving applied) and OK writes local
// standard midnight.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "assistants/calendar_popup_state.h"
#include "assistants/expires_value.h"
#include "assistants/local_date.h"

namespace {

// Runs each test in the zone given as parameter and restores TZ afterwards.
class InZone : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const char* saved = std::getenv("TZ");
        m_hadZone = saved != nullptr;
        m_savedZone = saved ? saved : "";
        setenv("TZ", GetParam(), 1);
        tzset();
    }
    void TearDown() override {
        if (m_hadZone)
            setenv("TZ", m_savedZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_hadZone = false;
    std::string m_savedZone;
};

// The field text after the dialog opened on text and OK was pressed at once.
std::string UnchangedOk(const std::string& text, std::string* buttonText = nullptr) {
    ExpiresValue value;
    value.SetValue(text);
    DateButtonState button;
    value.ShowIn(button);
    if (buttonText)
        *buttonText = button.Text();
    std::string message;
    EXPECT_TRUE(value.TakeFrom(button, message)) << message;
    return value.GetValue();
}

struct ZoneCase {
    const char* zone;
    const char* field;
    const char* button;
    const char* result;
};

const ZoneCase kZoneCases[] = {
    {"UTC", "Sun, 06 Nov 1994 08:49:37 GMT", "6 November, 1994", "Sun, 06 Nov 1994 00:00:00 GMT"},
    {"Europe/Berlin", "Sun, 06 Nov 1994 08:49:37 GMT", "6 November, 1994",
     "Sat, 05 Nov 1994 23:00:00 GMT"},
    {"America/New_York", "Sun, 06 Nov 1994 08:49:37 GMT", "6 November, 1994",
     "Sun, 06 Nov 1994 05:00:00 GMT"},
    {"Asia/Kolkata", "Sun, 06 Nov 1994 08:49:37 GMT", "6 November, 1994",
     "Sat, 05 Nov 1994 18:30:00 GMT"},
    {"Pacific/Auckland", "Sun, 06 Nov 1994 08:49:37 GMT", "6 November, 1994",
     "Sat, 05 Nov 1994 12:00:00 GMT"},
    // 22:30 UTC is 23:30 standard but 00:30 summer time in Berlin: the button
    // shows the summer-time date, OK writes standard midnight.
    {"UTC", "Sun, 05 Jul 2026 22:30:00 GMT", "5 July, 2026", "Sun, 05 Jul 2026 00:00:00 GMT"},
    {"Europe/Berlin", "Sun, 05 Jul 2026 22:30:00 GMT", "6 July, 2026",
     "Sun, 05 Jul 2026 23:00:00 GMT"},
    {"America/New_York", "Mon, 06 Jul 2026 02:30:00 GMT", "5 July, 2026",
     "Sun, 05 Jul 2026 05:00:00 GMT"},
    {"Asia/Kolkata", "Sun, 05 Jul 2026 22:30:00 GMT", "6 July, 2026",
     "Sun, 05 Jul 2026 18:30:00 GMT"},
    {"Pacific/Auckland", "Sun, 05 Jul 2026 22:30:00 GMT", "6 July, 2026",
     "Sun, 05 Jul 2026 12:00:00 GMT"},
};

TEST_P(InZone, OpensOnLocalDateAndWritesStandardMidnight) {
    int checked = 0;
    for (const ZoneCase& c : kZoneCases) {
        if (std::string(c.zone) != GetParam())
            continue;
        std::string button;
        EXPECT_EQ(UnchangedOk(c.field, &button), c.result) << c.field;
        EXPECT_EQ(button, c.button) << c.field;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_P(InZone, NoDateStaysNoDate) {
    for (const char* text : {"", "not a date", "Thu, 01 Jan 1970 00:00:00 GMT",
                             "Mon, 06 Nov 1994 08:49:37 GMT", "01 Jan 3001"}) {
        std::string button = "?";
        EXPECT_EQ(UnchangedOk(text, &button), "") << text;
        EXPECT_EQ(button, "") << text;
    }
}

TEST_P(InZone, ClearThenOkGivesNoDate) {
    ExpiresValue value;
    value.SetValue("Sun, 06 Nov 1994 08:49:37 GMT");
    DateButtonState button;
    value.ShowIn(button);
    button.Clear();
    std::string message;
    ASSERT_TRUE(value.TakeFrom(button, message));
    EXPECT_EQ(value.GetValue(), "");
    // The button keeps its date: the calendar opens on it.
    const CalendarRequest request = button.OnClicked();
    EXPECT_EQ(request.year, 1994);
    EXPECT_EQ(request.month, 11);
    EXPECT_EQ(request.day, 6);
}

TEST_P(InZone, ChosenDateRoundTripsThroughTheField) {
    // A chosen date comes back as the same button date when the dialog is
    // opened again on the text it wrote: standard midnight shown in summer
    // time is 01:00 of the same day.
    for (int year : {1971, 1994, 2026, 2100, 2999}) {
        for (int month = 0; month < 12; ++month) {
            for (int day : {0, 13, 27}) {
                ExpiresValue value;
                DateButtonState button;
                button.SetDate(year, month, day);
                std::string message;
                ASSERT_TRUE(value.TakeFrom(button, message)) << button.Text();
                ExpiresValue reopened;
                reopened.SetValue(value.GetValue());
                DateButtonState shown;
                reopened.ShowIn(shown);
                EXPECT_EQ(shown.Text(), button.Text()) << value.GetValue();
            }
        }
    }
}

TEST_P(InZone, DatesOutsideTheRangeAreRefused) {
    for (const LocalDate date : {LocalDate{1969, 11, 30}, LocalDate{3001, 0, 1},
                                 LocalDate{1600, 5, 1}, LocalDate{-5, 0, 0}}) {
        ExpiresValue value;
        value.SetValue("Sun, 06 Nov 1994 08:49:37 GMT");
        DateButtonState button;
        button.SetDate(date.year, date.month, date.day);
        std::string message;
        EXPECT_FALSE(value.TakeFrom(button, message)) << button.Text();
        EXPECT_EQ(message, MSG_EXPIRES_RANGE);
        EXPECT_EQ(value.GetValue(), "Sun, 06 Nov 1994 08:49:37 GMT") << "value unchanged";
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, InZone,
                         testing::Values("UTC", "Europe/Berlin", "America/New_York", "Asia/Kolkata",
                                         "Pacific/Auckland"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '/')
                                     c = '_';
                             return name;
                         });

TEST(DateButtonState, TextAndNotifications) {
    EXPECT_EQ(DateButtonState::DateText(2026, 11, 6), "7 December, 2026");
    EXPECT_EQ(DateButtonState::DateText(1994, 0, 30), "31 January, 1994");
    EXPECT_EQ(DateButtonState::DateText(1994, 12, 0), "");

    DateButtonState button;
    const LocalDate today = TodayLocalDate();
    EXPECT_EQ(button.Text(), DateButtonState::DateText(today.year, today.month, today.day));

    button.SetDate(2026, 2, 30);
    const CalendarRequest request = button.OnClicked();
    EXPECT_FALSE(button.IsEnabled());
    EXPECT_EQ(request.year, 2026);
    EXPECT_EQ(request.month, 3);
    EXPECT_EQ(request.day, 31);

    button.OnDateChosen(2026, 1206);
    EXPECT_TRUE(button.IsEnabled());
    EXPECT_EQ(button.Text(), "7 December, 2026");
    EXPECT_EQ(button.Month(), 11);
    EXPECT_EQ(button.Day(), 6);

    // A closing pop-up may report after its choice; both only enable.
    button.OnClicked();
    button.OnCalendarClosed();
    EXPECT_TRUE(button.IsEnabled());
    EXPECT_EQ(button.Text(), "7 December, 2026");

    button.OnClicked();
    button.OnDateChosen(2030, 1399); // no month 13
    EXPECT_TRUE(button.IsEnabled());
    EXPECT_EQ(button.Text(), "7 December, 2026");
}

TEST(DateButtonState, PopUpChoiceReachesTheButton) {
    DateButtonState button;
    button.SetDate(2024, 1, 28); // 29 February 2024
    const CalendarRequest request = button.OnClicked();
    CalendarPopupState popup(request.year, request.month, request.day);
    popup.OnCommand(CALENDAR_PREV_YEAR); // 1 February 2023
    popup.OnKey(CalendarKey::Up);        // 25 January 2023
    ASSERT_EQ(popup.OnKey(CalendarKey::Enter).outcome, CalendarUpdate::CHOSEN);
    button.OnDateChosen(popup.ChosenWParam(), popup.ChosenLParam());
    EXPECT_EQ(button.Text(), "25 January, 2023");
}

} // namespace
