#include "assistants/http_time.h"

#include <cstdio>
#include <limits>

#include "assistants/decimal_number.h"

namespace {

// Intermediate results of normalisation: fields of up to 19 digits multiplied
// into seconds need more than 64 bits before the range check can reject them.
__extension__ typedef __int128 Wide;

// Lower-case names in slots of four characters.
constexpr std::string_view kWeekdays = "sun mon tue wed thu fri sat ";
constexpr std::string_view kMonths = "jan feb mar apr may jun jul aug sep oct nov dec ";
constexpr std::string_view kNamedZones = "ut  gmt est edt cst cdt mst mdt pst pdt ";
constexpr int kNamedZoneHours[] = {0, 0, -5, -4, -6, -5, -7, -6, -8, -7};
// Military letters: position p stands for p - 12 hours ('z' is UTC, no 'j').
constexpr std::string_view kZoneLetters = "yxwvutsrqponzabcdefghiklm";

// English names for formatting, whatever the process locale.
constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr int64_t kSecondsPerDay = 86400;

// The slot of the first place where token occurs in table, or -1. A token that
// is part of a name matches it ("no" and "ov" find "nov").
int LookupSlot(std::string_view table, std::string_view token) {
    const size_t pos = table.find(token);
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos / 4);
}

template <typename Int>
Int FloorDiv(Int a, Int b) {
    Int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

template <typename Int>
Int DaysFromCivilT(Int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const Int era = FloorDiv<Int>(year, 400);
    const Int yoe = year - era * 400;
    const int mp = month > 2 ? month - 3 : month + 9;
    const Int doy = (153 * mp + 2) / 5 + day - 1;
    const Int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Reads "h:m:s"; false unless all three numbers are there.
bool ReadTimeOfDay(std::string_view token, int64_t fields[3], bool& huge) {
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= token.size() || token[pos] != ':')
                return false;
            ++pos;
        }
        const DecimalNumber number = ReadDecimal(token.substr(pos));
        if (!number.read)
            return false;
        fields[i] = number.value;
        huge = huge || number.saturated;
        pos += number.end;
    }
    return true;
}

} // namespace

int64_t DaysFromCivil(int64_t year, int month, int day) {
    return DaysFromCivilT<int64_t>(year, month, day);
}

void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
    days += 719468;
    const int64_t era = FloorDiv<int64_t>(days, 146097);
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

std::string CHttpTime::NextToken(std::string& rest) {
    size_t start = 0;
    while (start < rest.size() && IsAsciiSpace(rest[start]))
        ++start;
    rest.erase(0, start);
    // Only the space character separates tokens; a tab inside stays part of one.
    const size_t space = rest.find(' ');
    std::string token;
    if (space == std::string::npos) {
        token.swap(rest);
    } else {
        token = rest.substr(0, space);
        rest.erase(0, space + 1);
    }
    return token;
}

int64_t CHttpTime::ParseZone(std::string token) {
    int sign = 0;
    char signChar = 0;
    if (token.find('-') != std::string::npos) {
        sign = -1;
        signChar = '-';
    } else if (token.find('+') != std::string::npos) {
        sign = 1;
        signChar = '+';
    }
    if (signChar) {
        for (char& c : token) {
            if (c == signChar)
                c = ' ';
        }
    }

    int zoneHours = 0;
    if (!token.empty() && token.front() != ' ') {
        const std::string word = NextToken(token);
        // A single letter is a military zone letter. Looked up as part of a name
        // first, nine of them ('e', 's', 't', ...) would take the offset of the
        // zone name they happen to occur in ('e' would be EST); the letter table
        // gives every letter its own offset ('e' is +5 hours, 'z' UTC).
        const int slot = word.size() == 1 ? -1 : LookupSlot(kNamedZones, word);
        if (slot >= 0) {
            zoneHours = kNamedZoneHours[slot];
        } else {
            const size_t letter = kZoneLetters.find(word);
            if (letter != std::string_view::npos)
                zoneHours = static_cast<int>(letter) - 12;
        }
    } else {
        token.resize(TrimRightAscii(token).size());
    }

    int64_t mm = 0;
    if (token.size() > 2) {
        mm = ReadDecimal(std::string_view(token).substr(token.size() - 2)).value;
        token.resize(token.size() - 2);
    }
    const int64_t hh = ReadDecimal(token).value;

    const Wide minutes = Wide(zoneHours) * 60 + Wide(sign) * (Wide(hh) * 60 + mm);
    if (minutes > std::numeric_limits<int64_t>::max())
        return std::numeric_limits<int64_t>::max();
    if (minutes < std::numeric_limits<int64_t>::min())
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(minutes);
}

