#include "assistants/robots_value.h"

#include "assistants/decimal_number.h"
#include "assistants/directive_list.h"

namespace {

// The directives the two boxes stand for, with the boxes they tick.
struct ShownDirective {
    std::string_view name;
    bool noIndex;
    bool noFollow;
};
constexpr ShownDirective kShown[] = {
    {"noindex", true, false}, {"nofollow", false, true}, {"none", true, true},
    {"index", false, false},  {"follow", false, false},  {"all", false, false},
};

const ShownDirective* FindShown(std::string_view word) {
    const std::string lower = AsciiLower(word);
    for (const ShownDirective& shown : kShown)
        if (lower == shown.name)
            return &shown;
    return nullptr;
}

} // namespace

RobotsValue::RobotsValue(std::string_view value) {
    bool found = false;
    for (const std::string_view piece : SplitDirectives(value)) {
        // A piece of nothing but box words ("noindex nofollow", written without
        // a comma) counts as those words; any other piece is kept whole.
        const std::vector<std::string_view> words = SplitWords(piece);
        bool allShown = true;
        for (const std::string_view word : words)
            allShown = allShown && FindShown(word) != nullptr;
        if (!allShown) {
            m_others.emplace_back(piece);
            continue;
        }
        for (const std::string_view word : words) {
            const ShownDirective* shown = FindShown(word);
            m_bNoIndex = m_bNoIndex || shown->noIndex;
            m_bNoFollow = m_bNoFollow || shown->noFollow;
        }
        if (!found)
            m_nShownAt = m_others.size();
        found = true;
    }
    if (!found)
        m_nShownAt = m_others.size();
}

std::string RobotsValue::Compose() const {
    static const char* const kValues[] = {"", "noindex", "nofollow", "noindex, nofollow"};
    return JoinDirectives(m_others, m_nShownAt,
                          kValues[(m_bNoIndex ? 1 : 0) + 2 * (m_bNoFollow ? 1 : 0)]);
}
