// The Robots assistant's model: the two check boxes a value opens with and the
// value they compose.
#pragma once

#include <string>
#include <string_view>

class RobotsValue {
public:
    // "noindex" and "nofollow" anywhere in the value, in any case, tick the
    // boxes; every other directive is dropped.
    explicit RobotsValue(std::string_view value);

    // "", "noindex", "nofollow" or "noindex, nofollow".
    std::string Compose() const;

    bool m_bNoIndex = false;  // "Prevent robots adding this page to search engines"
    bool m_bNoFollow = false; // "Prevent robots following links in this page"
};
