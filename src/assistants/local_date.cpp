#include "assistants/local_date.h"

#include <ctime>

#include "assistants/http_time.h"

LocalDate TodayLocalDate() {
    LocalDate date;
    LocalDateOf(static_cast<int64_t>(std::time(nullptr)), date);
    return date;
}

bool LocalDateOf(int64_t seconds, LocalDate& date) {
    tzset();
    const time_t t = static_cast<time_t>(seconds);
    struct tm parts {};
    if (!localtime_r(&t, &parts))
        return false;
    date.year = parts.tm_year + 1900;
    date.month = parts.tm_mon;
    date.day = parts.tm_mday - 1;
    return true;
}

int64_t LocalStandardMidnight(const LocalDate& date) {
    tzset();
    struct tm parts {};
    parts.tm_year = date.year - 1900;
    parts.tm_mon = date.month;
    parts.tm_mday = date.day + 1;
    parts.tm_isdst = 0; // standard time even on a summer date
    const time_t t = std::mktime(&parts);
    // -1 is also 1969-12-31 23:59:59 UTC, which is never a local midnight
    // (no zone is one second off a whole minute).
    if (t != static_cast<time_t>(-1))
        return static_cast<int64_t>(t);
    // mktime gave up (a year beyond its reach): the zone's current standard
    // offset is the best guess; `timezone` counts seconds west of UTC.
    return DaysFromCivil(date.year, date.month + 1, date.day + 1) * 86400 + timezone;
}
