#include "suggestions/collapse_separators.h"

namespace {

bool IsSeparator(char c, bool withPunctuation) {
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case ' ':
        return true;
    case ':':
    case ';':
    case '.':
    case ',':
    case '(':
    case ')':
    case '{':
    case '}':
    case '\'':
    case '"':
    case '?':
    case '!':
        return withPunctuation;
    default:
        return false;
    }
}

} // namespace

std::string CollapseSeparators(std::string_view text, int withPunctuation) {
    std::string result;
    result.reserve(text.size());
    bool inRun = false;
    for (const char c : text) {
        if (!IsSeparator(c, withPunctuation != 0)) {
            result += c;
            inRun = false;
        } else if (!inRun) {
            result += ' ';
            inRun = true;
        }
    }
    return result;
}
