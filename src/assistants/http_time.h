// CHttpTime: an instant as the Expires tag writes it, in the date form of the
// mail and HTTP standards ("Sun, 06 Nov 1994 08:49:37 GMT").
//
// The value is a plain count of seconds since 1970-01-01 00:00:00 UTC
// (Gregorian calendar, no leap seconds). Only instants from that moment to the
// end of the year 3000 UTC can be parsed or formatted. The parser is lenient
// (it reads the common variants of the date form) and never throws; everything
// is computed in UTC with our own calendar arithmetic, so neither the process
// time zone nor its locale matters.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

class CHttpTime {
public:
    // 1970-01-01 00:00:00 UTC and 3000-12-31 23:59:59 UTC.
    static constexpr int64_t MIN_TIME = 0;
    static constexpr int64_t MAX_TIME = 32535215999;

    CHttpTime() = default;
    explicit CHttpTime(int64_t seconds) : m_time(seconds) {}

    int64_t GetTime() const { return m_time; }
    void SetTime(int64_t seconds) { m_time = seconds; }
    static bool IsInRange(int64_t seconds) { return seconds >= MIN_TIME && seconds <= MAX_TIME; }

    friend bool operator==(const CHttpTime&, const CHttpTime&) = default;
    friend auto operator<=>(const CHttpTime&, const CHttpTime&) = default;

    // Reads a date text. On success sets the value and returns true; on failure
    // returns false and leaves the value as it was. A date without a time of day
    // gets 12:00:00, one without a zone is UTC; fields out of range carry over
    // (31 Nov is 1 Dec); a named weekday must match the date; the resulting
    // instant must lie within MIN_TIME..MAX_TIME.
    bool ParseHttpDate(std::string_view text);

    // "%a, %d %b %Y %H:%M:%S GMT" in UTC with English names (29 characters), or
    // "" when the value lies outside MIN_TIME..MAX_TIME.
    std::string FormatHttpDate() const;

    // Steps of the parser, public so that they can be tested on their own.
    // Removes leading white space from rest and returns the text up to the first
    // space character; rest keeps what follows that space ("" when none).
    static std::string NextToken(std::string& rest);
    // The offset in minutes east of UTC of a lower-case zone token: a zone name
    // ("gmt", "est", ...) or military letter, and/or a signed "hhmm" number
    // ("+0100", "-0530", "+5", "gmt+0200"). A number without a sign counts
    // nothing. Saturates instead of overflowing on absurdly long numbers.
    static int64_t ParseZone(std::string token);

private:
    int64_t m_time = 0;
};

// Days since 1970-01-01 of a proleptic Gregorian date (month 1-12, day 1-31;
// exact for any year that keeps the result within 64 bits, |year| < 10^13).
int64_t DaysFromCivil(int64_t year, int month, int day);
// The date of a day count; the inverse of DaysFromCivil.
void CivilFromDays(int64_t days, int64_t& year, int& month, int& day);
