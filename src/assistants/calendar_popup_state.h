// The state of the date picker's pop-up calendar: the month shown, the
// selected day, and what each mouse press, navigation button and key does to
// them. The pop-up window draws from this state and repaints what a step says.
#pragma once

#include "assistants/calendar_month.h"

// Navigation buttons of the pop-up.
inline constexpr int CALENDAR_PREV_YEAR = 100;  // "<<"
inline constexpr int CALENDAR_PREV_MONTH = 101; // "<"
inline constexpr int CALENDAR_NEXT_YEAR = 102;  // ">>"
inline constexpr int CALENDAR_NEXT_MONTH = 103; // ">"

// Notifications from the pop-up to its date button: a date was chosen
// (wParam the year, lParam from EncodeDateParam), or it closed without one.
inline constexpr int CALENDAR_DATE_CHOSEN = 0x0400 + 50;
inline constexpr int CALENDAR_CLOSED = 0x0400 + 51;

// (month + 1) * 100 + day, month and day 0-based: 7 December gives 1206.
long EncodeDateParam(int month, int day);
// The inverse; false (outputs untouched) for a value no month and day give.
bool DecodeDateParam(long lParam, int& month, int& day);

// Home and End select the first and last day of the shown month; PrevYear and
// NextYear (Shift with Page Up and Page Down) step a year as "<<" and ">>" do.
enum class CalendarKey {
    Enter,
    Escape,
    PageUp,
    PageDown,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PrevYear,
    NextYear
};

// The effect of one input on the pop-up.
struct CalendarUpdate {
    enum Outcome { NONE, CHOSEN, CLOSED };
    Outcome outcome = NONE;
    // The month or year changed: repaint the whole window. Otherwise, when the
    // selection moved, repaint the cells of oldDay and newDay.
    bool wholeWindow = false;
    int oldDay = -1;
    int newDay = -1;
};

class CalendarPopupState {
public:
    // month 1-12 and day 1-31; -1 (or a value out of range) for any of them
    // takes today's local year, month or day. A day the month does not have
    // becomes the 1st.
    CalendarPopupState(int year, int month, int day);

    int Year() const { return m_nYear; }
    int Month() const { return m_nMonth; } // 0-11
    int Day() const { return m_nDay; }     // 0-based
    CalendarMonth Shown() const { return CalendarMonth(m_nYear, m_nMonth); }

    // Month and year steps; a selected day the new month lacks becomes the 1st.
    CalendarUpdate PreviousMonth();
    CalendarUpdate NextMonth();
    CalendarUpdate PreviousYear();
    CalendarUpdate NextYear();
    // A navigation button (CALENDAR_PREV_YEAR ... CALENDAR_NEXT_MONTH).
    CalendarUpdate OnCommand(int id);
    CalendarUpdate OnKey(CalendarKey key);
    // Left button down on a day of the month (-1: elsewhere): selects it.
    CalendarUpdate Press(int day);
    // Left button up; onDay tells whether it was over a day of the month. The
    // day chosen is the selected one, not necessarily the one under the point.
    CalendarUpdate Release(bool onDay);

    // The notification parameters of a choice.
    int ChosenWParam() const { return m_nYear; }
    long ChosenLParam() const { return EncodeDateParam(m_nMonth, m_nDay); }

private:
    CalendarUpdate StepMonth(int months);
    CalendarUpdate MoveDays(int delta);
    CalendarUpdate SelectDay(int day);

    int m_nYear;
    int m_nMonth;
    int m_nDay;
};
