// The file-types setting: which file names count as web pages.
#pragma once

#include <string_view>

// The setting when the profile has none.
inline constexpr std::string_view DEFAULT_FILE_TYPES = "*.htm;*.html;*.php;*.asp;*.aspx;*.mtpl";

// 1 when a file named fileName (no folder) counts as a web page under fileTypes,
// a ";"-separated list of "*.ext" patterns: the name has no ".", or the setting
// is empty, or it holds "*." + the text after the name's last "." as a whole
// entry. The comparison is exact and case-sensitive.
int IsWebPageName(std::string_view fileName, std::string_view fileTypes);
