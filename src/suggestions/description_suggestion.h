// The description proposed from a page's visible text.
#pragma once

#include <string>
#include <string_view>

// The opening words of bodyText (the page's GetBodyText) proposed as the page's
// description: separators collapsed, cut before the 36th space when the text
// has one, then cut after the last full stop when that lies past the middle of
// what is left (any full stop when nothing was cut). "" for an empty body.
std::string ProposeDescription(std::string_view bodyText);
