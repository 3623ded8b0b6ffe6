// The state of the Expires dialog's date button: the date it holds, the text
// it shows, and whether it can be clicked (not while its calendar is open).
#pragma once

#include <string>

#include "assistants/http_time.h"

// The arguments the button gives the calendar it opens: month 1-12, day 1-31.
struct CalendarRequest {
    int year;
    int month;
    int day;
};

class DateButtonState {
public:
    // Today's local date, shown.
    DateButtonState();

    // "%d %s, %d": '7 December, 2026' (month 0-11, day 0-based); "" for a
    // month out of range.
    static std::string DateText(int year, int month, int day);

    int Year() const { return m_nYear; }
    int Month() const { return m_nMonth; } // 0-11
    int Day() const { return m_nDay; }     // 0-based
    // The text shown; "" means no date, while the date members keep the last
    // date the button held.
    const std::string& Text() const { return m_strText; }
    bool IsEnabled() const { return m_bEnabled; }

    // Takes the local calendar date of time (daylight saving applied) and shows
    // it. A time the C library cannot break down leaves the date as it was.
    void SetTime(CHttpTime time);
    // 00:00:00 on the button's date as local standard time.
    CHttpTime GetTime() const;
    // Sets the date and shows it.
    void SetDate(int year, int month, int day);
    // Shows no date; the date members stay.
    void Clear() { m_strText.clear(); }

    // A click: the button is disabled until the calendar reports back, and the
    // calendar opens at the button's date.
    CalendarRequest OnClicked();
    // The calendar's CALENDAR_DATE_CHOSEN notification: takes and shows the date
    // and enables the button (a malformed lParam only enables it).
    void OnDateChosen(int wParam, long lParam);
    // The calendar's CALENDAR_CLOSED notification, or a calendar that could
    // not be opened: enables the button.
    void OnCalendarClosed() { m_bEnabled = true; }

private:
    int m_nYear;
    int m_nMonth;
    int m_nDay;
    std::string m_strText;
    bool m_bEnabled = true;
};
