#include "suggestions/description_suggestion.h"

#include "suggestions/collapse_separators.h"

namespace {

// The proposal holds at most this many words before the full-stop rule applies.
constexpr int kMaxWords = 36;

} // namespace

std::string ProposeDescription(std::string_view bodyText) {
    std::string text = CollapseSeparators(bodyText, 0);

    // Position of the 36th space, or npos when the text has fewer.
    size_t space = text.find(' ');
    for (int i = 1; i < kMaxWords && space != std::string::npos; ++i)
        space = text.find(' ', space + 1);
    long long p = -1;
    if (space != std::string::npos) {
        text.resize(space);
        p = static_cast<long long>(space);
    }

    // A sentence end late enough makes a cleaner cut; with no word cut off,
    // any sentence end is late enough.
    const size_t dot = text.rfind('.');
    if (dot != std::string::npos && 2 * static_cast<long long>(dot) > p)
        text.resize(dot + 1);
    return text;
}
