// The arithmetic of the date picker's month calendar: month lengths, the
// weekday of the first, where each day sits in the grid, and the grid's
// geometry in a window of a given size.
#pragma once

#include <QPoint>
#include <QRect>
#include <string>

// English month names, January first.
extern const char* const MONTH_NAMES[12];
// The weekday header, one letter per column from Sunday.
inline constexpr const char* WEEKDAY_LETTERS = "SMTWTFS";

// The grid: 9 rows (two of navigation and title, the weekday header, six week
// rows), 7 columns, 4 pixels margin.
inline constexpr int CALENDAR_ROWS = 9;
inline constexpr int CALENDAR_COLUMNS = 7;
inline constexpr int CALENDAR_MARGIN = 4;
inline constexpr int CALENDAR_HEADER_ROW = 2;
inline constexpr int CALENDAR_FIRST_WEEK_ROW = 3;

// One month of one year; month 0-11, days 0-based as in the date picker.
class CalendarMonth {
public:
    CalendarMonth(int year, int month) : m_nYear(year), m_nMonth(month) {}

    int Year() const { return m_nYear; }
    int Month() const { return m_nMonth; }

    // Divisible by 4 and not by 100, or divisible by 400.
    static bool IsLeapYear(int year);
    // month 0-11.
    static int DaysInMonth(int year, int month);
    // The Julian Day Number of a date (month 1-12, day 1-31) by the classic
    // routine: Julian calendar before 15 October 1582, Gregorian from then on.
    static long long JulianDayNumber(int year, int month, int day);

    int DaysInMonth() const { return DaysInMonth(m_nYear, m_nMonth); }
    // Weekday of the 1st, 0 is Sunday.
    int FirstWeekday() const;
    // Grid row (3-8) and column (0-6) of a day.
    int RowOfDay(int day) const { return CALENDAR_FIRST_WEEK_ROW + (FirstWeekday() + day) / 7; }
    int ColumnOfDay(int day) const { return (FirstWeekday() + day) % 7; }
    // The day shown in a cell, or -1 for a cell before the 1st, after the last
    // day, or outside the week rows.
    int DayAt(int row, int column) const;

    // "December 2026".
    std::string Title() const;
    // The previous and next month; the year wraps.
    CalendarMonth Previous() const;
    CalendarMonth Next() const;

private:
    int m_nYear;
    int m_nMonth;
};

// Where the calendar's parts lie in a client area of a given size.
class CalendarGeometry {
public:
    CalendarGeometry(int clientWidth, int clientHeight);

    int RowHeight() const { return m_nRowHeight; }
    int ColumnWidth() const { return m_nColumnWidth; }
    QPoint Origin() const { return m_origin; }

    // Cell (row, column) of the grid; right and bottom edges exclusive.
    QRect Cell(int row, int column) const;
    // The navigation cell on the right in a row, measured from the right edge.
    QRect RightCell(int row) const;
    // The title between the navigation columns, rows 0 and 1 high.
    QRect TitleRect() const;
    // The line under the weekday header: from x0 to the width less x0.
    int HeaderLineY() const { return m_origin.y() + (CALENDAR_HEADER_ROW + 1) * m_nRowHeight; }
    int HeaderLineLeft() const { return m_origin.x(); }
    int HeaderLineRight() const { return m_nClientWidth - m_origin.x(); }

    // The day of month whose cell holds point, or -1.
    int DayAtPoint(const CalendarMonth& month, QPoint point) const;

private:
    int m_nClientWidth;
    int m_nRowHeight;
    int m_nColumnWidth;
    QPoint m_origin;
};

// Where a pop-up of size popup opens for a button at button (both in screen
// coordinates) on a screen whose usable area is screen: under the button with
// the left edges aligned; above it when there is no room below and more room
// above; right edges aligned when it would cross the screen's right edge; and
// never beyond the screen's top or left edge.
QPoint CalendarPopupPosition(const QRect& button, const QSize& popup, const QRect& screen);
