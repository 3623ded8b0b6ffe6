// The date picker's calendar arithmetic and pop-up navigation.
#include <gtest/gtest.h>

#include "assistants/calendar_month.h"
#include "assistants/calendar_popup_state.h"

namespace {

TEST(CalendarMonth, DaysInMonthAndLeapYears) {
    const struct {
        int year;
        int month; // 0-11
        int days;
    } cases[] = {
        {2024, 1, 29}, {2100, 1, 28}, {2000, 1, 29},  {2023, 1, 28},  {1900, 1, 28},
        {2026, 0, 31}, {2026, 3, 30}, {2026, 10, 30}, {2026, 11, 31}, {2026, 12, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalendarMonth::DaysInMonth(c.year, c.month), c.days)
            << c.year << "-" << c.month + 1;
}

TEST(CalendarMonth, WeekdayOfTheFirst) {
    const struct {
        int year;
        int month;
        int weekday; // 0 is Sunday
    } cases[] = {
        {2026, 11, 2}, // December 2026: Tuesday
        {2015, 1, 0},  // February 2015: Sunday
        {1970, 0, 4},  {2000, 0, 6}, {2000, 2, 3}, {2024, 1, 4},
        {2100, 2, 1},  {1582, 9, 1}, // October 1582: Monday (Julian dates before the 15th)
        {3000, 11, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalendarMonth(c.year, c.month).FirstWeekday(), c.weekday)
            << c.year << "-" << c.month + 1;
    // The routine's Gregorian switch: 15 October 1582 follows 4 October.
    EXPECT_EQ(CalendarMonth::JulianDayNumber(1582, 10, 15) -
                  CalendarMonth::JulianDayNumber(1582, 10, 4),
              1);
    EXPECT_EQ(CalendarMonth::JulianDayNumber(2000, 1, 1), 2451545);
}

TEST(CalendarMonth, DaysFillTheWeekRows) {
    const CalendarMonth december(2026, 11);
    EXPECT_EQ(december.Title(), "December 2026");
    EXPECT_EQ(december.RowOfDay(0), 3);
    EXPECT_EQ(december.ColumnOfDay(0), 2);
    EXPECT_EQ(december.RowOfDay(6), 4); // the 7th: Monday of the next week
    EXPECT_EQ(december.ColumnOfDay(6), 1);
    EXPECT_EQ(december.DayAt(3, 1), -1);
    EXPECT_EQ(december.DayAt(3, 2), 0);
    EXPECT_EQ(december.DayAt(7, 4), 30); // the 31st
    EXPECT_EQ(december.DayAt(7, 5), -1);
    EXPECT_EQ(december.DayAt(2, 3), -1); // the header row holds no day

    const CalendarMonth february(2015, 1); // exactly four rows
    EXPECT_EQ(february.RowOfDay(0), 3);
    EXPECT_EQ(february.ColumnOfDay(0), 0);
    EXPECT_EQ(february.RowOfDay(27), 6);
    EXPECT_EQ(february.ColumnOfDay(27), 6);
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(february.DayAt(7, column), -1);

    // A 31-day month starting on Saturday needs the sixth row.
    const CalendarMonth may(2021, 4);
    EXPECT_EQ(may.FirstWeekday(), 6);
    EXPECT_EQ(may.RowOfDay(30), 8);
    EXPECT_EQ(may.ColumnOfDay(30), 1);
    for (int day = 0; day < may.DaysInMonth(); ++day)
        EXPECT_EQ(may.DayAt(may.RowOfDay(day), may.ColumnOfDay(day)), day);
}

TEST(CalendarGeometry, GridOfA248PixelClient) {
    const CalendarGeometry grid(248, 248);
    EXPECT_EQ(grid.RowHeight(), 26);
    EXPECT_EQ(grid.ColumnWidth(), 34);
    EXPECT_EQ(grid.Origin(), QPoint(5, 7));
    EXPECT_EQ(grid.Cell(0, 0), QRect(5, 7, 34, 26));
    EXPECT_EQ(grid.Cell(3, 2), QRect(73, 85, 34, 26));
    EXPECT_EQ(grid.RightCell(1), QRect(209, 33, 34, 26));
    EXPECT_EQ(grid.TitleRect(), QRect(44, 7, 160, 52));
    EXPECT_EQ(grid.HeaderLineY(), 85);
    EXPECT_EQ(grid.HeaderLineRight(), 243);

    const CalendarMonth december(2026, 11);
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(73, 85)), 0);   // top-left of the 1st
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(106, 110)), 0); // bottom-right inside
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(107, 85)), 1);  // right edge: next cell
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(72, 85)), -1);  // before the 1st
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(73, 84)), -1);  // weekday header
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(2, 2)), -1);    // margin
    EXPECT_EQ(grid.DayAtPoint(december, QPoint(247, 247)), -1);
}

