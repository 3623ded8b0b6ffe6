#include "assistants/date_button_state.h"

#include <cstdio>

#include "assistants/calendar_month.h"
#include "assistants/calendar_popup_state.h"
#include "assistants/local_date.h"

DateButtonState::DateButtonState() {
    const LocalDate today = TodayLocalDate();
    SetDate(today.year, today.month, today.day);
}

std::string DateButtonState::DateText(int year, int month, int day) {
    if (month < 0 || month > 11)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%d %s, %d", day + 1, MONTH_NAMES[month], year);
    return text;
}

void DateButtonState::SetTime(CHttpTime time) {
    LocalDate date{m_nYear, m_nMonth, m_nDay};
    LocalDateOf(time.GetTime(), date);
    SetDate(date.year, date.month, date.day);
}

CHttpTime DateButtonState::GetTime() const {
    return CHttpTime(LocalStandardMidnight(LocalDate{m_nYear, m_nMonth, m_nDay}));
}

void DateButtonState::SetDate(int year, int month, int day) {
    m_nYear = year;
    m_nMonth = month;
    m_nDay = day;
    m_strText = DateText(year, month, day);
}

CalendarRequest DateButtonState::OnClicked() {
    m_bEnabled = false;
    return CalendarRequest{m_nYear, m_nMonth + 1, m_nDay + 1};
}

void DateButtonState::OnDateChosen(int wParam, long lParam) {
    int month = 0;
    int day = 0;
    if (DecodeDateParam(lParam, month, day))
        SetDate(wParam, month, day);
    m_bEnabled = true;
}
