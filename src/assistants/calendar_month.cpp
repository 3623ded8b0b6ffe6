#include "assistants/calendar_month.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

const char* const MONTH_NAMES[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

namespace {
constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int FloorMod(long long a, int b) {
    const int r = static_cast<int>(a % b);
    return r < 0 ? r + b : r;
}
} // namespace

bool CalendarMonth::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CalendarMonth::DaysInMonth(int year, int month) {
    if (month < 0 || month > 11)
        return 0;
    return month == 1 && IsLeapYear(year) ? 29 : kDaysInMonth[month];
}

long long CalendarMonth::JulianDayNumber(int year, int month, int day) {
    double y = year;
    double m = month;
    if (month < 3) {
        y = year - 1;
        m = month + 13;
    } else {
        m = month + 1;
    }
    long long jdn = static_cast<long long>(std::floor(365.25 * y)) +
                    static_cast<long long>(std::floor(30.6001 * m)) + day + 1720995;
    if (day + 31LL * (month + 12LL * year) >= 588829) {
        const long long a = static_cast<long long>(0.01 * y);
        jdn += 2 - a + static_cast<long long>(0.25 * static_cast<double>(a));
    }
    return jdn;
}

int CalendarMonth::FirstWeekday() const {
    return FloorMod(JulianDayNumber(m_nYear, m_nMonth + 1, 1) + 1, 7);
}

int CalendarMonth::DayAt(int row, int column) const {
    if (row < CALENDAR_FIRST_WEEK_ROW || row >= CALENDAR_ROWS || column < 0 ||
        column >= CALENDAR_COLUMNS)
        return -1;
    const int day = (row - CALENDAR_FIRST_WEEK_ROW) * 7 + column - FirstWeekday();
    return day >= 0 && day < DaysInMonth() ? day : -1;
}

std::string CalendarMonth::Title() const {
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", MONTH_NAMES[m_nMonth], m_nYear);
    return text;
}

CalendarMonth CalendarMonth::Previous() const {
    return m_nMonth == 0 ? CalendarMonth(m_nYear - 1, 11) : CalendarMonth(m_nYear, m_nMonth - 1);
}

CalendarMonth CalendarMonth::Next() const {
    return m_nMonth == 11 ? CalendarMonth(m_nYear + 1, 0) : CalendarMonth(m_nYear, m_nMonth + 1);
}

CalendarGeometry::CalendarGeometry(int clientWidth, int clientHeight)
    : m_nClientWidth(clientWidth) {
    // A window too small for the margins gets an empty grid rather than
    // negative cells.
    m_nRowHeight = clientHeight > 2 * CALENDAR_MARGIN
                       ? (clientHeight - 2 * CALENDAR_MARGIN) / CALENDAR_ROWS
                       : 0;
    m_nColumnWidth = clientWidth > 2 * CALENDAR_MARGIN
                         ? (clientWidth - 2 * CALENDAR_MARGIN) / CALENDAR_COLUMNS
                         : 0;
    m_origin = QPoint((clientWidth - CALENDAR_COLUMNS * m_nColumnWidth) / 2,
                      (clientHeight - CALENDAR_ROWS * m_nRowHeight) / 2);
}

QRect CalendarGeometry::Cell(int row, int column) const {
    return QRect(m_origin.x() + column * m_nColumnWidth, m_origin.y() + row * m_nRowHeight,
                 m_nColumnWidth, m_nRowHeight);
}

QRect CalendarGeometry::RightCell(int row) const {
    return QRect(m_nClientWidth - m_origin.x() - m_nColumnWidth, m_origin.y() + row * m_nRowHeight,
                 m_nColumnWidth, m_nRowHeight);
}

QRect CalendarGeometry::TitleRect() const {
    const int left = m_origin.x() + m_nColumnWidth + 5;
    const int right = m_nClientWidth - m_origin.x() - m_nColumnWidth - 5;
    return QRect(left, m_origin.y(), right - left, 2 * m_nRowHeight);
}

int CalendarGeometry::DayAtPoint(const CalendarMonth& month, QPoint point) const {
    if (m_nRowHeight <= 0 || m_nColumnWidth <= 0)
        return -1;
    const int dx = point.x() - m_origin.x();
    const int dy = point.y() - m_origin.y();
    if (dx < 0 || dy < 0)
        return -1;
    return month.DayAt(dy / m_nRowHeight, dx / m_nColumnWidth);
}

QPoint CalendarPopupPosition(const QRect& button, const QSize& popup, const QRect& screen) {
    int x = button.left();
    int y = button.bottom() + 1;
    if (y + popup.height() > screen.bottom() + 1 &&
        button.top() - screen.top() > screen.bottom() - button.bottom())
        y = button.top() - popup.height();
    if (x + popup.width() > screen.right() + 1)
        x = button.right() + 1 - popup.width();
    // A pop-up larger than the screen shows its top left part.
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - popup.width()));
    y = std::max(screen.top(), std::min(y, screen.bottom() + 1 - popup.height()));
    return {x, y};
}
