// Telling valid UTF-8 in byte strings that may hold any bytes.
#pragma once

#include <cstddef>
#include <string_view>

// Length of the valid UTF-8 sequence that starts at s[i]: 1 for an ASCII byte,
// 2 to 4 for a well-formed multi-byte sequence (no overlong forms, surrogates or
// code points beyond U+10FFFF), and 0 when s[i] starts none.
inline size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    size_t len;
    unsigned min;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    unsigned cp = c & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}
