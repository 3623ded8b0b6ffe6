// HTML's named character references ("amp;" is "&"), generated into
// named_char_refs.cpp by scripts/gen-char-refs.py. Names that a browser also
// takes without the ";" (the legacy ones: "amp", "copy" ...) are listed both
// ways.
#pragma once

#include <array>
#include <string_view>

struct NamedCharRef {
    std::string_view name; // without the "&", sorted
    std::string_view text; // UTF-8
};
extern const std::array<NamedCharRef, 2231> kNamedCharRefs;
