// The Robots assistant's model: the two check boxes a value opens with and the
// value they compose.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class RobotsValue {
public:
    // Reads the comma-separated directives: "noindex" and "none" tick the first
    // box, "nofollow" and "none" the second (any case); "index", "follow" and
    // "all" tick neither. Every other directive is kept as written.
    explicit RobotsValue(std::string_view value);

    // The value with the boxes' directives ("noindex", "nofollow" or both)
    // where the first of them stood (at the end when there was none) and the
    // kept directives around them in their order, joined by ", ":
    // "noindex, noarchive" with both boxes ticked gives
    // "noindex, nofollow, noarchive".
    std::string Compose() const;

    bool m_bNoIndex = false;  // "Prevent robots adding this page to search engines"
    bool m_bNoFollow = false; // "Prevent robots following links in this page"

private:
    std::vector<std::string> m_others; // directives the boxes do not show
    size_t m_nShownAt = 0;             // where the boxes' directives go among them
};