bool CHttpTime::ParseHttpDate(std::string_view text) {
    std::string rest(TrimAscii(AsciiLower(text)));
    int weekday = -1; // 0 is Sunday
    int month = -1;   // 1-12
    bool haveDay = false;
    bool haveYear = false;
    int64_t day = 0;
    int64_t year = 0;
    int64_t time[3] = {12, 0, 0};
    int64_t zoneMinutes = 0;
    bool huge = false; // a number too long to compute with exactly

    std::string token = NextToken(rest);

    weekday = LookupSlot(kWeekdays, std::string_view(token).substr(0, 3));
    if (weekday >= 0)
        token = NextToken(rest);

    DecimalNumber number = ReadDecimal(token);
    if (number.read) {
        haveDay = true;
        day = number.value;
        huge = huge || number.saturated;
        token = NextToken(rest);
    }

    const int monthSlot = LookupSlot(kMonths, token);
    if (monthSlot < 0)
        return false;
    month = monthSlot + 1;

    if (!haveDay) { // "Sun Nov 6 08:49:37 1994"
        token = NextToken(rest);
        number = ReadDecimal(token);
        if (!number.read)
            return false;
        day = number.value;
        huge = huge || number.saturated;
    }

    for (token = NextToken(rest); !token.empty(); token = NextToken(rest)) {
        if (token.find(':') != std::string::npos) {
            int64_t fields[3];
            bool hugeField = false;
            if (ReadTimeOfDay(token, fields, hugeField)) {
                time[0] = fields[0];
                time[1] = fields[1];
                time[2] = fields[2];
            } else {
                time[0] = 12;
                time[1] = 0;
                time[2] = 0;
                hugeField = false; // the numbers read are dropped
            }
            huge = huge || hugeField;
            continue;
        }
        number = ReadDecimal(token);
        if (number.read && !haveYear) {
            haveYear = true;
            year = number.value;
            huge = huge || number.saturated;
        } else {
            zoneMinutes = ParseZone(token);
        }
    }
    if (!haveYear)
        return false;
    if (huge || zoneMinutes == std::numeric_limits<int64_t>::max() ||
        zoneMinutes == std::numeric_limits<int64_t>::min())
        return false;

    if (year < 70)
        year += 2000;
    if (year < 100)
        year += 1900;

    // Out-of-range fields carry into the next larger unit, in UTC.
    const Wide local = (DaysFromCivilT<Wide>(year, month, 1) + (Wide(day) - 1)) * kSecondsPerDay +
                       Wide(time[0]) * 3600 + Wide(time[1]) * 60 + Wide(time[2]);
    if (weekday >= 0) {
        const Wide days = FloorDiv<Wide>(local, kSecondsPerDay);
        const Wide dayOfWeek = days + 4 - FloorDiv<Wide>(days + 4, 7) * 7; // 1970-01-01: Thursday
        if (dayOfWeek != weekday)
            return false;
    }
    const Wide value = local - Wide(zoneMinutes) * 60;
    if (value < MIN_TIME || value > MAX_TIME)
        return false;
    m_time = static_cast<int64_t>(value);
    return true;
}

std::string CHttpTime::FormatHttpDate() const {
    if (!IsInRange(m_time))
        return {};
    const int64_t days = m_time / kSecondsPerDay;
    const int64_t seconds = m_time % kSecondsPerDay;
    int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, year, month, day);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04lld %02d:%02d:%02d GMT",
                  kDayNames[(days + 4) % 7], day, kMonthNames[month - 1],
                  static_cast<long long>(year), static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}
