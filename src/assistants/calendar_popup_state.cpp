#include "assistants/calendar_popup_state.h"

#include "assistants/local_date.h"

long EncodeDateParam(int month, int day) {
    return (month + 1) * 100L + day;
}

bool DecodeDateParam(long lParam, int& month, int& day) {
    const long m = lParam / 100 - 1;
    const long d = lParam - (m + 1) * 100;
    if (lParam < 0 || m < 0 || m > 11 || d > 30)
        return false;
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    return true;
}

CalendarPopupState::CalendarPopupState(int year, int month, int day) {
    const LocalDate today = TodayLocalDate();
    m_nYear = year == -1 ? today.year : year;
    m_nMonth = month >= 1 && month <= 12 ? month - 1 : today.month;
    m_nDay = day >= 1 && day <= 31 ? day - 1 : today.day;
    if (m_nDay >= Shown().DaysInMonth())
        m_nDay = 0;
}

CalendarUpdate CalendarPopupState::StepMonth(int months) {
    CalendarMonth shown = Shown();
    for (; months < 0; ++months)
        shown = shown.Previous();
    for (; months > 0; --months)
        shown = shown.Next();
    CalendarUpdate update;
    update.wholeWindow = true;
    update.oldDay = m_nDay;
    m_nYear = shown.Year();
    m_nMonth = shown.Month();
    if (m_nDay >= shown.DaysInMonth())
        m_nDay = 0;
    update.newDay = m_nDay;
    return update;
}

CalendarUpdate CalendarPopupState::PreviousMonth() {
    return StepMonth(-1);
}
CalendarUpdate CalendarPopupState::NextMonth() {
    return StepMonth(1);
}
CalendarUpdate CalendarPopupState::PreviousYear() {
    return StepMonth(-12);
}
CalendarUpdate CalendarPopupState::NextYear() {
    return StepMonth(12);
}

CalendarUpdate CalendarPopupState::OnCommand(int id) {
    switch (id) {
    case CALENDAR_PREV_YEAR:
        return PreviousYear();
    case CALENDAR_PREV_MONTH:
        return PreviousMonth();
    case CALENDAR_NEXT_YEAR:
        return NextYear();
    case CALENDAR_NEXT_MONTH:
        return NextMonth();
    default:
        return {};
    }
}

// Moves the selection by delta days (|delta| <= 7); stepping off either end of
// the month continues in the neighbouring month at the exact day.
CalendarUpdate CalendarPopupState::MoveDays(int delta) {
    CalendarUpdate update;
    update.oldDay = m_nDay;
    int day = m_nDay + delta;
    const CalendarMonth shown = Shown();
    if (day < 0) {
        const CalendarMonth previous = shown.Previous();
        day += previous.DaysInMonth();
        m_nYear = previous.Year();
        m_nMonth = previous.Month();
        update.wholeWindow = true;
    } else if (day >= shown.DaysInMonth()) {
        const CalendarMonth next = shown.Next();
        day -= shown.DaysInMonth();
        m_nYear = next.Year();
        m_nMonth = next.Month();
        update.wholeWindow = true;
    }
    m_nDay = day;
    update.newDay = day;
    return update;
}

CalendarUpdate CalendarPopupState::OnKey(CalendarKey key) {
    CalendarUpdate update;
    switch (key) {
    case CalendarKey::Enter:
        update.outcome = CalendarUpdate::CHOSEN;
        return update;
    case CalendarKey::Escape:
        update.outcome = CalendarUpdate::CLOSED;
        return update;
    case CalendarKey::PageUp:
        return PreviousMonth();
    case CalendarKey::PageDown:
        return NextMonth();
    case CalendarKey::Left:
        return MoveDays(-1);
    case CalendarKey::Right:
        return MoveDays(1);
    case CalendarKey::Up:
        return MoveDays(-7);
    case CalendarKey::Down:
        return MoveDays(7);
    case CalendarKey::Home:
        return SelectDay(0);
    case CalendarKey::End:
        return SelectDay(Shown().DaysInMonth() - 1);
    case CalendarKey::PrevYear:
        return PreviousYear();
    case CalendarKey::NextYear:
        return NextYear();
    }
    return update;
}

CalendarUpdate CalendarPopupState::SelectDay(int day) {
    CalendarUpdate update;
    if (day < 0 || day >= Shown().DaysInMonth())
        return update;
    update.oldDay = m_nDay;
    update.newDay = day;
    m_nDay = day;
    return update;
}

CalendarUpdate CalendarPopupState::Press(int day) {
    return SelectDay(day);
}

CalendarUpdate CalendarPopupState::Release(bool onDay) {
    CalendarUpdate update;
    if (onDay)
        update.outcome = CalendarUpdate::CHOSEN;
    return update;
}