TEST(CalendarParam, EncodesMonthAndDay) {
    EXPECT_EQ(EncodeDateParam(11, 6), 1206); // 7 December
    EXPECT_EQ(EncodeDateParam(0, 0), 100);
    for (int month = 0; month < 12; ++month) {
        for (int day = 0; day < 31; ++day) {
            int m = -1;
            int d = -1;
            ASSERT_TRUE(DecodeDateParam(EncodeDateParam(month, day), m, d));
            EXPECT_EQ(m, month);
            EXPECT_EQ(d, day);
        }
    }
    for (long bad : {-1L, 0L, 99L, 131L, 1300L, 99999L}) {
        int m = -1;
        int d = -1;
        EXPECT_FALSE(DecodeDateParam(bad, m, d)) << bad;
        EXPECT_EQ(m, -1);
    }
}

// (year, month 0-11, day 0-based) of a pop-up.
struct Date {
    int year;
    int month;
    int day;
    friend bool operator==(const Date&, const Date&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Date& d) {
        return out << d.year << "-" << d.month + 1 << "-" << d.day + 1;
    }
};

Date DateOf(const CalendarPopupState& popup) {
    return {popup.Year(), popup.Month(), popup.Day()};
}

TEST(CalendarPopupState, KeysAndButtonsNavigate) {
    using K = CalendarKey;
    const struct {
        Date from; // month 1-12 and day 1-31, as the button opens the pop-up
        CalendarKey key;
        int command; // a navigation button instead of the key
        Date to;     // month 0-11 and day 0-based
        bool wholeWindow;
    } cases[] = {
        {{2026, 3, 3}, K::Up, 0, {2026, 1, 23}, true}, // 3 March: 24 February
        {{2024, 3, 3}, K::Up, 0, {2024, 1, 24}, true}, // leap year: 25 February
        {{2026, 3, 10}, K::Up, 0, {2026, 2, 2}, false},
        {{2026, 3, 1}, K::Left, 0, {2026, 1, 27}, true},
        {{2026, 1, 1}, K::Left, 0, {2025, 11, 30}, true},
        {{2026, 12, 31}, K::Right, 0, {2027, 0, 0}, true},
        {{2026, 4, 30}, K::Right, 0, {2026, 4, 0}, true},
        {{2026, 4, 15}, K::Right, 0, {2026, 3, 15}, false},
        {{2026, 1, 28}, K::Down, 0, {2026, 1, 3}, true},   // 28 Jan: 4 Feb
        {{2026, 2, 25}, K::Down, 0, {2026, 2, 3}, true},   // 25 Feb: 4 March
        {{2026, 3, 31}, K::PageUp, 0, {2026, 1, 0}, true}, // no 31 Feb: the 1st
        {{2026, 1, 15}, K::PageUp, 0, {2025, 11, 14}, true},
        {{2026, 12, 15}, K::PageDown, 0, {2027, 0, 14}, true},
        {{2026, 1, 31}, K::PageDown, 0, {2026, 1, 0}, true},
        {{2024, 2, 29}, K::Enter, CALENDAR_PREV_YEAR, {2023, 1, 0}, true}, // "<<"
        {{2024, 2, 29}, K::Enter, CALENDAR_NEXT_YEAR, {2025, 1, 0}, true},
        {{2026, 12, 7}, K::Enter, CALENDAR_NEXT_YEAR, {2027, 11, 6}, true},
        {{2026, 1, 31}, K::Enter, CALENDAR_PREV_MONTH, {2025, 11, 30}, true},
        {{2026, 1, 31}, K::Enter, CALENDAR_NEXT_MONTH, {2026, 1, 0}, true},
        {{2024, 2, 10}, K::End, 0, {2024, 1, 28}, false},
        {{2024, 2, 10}, K::Home, 0, {2024, 1, 0}, false},
        {{2024, 2, 29}, K::PrevYear, 0, {2023, 1, 0}, true},
        {{2026, 12, 7}, K::NextYear, 0, {2027, 11, 6}, true},
    };
    for (const auto& c : cases) {
        CalendarPopupState popup(c.from.year, c.from.month, c.from.day);
        const Date before = DateOf(popup);
        const CalendarUpdate update = c.command ? popup.OnCommand(c.command) : popup.OnKey(c.key);
        SCOPED_TRACE(testing::Message()
                     << "from " << before << " key " << int(c.key) << " command " << c.command);
        EXPECT_EQ(DateOf(popup), c.to);
        EXPECT_EQ(update.wholeWindow, c.wholeWindow);
        EXPECT_EQ(update.outcome, CalendarUpdate::NONE);
        if (!update.wholeWindow) {
            EXPECT_EQ(update.oldDay, before.day);
            EXPECT_EQ(update.newDay, c.to.day);
        }
    }
}

