#include "assistants/decimal_number.h"

#include <climits>
#include <limits>

namespace {

// Reads digits from text[pos] on into number; negative accumulates downwards so
// that INT64_MIN itself is exact.
void ReadDigits(std::string_view text, size_t pos, bool negative, DecimalNumber& number) {
    int64_t value = 0;
    bool saturated = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        const int digit = text[pos] - '0';
        if (!saturated) {
            if (negative) {
                if (value < (std::numeric_limits<int64_t>::min() + digit) / 10)
                    saturated = true;
                else
                    value = value * 10 - digit;
            } else {
                if (value > (std::numeric_limits<int64_t>::max() - digit) / 10)
                    saturated = true;
                else
                    value = value * 10 + digit;
            }
        }
        number.read = true;
        ++pos;
    }
    if (saturated)
        value =
            negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    number.saturated = saturated;
    number.value = value;
    if (number.read)
        number.end = pos;
}

size_t SkipSpace(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsAsciiSpace(text[pos]))
        ++pos;
    return pos;
}

} // namespace

DecimalNumber ReadDecimal(std::string_view text) {
    DecimalNumber number;
    size_t pos = SkipSpace(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    ReadDigits(text, pos, negative, number);
    return number;
}

bool ReadWholeInt(std::string_view text, int& value) {
    const DecimalNumber number = ReadDecimal(text);
    if (!number.read || number.saturated || number.value < INT_MIN || number.value > INT_MAX)
        return false;
    if (!TrimLeftAscii(text.substr(number.end)).empty())
        return false;
    value = static_cast<int>(number.value);
    return true;
}
