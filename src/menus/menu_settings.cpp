#include "menus/menu_settings.h"

#include "settings/profile.h"

CMenuSettings CMenuSettings::Read(const IProfile& profile) {
    CMenuSettings settings;
    settings.m_bShowGradient =
        profile.GetProfileInt(PROFILE_SECTION_MENU_XP, "ShowGradient", 1) != 0;
    settings.m_bShowGradientSel =
        profile.GetProfileInt(PROFILE_SECTION_MENU_EX, "ShowGradientSel", 1) != 0;
    settings.m_nGradientStart =
        profile.GetProfileInt(PROFILE_SECTION_MENU_XP, "GradientStart", DEFAULT_GRADIENT_START);
    settings.m_nGradientEnd =
        profile.GetProfileInt(PROFILE_SECTION_MENU_XP, "GradientEnd", DEFAULT_GRADIENT_END);
    settings.m_nGradientWidth =
        profile.GetProfileInt(PROFILE_SECTION_MENU_XP, "GradientWidth", DEFAULT_GRADIENT_WIDTH);
    return settings;
}

CRgb CMenuSettings::GradientStart(CRgb face) const {
    return m_nGradientStart < 0 ? AdjustColorHLS(face, 20, 0) : RgbFromColorRef(m_nGradientStart);
}

CRgb CMenuSettings::GradientEnd(CRgb face) const {
    return m_nGradientEnd < 0 ? AdjustColorHLS(face, 75, 0) : RgbFromColorRef(m_nGradientEnd);
}