TEST(CalendarPopupState, ChoosingAndClosing) {
    CalendarPopupState popup(2026, 12, 1);
    EXPECT_EQ(popup.OnKey(CalendarKey::Escape).outcome, CalendarUpdate::CLOSED);
    EXPECT_EQ(popup.OnKey(CalendarKey::Enter).outcome, CalendarUpdate::CHOSEN);

    // Pressed on the 7th, released elsewhere on the grid: the 7th is chosen.
    const CalendarUpdate press = popup.Press(6);
    EXPECT_EQ(press.oldDay, 0);
    EXPECT_EQ(press.newDay, 6);
    EXPECT_EQ(popup.Release(false).outcome, CalendarUpdate::NONE);
    EXPECT_EQ(popup.Release(true).outcome, CalendarUpdate::CHOSEN);
    EXPECT_EQ(popup.ChosenWParam(), 2026);
    EXPECT_EQ(popup.ChosenLParam(), 1206);

    // Outside the month's days nothing is selected.
    EXPECT_EQ(popup.Press(-1).newDay, -1);
    EXPECT_EQ(popup.Press(31).newDay, -1);
    EXPECT_EQ(popup.Day(), 6);
}

TEST(CalendarPopupPosition, StaysOnTheScreen) {
    const QRect screen(0, 0, 1000, 800);
    const QSize popup(250, 250);
    const struct {
        QRect button;
        QPoint at;
    } cases[] = {
        {{100, 100, 200, 20}, {100, 120}}, // under the button, left edges aligned
        {{100, 700, 200, 20}, {100, 450}}, // no room below: above it
        {{900, 100, 80, 20}, {730, 120}},  // right edges aligned
        {{900, 700, 80, 20}, {730, 450}},  // both
        {{-50, 100, 80, 20}, {0, 120}},    // button partly off the left edge
        {{100, 300, 200, 20}, {100, 320}}, // just fits below
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalendarPopupPosition(c.button, popup, screen), c.at)
            << c.button.x() << "," << c.button.y();
    // A second screen to the right, and a screen smaller than the pop-up.
    EXPECT_EQ(CalendarPopupPosition({1900, 50, 100, 20}, popup, {1000, 0, 1000, 800}),
              QPoint(1750, 70));
    EXPECT_EQ(CalendarPopupPosition({10, 10, 50, 20}, popup, {0, 0, 200, 200}), QPoint(0, 0));
}

TEST(CalendarPopupState, OpensAtGivenOrTodaysDate) {
    const CalendarPopupState given(2024, 2, 29);
    EXPECT_EQ(DateOf(given), (Date{2024, 1, 28}));
    const CalendarPopupState missing(2023, 2, 29); // no such day: the 1st
    EXPECT_EQ(DateOf(missing), (Date{2023, 1, 0}));
    const CalendarPopupState today(-1, -1, -1);
    EXPECT_GE(today.Year(), 2024);
    EXPECT_GE(today.Month(), 0);
    EXPECT_LT(today.Day(), CalendarMonth::DaysInMonth(today.Year(), today.Month()));
}

} // namespace
