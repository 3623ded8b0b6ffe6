// Calendar dates in the process's local time zone (TZ), as the Expires date
// picker shows them.
#pragma once

#include <cstdint>

// A calendar date with the date picker's conventions: month 0-11 and day
// 0-based (0 is the 1st).
struct LocalDate {
    int year = 1970;
    int month = 0;
    int day = 0;
    friend bool operator==(const LocalDate&, const LocalDate&) = default;
};

// Today's date in local time.
LocalDate TodayLocalDate();

// The local calendar date of an instant (seconds since 1970 UTC), daylight
// saving applied. False (date untouched) when the C library cannot break the
// instant down.
bool LocalDateOf(int64_t seconds, LocalDate& date);

// The instant of 00:00:00 on date taken as local standard time: the zone's
// standard offset on that date, daylight saving not applied.
int64_t LocalStandardMidnight(const LocalDate& date);
