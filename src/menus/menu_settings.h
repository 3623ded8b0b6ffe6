// CMenuSettings: the profile's settings of the flat menus, read once per run.
//
// | Section  | Value           | Default            | Meaning                            |
// | MenuXP   | ShowGradient    | 1                  | draw gradients at all              |
// | MenuEx   | ShowGradientSel | 1                  | draw the selected item as gradient |
// | MenuXP   | GradientStart   | 14992564           | left gradient colour (180, 196, 228) |
// | MenuXP   | GradientEnd     | 16777215 (white)   | right colour, menu background      |
// | MenuXP   | GradientWidth   | 30                 | band width of unselected items     |
//
// Colours are stored as 0x00BBGGRR; -1 (or any negative number) stands for a
// colour made from the button face: +20 % lightness for the start, +75 % for
// the end. Nothing writes these values.
#pragma once

#include <string_view>

#include "menus/menu_colors.h"

class IProfile;

inline constexpr std::string_view PROFILE_SECTION_MENU_XP = "MenuXP";
// ShowGradientSel lives in this section, apart from the others.
inline constexpr std::string_view PROFILE_SECTION_MENU_EX = "MenuEx";

class CMenuSettings {
public:
    static constexpr int DEFAULT_GRADIENT_START = 14992564; // RGB(180, 196, 228)
    static constexpr int DEFAULT_GRADIENT_END = 16777215;   // white
    static constexpr int DEFAULT_GRADIENT_WIDTH = 30;
    static constexpr int FACE_BASED_COLOR = -1;

    static CMenuSettings Read(const IProfile& profile);

    CRgb GradientStart(CRgb face) const;
    CRgb GradientEnd(CRgb face) const;

    bool m_bShowGradient = true;
    bool m_bShowGradientSel = true;
    int m_nGradientStart = DEFAULT_GRADIENT_START;
    int m_nGradientEnd = DEFAULT_GRADIENT_END;
    int m_nGradientWidth = DEFAULT_GRADIENT_WIDTH;
};
