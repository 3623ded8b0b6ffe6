// Separator collapsing shared by the description and keyword suggestions.
#pragma once

#include <string>
#include <string_view>

// Returns text with every run of separator characters replaced by one space
// (so a text ending in separators ends in one space). The separators are tab,
// line feed, carriage return and space; with withPunctuation not 0 also the
// characters :;.,(){}'"?! which are then replaced, not kept.
std::string CollapseSeparators(std::string_view text, int withPunctuation);
