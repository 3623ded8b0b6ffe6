// Decimal numbers and ASCII text helpers shared by the value assistants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "page/ascii_text.h"

// The message shown when a number box does not hold a whole integer.
inline constexpr std::string_view MSG_ENTER_INTEGER = "Please enter an integer.";

// A number read from the start of a text.
struct DecimalNumber {
    bool read = false;      // at least one digit was read
    bool saturated = false; // the digits did not fit: value is INT64_MIN or INT64_MAX
    int64_t value = 0;
    size_t end = 0; // offset just after the last character read
};

// Optional leading white space, an optional sign, then digits; reading stops at
// the first other character, so "6," and "1994," read as 6 and 1994.
DecimalNumber ReadDecimal(std::string_view text);

// A number box's text as a whole integer: optional white space around an
// optional sign and digits, nothing else, and the value fits a 32-bit int.
// Returns false (value untouched) otherwise.
bool ReadWholeInt(std::string_view text, int& value);
