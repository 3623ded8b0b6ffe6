// IProfile: the user's settings store, as sections of named numbers and texts.
//
// The application uses CSettingsProfile (an INI file through QSettings); tests
// and tools use CMemoryProfile. Reads of a missing value give the default;
// writes report nothing.
#pragma once

#include <string>
#include <string_view>

// The section holding the field and file-type settings.
inline constexpr std::string_view PROFILE_SECTION_USER = "User";

class IProfile {
public:
    virtual ~IProfile() = default;
    // A value that is missing or is no decimal number reads as defaultValue.
    virtual int GetProfileInt(std::string_view section, std::string_view entry,
                              int defaultValue) const = 0;
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue) const = 0;
    virtual void WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual void WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) = 0;
};
