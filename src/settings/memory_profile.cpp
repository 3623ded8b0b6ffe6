#include "settings/memory_profile.h"

#include <charconv>

std::string CMemoryProfile::Key(std::string_view section, std::string_view entry) {
    std::string key(section);
    key += '/';
    key += entry;
    return key;
}

int CMemoryProfile::GetProfileInt(std::string_view section, std::string_view entry,
                                  int defaultValue) const {
    const auto it = m_values.find(Key(section, entry));
    if (it == m_values.end())
        return defaultValue;
    if (const int* number = std::get_if<int>(&it->second))
        return *number;
    // A text reads as a number only when it is one, as in the INI profile.
    const std::string& text = std::get<std::string>(it->second);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty() ? value
                                                                                  : defaultValue;
}

std::string CMemoryProfile::GetProfileString(std::string_view section, std::string_view entry,
                                             std::string_view defaultValue) const {
    const auto it = m_values.find(Key(section, entry));
    if (it == m_values.end())
        return std::string(defaultValue);
    if (const int* number = std::get_if<int>(&it->second))
        return std::to_string(*number);
    return std::get<std::string>(it->second);
}

void CMemoryProfile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    m_values[Key(section, entry)] = value;
}

void CMemoryProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                        std::string_view value) {
    m_values[Key(section, entry)] = std::string(value);
}

int CMemoryProfile::HasValue(std::string_view section, std::string_view entry) const {
    return m_values.count(Key(section, entry)) ? 1 : 0;
}

void CMemoryProfile::RemoveValue(std::string_view section, std::string_view entry) {
    m_values.erase(Key(section, entry));
}
