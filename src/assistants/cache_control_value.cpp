#include "assistants/cache_control_value.h"

#include "assistants/decimal_number.h"

CacheControlValue::CacheControlValue(std::string_view value)
    : m_strValue(value), m_strMaxAge(std::to_string(CACHE_DEFAULT_MAX_AGE)) {
    const std::string lower = AsciiLower(value);
    if (lower.find("no-cache") != std::string::npos) {
        m_nChoice = CACHE_NO_CACHE;
        return;
    }
    if (lower.find("max-age") == std::string::npos) {
        m_nChoice = CACHE_DONT_LIMIT;
        return;
    }
    m_nChoice = CACHE_MAX_AGE;
    std::string compact;
    for (char c : lower) {
        if (c != ' ')
            compact += c;
    }
    std::string_view number = compact;
    const size_t equals = compact.find('=', compact.find("max-age"));
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
        // Texts go in as temporaries: GCC 12 at -O3 warns falsely when a
        // literal is assigned to these members.
        if (m_nChoice == CACHE_NO_CACHE)
            m_strValue = std::string("no-cache");
        else
            m_strValue.clear();
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
    m_strValue = "max-age=";
    m_strValue += std::to_string(age);
    return true;
}
