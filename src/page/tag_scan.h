// Finding, at about the speed of memchr, where a text may hold tags of a few
// names, so that the part of a page that holds none of them need not be cut
// into pieces at all.
#pragma once

#include <cstddef>
#include <string_view>

// The names looked for.
struct TagNameSet {
    bool meta = false;
    bool head = false;
    bool body = false;
};

// The offset of the last "<" in text at or after from that may start a tag
// the page model reads as named one of names, or npos. Generous, never
// missing one: it matches "<", white space, an optional "/", white space, the
// name in any case, then white space, "/", ">" or the end of the text, also
// inside comments, quotes and scripts.
size_t LastPossibleTag(std::string_view text, size_t from, TagNameSet names);
