// Comma-separated directive lists ("noindex, noarchive", "private, max-age=600")
// as the Robots and Cache-Control assistants read and rebuild them: the
// directives a dialog shows are replaced, every other one is kept in its place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The directives of value: the pieces between commas, trimmed of ASCII white
// space, empty pieces left out.
std::vector<std::string_view> SplitDirectives(std::string_view value);

// The words of a directive, split at ASCII white space.
std::vector<std::string_view> SplitWords(std::string_view directive);

// others joined by ", ", with shown (when not empty) inserted before
// others[at] (at the end when at is others.size()).
std::string JoinDirectives(const std::vector<std::string>& others, size_t at,
                           std::string_view shown);
