#include "settings/settings_profile.h"

#include <QByteArray>
#include <QVariant>

namespace {

QString FromBytes(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CSettingsProfile::CSettingsProfile()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, PROFILE_ORGANIZATION,
                 PROFILE_APPLICATION) {}

CSettingsProfile::CSettingsProfile(const QString& iniFile)
    : m_settings(iniFile, QSettings::IniFormat) {}

QString CSettingsProfile::Key(std::string_view section, std::string_view entry) {
    return FromBytes(section) + QLatin1Char('/') + FromBytes(entry);
}

int CSettingsProfile::GetProfileInt(std::string_view section, std::string_view entry,
                                    int defaultValue) const {
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

std::string CSettingsProfile::GetProfileString(std::string_view section, std::string_view entry,
                                               std::string_view defaultValue) const {
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return std::string(defaultValue);
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    return value.toString().toStdString();
}

void CSettingsProfile::WriteProfileInt(std::string_view section, std::string_view entry,
                                       int value) {
    m_settings.setValue(Key(section, entry), value);
}

void CSettingsProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                          std::string_view value) {
    const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
    const QString text = QString::fromUtf8(bytes);
    // A text that does not survive the round trip through UTF-8 goes in as bytes.
    if (text.toUtf8() == bytes)
        m_settings.setValue(Key(section, entry), text);
    else
        m_settings.setValue(Key(section, entry), bytes);
}
