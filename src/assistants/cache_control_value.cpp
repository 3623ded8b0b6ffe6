#include "assistants/cache_control_value.h"

#include "assistants/decimal_number.h"
#include "assistants/directive_list.h"

namespace {

// A directive without its spaces, lower case: "Max-Age = 600" gives "max-age=600".
std::string Compact(std::string_view directive) {
    std::string compact;
    for (char c : AsciiLower(directive)) {
        if (c != ' ')
            compact += c;
    }
    return compact;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

CacheControlValue::CacheControlValue(std::string_view value)
    : m_strValue(value), m_strMaxAge(std::to_string(CACHE_DEFAULT_MAX_AGE)) {
    bool noCache = false;
    std::string maxAge; // the first max-age directive, compacted
    bool found = false;
    for (const std::string_view piece : SplitDirectives(value)) {
        const std::string compact = Compact(piece);
        if (StartsWith(compact, "no-cache")) {
            noCache = true;
        } else if (StartsWith(compact, "max-age")) {
            if (maxAge.empty())
                maxAge = compact;
        } else {
            m_others.emplace_back(piece);
            continue;
        }
        if (!found)
            m_nShownAt = m_others.size();
        found = true;
    }
    if (!found)
        m_nShownAt = m_others.size();

    if (noCache) {
        m_nChoice = CACHE_NO_CACHE;
        return;
    }
    if (maxAge.empty()) {
        m_nChoice = CACHE_DONT_LIMIT;
        return;
    }
    m_nChoice = CACHE_MAX_AGE;
    std::string_view number = maxAge;
    const size_t equals = maxAge.find('=');
    if (equals != std::string::npos)
        number = number.substr(equals + 1);
    // A max-age is never negative: '-5' keeps the default instead of being
    // shown as its huge unsigned equivalent.
    const DecimalNumber age = ReadDecimal(number);
    if (age.read && age.value >= 0)
        m_strMaxAge = std::to_string(age.value);
}

bool CacheControlValue::IsOkEnabled() const {
    if (m_nChoice != CACHE_MAX_AGE)
        return true;
    const DecimalNumber age = ReadDecimal(m_strMaxAge);
    return age.read && age.value > 0;
}

bool CacheControlValue::Accept(std::string& message) {
    if (m_nChoice == CACHE_DONT_LIMIT || m_nChoice == CACHE_NO_CACHE) {
        m_strValue =
            JoinDirectives(m_others, m_nShownAt, m_nChoice == CACHE_NO_CACHE ? "no-cache" : "");
        // Goes in as a temporary: GCC 12 at -O3 warns falsely when a literal
        // is assigned to this member.
        m_strMaxAge = std::string("0"); // the unused box must not fail validation
        return true;
    }
    int age = 0;
    if (!ReadWholeInt(m_strMaxAge, age)) {
        message = MSG_ENTER_INTEGER;
        return false;
    }
    if (age <= 0) { // OK is disabled then; refused in case it is pressed anyway
        message = MSG_CACHE_MAX_AGE_POSITIVE;
        return false;
    }
    m_strValue = JoinDirectives(m_others, m_nShownAt, "max-age=" + std::to_string(age));
    return true;
}
