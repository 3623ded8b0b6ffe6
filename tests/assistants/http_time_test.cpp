#include "assistants/http_time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace {

constexpr int64_t kFails = -1;           // the text must not parse
constexpr int64_t k19941106 = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
constexpr int64_t kHour = 3600;

struct ParseCase {
    const char* text;
    int64_t expected;
};

void CheckParse(const ParseCase& c) {
    SCOPED_TRACE(c.text);
    CHttpTime time(12345);
    const bool ok = time.ParseHttpDate(c.text);
    if (c.expected == kFails) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(time.GetTime(), 12345) << "a failed parse keeps the value";
    } else {
        EXPECT_TRUE(ok);
        EXPECT_EQ(time.GetTime(), c.expected);
    }
}

TEST(HttpTimeParse, DateForms) {
    const ParseCase cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", k19941106},
        {"sun, 06 nov 1994 08:49:37 gmt", k19941106},
        {"  SUN, 06 NOV 1994 08:49:37 GMT \r\n", k19941106},
        {"Sun Nov 6 08:49:37 1994", k19941106},          // month before day
        {"Sunday, 06 Nov 1994 08:49:37 GMT", k19941106}, // three letters compared
        {"Su 06 Nov 1994 08:49:37", k19941106},          // part of a name matches
        {"06 no 1994 08:49:37", k19941106},
        {"06 Nov 08:49:37 1994", k19941106}, // time, year, zone in any order
        {"06 Nov gmt 08:49:37 1994", k19941106},
        {"6, Nov 1994, 08:49:37", k19941106}, // numbers stop at the comma
        {"Tue, 08 Dec 2026 00:00:00 GMT", 1796688000},
        {"Wed, 09 Dec 2026 09:09:09 GMT", 1796807349}, // leading zeros
        {"Thu, 01 Jan 1970 00:00:00 GMT", 0},
        {"Thu, 29 Feb 2024 12:00:00 GMT", 1709208000},
        {"Sunday, 06-Nov-94 08:49:37 GMT", kFails}, // "06-nov-94" is day 6 only
        {"Mon, 06 Nov 1994 08:49:37 GMT", kFails},  // weekday mismatch
        {"Tuesday 06 Nov 1994", kFails},
        {"06 November 1994", kFails}, // the whole month word is looked up
        {"06 Nov", kFails},           // no year
        {"Nov 1994", kFails},         // 1994 is the day, no year follows
        {"Sun", kFails},
        {"", kFails},
        {"   \t ", kFails},
        {"hello world", kFails},
        {"12:00:00", kFails},
        {"06 foo 1994", kFails},
        {"Nov x 1994", kFails}, // the day after the month must be a number
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, TimeOfDay) {
    const int64_t noon = 784123200; // 06 Nov 1994 12:00:00 UTC
    const ParseCase cases[] = {
        {"06 Nov 1994", noon},
        {"06 Nov 1994 08:49 GMT", noon},       // two numbers: noon
        {"06 Nov 1994 08:49:37 -05:00", noon}, // the colon zone is a time token
        {"06 Nov 1994 08:49:37 12:00", noon},  // a later time token replaces
        {"06 Nov 1994 08:49:x37", noon},
        {"06 Nov 1994 8:49:37", k19941106},
        {"06 Nov 1994 2000", noon}, // second number: a zone, offset 0
        {"06 Nov 1994 08:49:37 2000", k19941106},
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, Zones) {
    const ParseCase cases[] = {
        {"6 Nov 94 8:49:37 +0100", 784108177},
        {"06 Nov 1994 08:49:37 EST", k19941106 + 5 * kHour},
        {"06 Nov 1994 08:49:37 pdt", k19941106 + 7 * kHour},
        {"06 Nov 1994 08:49:37 -0530", k19941106 + 5 * kHour + 30 * 60},
        {"06 Nov 1994 08:49:37 gmt+0200", k19941106 - 2 * kHour},
        {"06 Nov 1994 08:49:37 +5", k19941106 - 5 * kHour},
        {"06 Nov 1994 08:49:37 UTC", k19941106},
        {"06 Nov 1994 08:49:37 0100", k19941106}, // no sign: no offset
        {"06 Nov 1994 08:49:37 Z", k19941106},
        {"06 Nov 1994 08:49:37 A", k19941106 - kHour},
        {"06 Nov 1994 08:49:37 E", k19941106 - 5 * kHour}, // military letter, not EST
        {"06 Nov 1994 08:49:37 est gmt", k19941106},       // the last zone wins
        {"06 Nov 1994 est 08:49:37", k19941106 + 5 * kHour},
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, TwoDigitYears) {
    const ParseCase cases[] = {
        {"1 Jan 00", 946728000},                                                     // 2000
        {"1 Jan 69", 3124267200},                                                    // 2069
        {"1 Jan 70", 43200},                                                         // 1970
        {"1 Jan 99", 915192000},                                                     // 1999
        {"1 Jan 0099", 915192000}, {"1 Jan 2000", 946728000}, {"1 Jan 100", kFails}, // the year 100
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, NormalisesLikeMktime) {
    const ParseCase cases[] = {
        {"31 Nov 1994 00:00:00 GMT", 786240000}, // 1 Dec 1994
        {"Thu, 31 Nov 1994 00:00:00 GMT", 786240000},
        {"Sun, 31 Nov 1994 00:00:00 GMT", kFails}, // 1 Dec is a Thursday
        {"0 Dec 1994", 786196800},                 // 30 Nov
        {"06 Nov 1994 24:00:00", 784166400},       // 7 Nov 00:00
        {"06 Nov 1994 08:49:60", 784111800},
        {"06 Nov 1994 -1:00:00", 784076400}, // 5 Nov 23:00
        {"32 Dec 1999 00:00:00", 946684800},
        {"29 Feb 2023", 1677672000}, // 1 Mar 2023
        {"1 Jan 1994 2400000:-144000000:0", 757382400},
        {"999999999 Jan 1994 -23999999976:00:00", 757296000}, // 31 Dec 1993
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, RangeLimits) {
    const ParseCase cases[] = {
        {"01 Jan 1970 00:00:00 GMT", 0},
        {"31 Dec 1969 23:59:59 GMT", kFails},
        {"01 Jan 1970 00:00:00 +0100", kFails},
        {"01 Jan 1970 00:59:59 +0100", kFails},
        {"01 Jan 1970 01:00:00 +0100", 0},
        {"31 Dec 1969 23:00:00 EST", 4 * kHour},
        {"Wed, 31 Dec 3000 23:59:59 GMT", CHttpTime::MAX_TIME},
        {"01 Jan 3001 00:00:00 GMT", kFails},
        {"31 Dec 3000 23:59:59 -0001", kFails},
        {"01 Jan 3001 00:30:00 +0100", CHttpTime::MAX_TIME - 1799},
        {"1 Jan 1600", kFails},
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, HugeNumbersFailWithoutWrapping) {
    const ParseCase cases[] = {
        {"99999999999 Nov 1994", kFails},
        {"1 Jan 99999999999", kFails},
        {"1 Jan -99999999999", kFails},
        {"1 Jan 9223372036854775807", kFails},
        {"1 Jan -9223372036854775808", kFails},
        {"1 Jan 99999999999999999999999", kFails},
        {"-9223372036854775808 Jan 1994", kFails},
        {"1 Jan 1994 99999999999999999999:00:00", kFails},
        {"1 Jan 1994 9223372036854775807:9223372036854775807:9223372036854775807", kFails},
        {"1 Jan 1994 +99999999999999999999999", kFails},
        {"1 Jan 1994 -922337203685477580800", kFails},
        // Exactly 2^64 seconds later would wrap around to the same date.
        {"213503982334601 Jan 1970 00:00:00", kFails},
    };
    for (const ParseCase& c : cases)
        CheckParse(c);
}

TEST(HttpTimeParse, NeverCrashesOnGarbage) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789:+- ,\tnovjanmsugtedpz";
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k)
            text += alphabet[random() % alphabet.size()];
        CHttpTime time;
        if (time.ParseHttpDate(text)) {
            EXPECT_TRUE(CHttpTime::IsInRange(time.GetTime())) << text;
        }
    }
}

TEST(HttpTimeZone, Offsets) {
    const struct {
        const char* token;
        int64_t minutes;
    } cases[] = {
        {"gmt", 0},    {"ut", 0},     {"utc", 0},    {"est", -300},     {"edt", -240},
        {"cst", -360}, {"mdt", -360}, {"pdt", -420}, {"z", 0},          {"a", 60},
        {"i", 540},    {"k", 600},    {"m", 720},    {"n", -60},        {"y", -720},
        {"e", 300},    {"s", -360},   {"j", 0},      {"+0100", 60},     {"-0530", -330},
        {"+5", 300},   {"-12", -12},  {"+123", 83},  {"gmt+0200", 120}, {"est-0100", -360},
        {"0100", 0},   {"-", 0},      {"+", 0},      {"xyz", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHttpTime::ParseZone(c.token), c.minutes) << c.token;
}

TEST(HttpTimeZone, SaturatesInsteadOfWrapping) {
    EXPECT_EQ(CHttpTime::ParseZone("+99999999999999999999999"),
              std::numeric_limits<int64_t>::max());
    EXPECT_EQ(CHttpTime::ParseZone("-99999999999999999999999"),
              std::numeric_limits<int64_t>::min());
}

TEST(HttpTimeToken, SplitsAtSpacesOnly) {
    const struct {
        const char* rest;
        const char* token;
        const char* after;
    } cases[] = {
        {"sun, 06", "sun,", "06"}, {"  06 nov", "06", "nov"}, {"1994", "1994", ""}, {"", "", ""},
        {" \t\r\n", "", ""},       {"a\tb c", "a\tb", "c"},   {"a  b", "a", " b"},
    };
    for (const auto& c : cases) {
        std::string rest = c.rest;
        EXPECT_EQ(CHttpTime::NextToken(rest), c.token) << c.rest;
        EXPECT_EQ(rest, c.after) << c.rest;
    }
}

TEST(HttpTimeFormat, Texts) {
    const struct {
        int64_t value;
        const char* text;
    } cases[] = {
        {0, "Thu, 01 Jan 1970 00:00:00 GMT"},
        {k19941106, "Sun, 06 Nov 1994 08:49:37 GMT"},
        {951782400, "Tue, 29 Feb 2000 00:00:00 GMT"},
        {1796807349, "Wed, 09 Dec 2026 09:09:09 GMT"},
        {CHttpTime::MAX_TIME, "Wed, 31 Dec 3000 23:59:59 GMT"},
        {-1, ""},
        {CHttpTime::MAX_TIME + 1, ""},
        {std::numeric_limits<int64_t>::min(), ""},
        {std::numeric_limits<int64_t>::max(), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHttpTime(c.value).FormatHttpDate(), c.text) << c.value;
}

TEST(HttpTimeFormat, RoundTrip) {
    std::vector<int64_t> values = {
        0, 1, 59, 86399, 86400, CHttpTime::MAX_TIME - 1, CHttpTime::MAX_TIME};
    for (int64_t v = 0; v <= CHttpTime::MAX_TIME; v += 7919 * 3607) // odd steps over 1000 years
        values.push_back(v);
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i)
        values.push_back(static_cast<int64_t>(random() % (CHttpTime::MAX_TIME + 1)));
    for (int64_t v : values) {
        const std::string text = CHttpTime(v).FormatHttpDate();
        ASSERT_EQ(text.size(), 29u) << v;
        CHttpTime back;
        ASSERT_TRUE(back.ParseHttpDate(text)) << text;
        ASSERT_EQ(back.GetTime(), v) << text;
    }
}

} // namespace
