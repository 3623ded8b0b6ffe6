// Comparing and cleaning tag names.
#pragma once

#include <string>
#include <string_view>

// a == b ignoring the case of ASCII letters, as tag names are matched.
int EqualsNoCase(std::string_view a, std::string_view b);

// text without leading and trailing white space (space, tab, CR, LF, VT, FF).
std::string_view TrimWhiteSpace(std::string_view text);
