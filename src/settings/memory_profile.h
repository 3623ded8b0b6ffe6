// CMemoryProfile: an IProfile held in memory, for tests and dry runs.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "settings/profile.h"

class CMemoryProfile : public IProfile {
public:
    int GetProfileInt(std::string_view section, std::string_view entry,
                      int defaultValue) const override;
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) const override;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;

    int HasValue(std::string_view section, std::string_view entry) const;
    void RemoveValue(std::string_view section, std::string_view entry);
    // Number of values in all sections.
    int GetCount() const { return static_cast<int>(m_values.size()); }

private:
    using Value = std::variant<int, std::string>;
    static std::string Key(std::string_view section, std::string_view entry);
    std::map<std::string, Value> m_values;
};
