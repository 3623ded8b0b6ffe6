// Data of the Encoding Standard that the page codec needs beside the system's
// converters; generated into encoding_data.cpp by scripts/gen-encoding-data.py.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// A label and the name of the encoding it stands for ("latin1" is
// "windows-1252"), in lower case and sorted by label.
struct EncodingLabel {
    std::string_view label;
    std::string_view encoding;
};
extern const std::array<EncodingLabel, 228> kEncodingLabels;

// The characters of the bytes 0x80 to 0xFF of ISO-8859-16, which the
// converters lack (0xFFFD: none).
extern const std::array<char16_t, 128> kIso8859_16High;

// A byte pair (lead byte times 256 plus trail byte) and the one or two
// characters it stands for (second 0: one), for the pairs that the
// converters read as an error or a private-use character; sorted by pair.
struct BytePairText {
    uint16_t pair;
    char32_t first;
    char32_t second;
};
extern const std::array<BytePairText, 161> kBig5Pairs;
extern const std::array<BytePairText, 19> kGb18030Pairs;
