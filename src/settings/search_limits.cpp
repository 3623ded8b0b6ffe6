#include "settings/search_limits.h"

#include <string_view>

#include "settings/profile.h"

namespace {

constexpr int MAX_PX = 10000;

struct Entry {
    std::string_view name;
    int CSearchLimits::*value;
};
constexpr Entry kEntries[] = {
    {"SearchTitleFontPx", &CSearchLimits::m_nTitleFontPx},
    {"SearchTitlePx", &CSearchLimits::m_nTitlePx},
    {"SearchDescriptionFontPx", &CSearchLimits::m_nDescriptionFontPx},
    {"SearchDescriptionPx", &CSearchLimits::m_nDescriptionPx},
    {"SearchDescriptionMobilePx", &CSearchLimits::m_nDescriptionMobilePx},
};

} // namespace

void LoadSearchLimits(const IProfile& profile, CSearchLimits& limits) {
    const CSearchLimits defaults;
    for (const Entry& entry : kEntries) {
        const int value = profile.GetProfileInt(PROFILE_SECTION_USER, entry.name, 0);
        limits.*entry.value = value >= 1 && value <= MAX_PX ? value : defaults.*entry.value;
    }
}

void SaveSearchLimits(IProfile& profile, const CSearchLimits& limits) {
    for (const Entry& entry : kEntries)
        profile.WriteProfileInt(PROFILE_SECTION_USER, entry.name, limits.*entry.value);
}
