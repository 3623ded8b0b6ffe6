// ASCII white space, trimming and lower case for byte strings, where bytes
// from 0x80 on are left as they are.
#pragma once

#include <string>
#include <string_view>

// White space: space, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

inline std::string_view TrimLeftAscii(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    return text;
}

inline std::string_view TrimRightAscii(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

inline std::string_view TrimAscii(std::string_view text) {
    return TrimRightAscii(TrimLeftAscii(text));
}
