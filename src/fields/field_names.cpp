#include "fields/field_names.h"

#include <algorithm>

#include "page/ascii_text.h"

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int EqualsNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); })
               ? 1
               : 0;
}

std::string_view TrimWhiteSpace(std::string_view text) {
    return TrimAscii(text);
}
