// CSettingsProfile: the user's profile as an INI file, through QSettings.
//
// The default file is the application's own:
// QSettings(IniFormat, UserScope, "Local AppWizard-Generated Applications",
// "TSLE"), i.e. ~/.config/Local AppWizard-Generated Applications/TSLE.ini.
// Sections are INI groups. Texts are stored as UTF-8; bytes that are not valid
// UTF-8 are stored as a byte array so that they read back unchanged. Changes
// reach the file at the latest when the object is destroyed.
#pragma once

#include <QSettings>
#include <QString>

#include "settings/profile.h"

inline constexpr const char* PROFILE_ORGANIZATION = "Local AppWizard-Generated Applications";
inline constexpr const char* PROFILE_APPLICATION = "TSLE";

class CSettingsProfile : public IProfile {
public:
    // The application's profile.
    CSettingsProfile();
    // An INI file of the caller's choice.
    explicit CSettingsProfile(const QString& iniFile);

    int GetProfileInt(std::string_view section, std::string_view entry,
                      int defaultValue) const override;
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) const override;
    void WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    void WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value) override;

    // Writes pending changes to the file now.
    void Sync() { m_settings.sync(); }
    QString GetFileName() const { return m_settings.fileName(); }

private:
    static QString Key(std::string_view section, std::string_view entry);
    mutable QSettings m_settings;
};
