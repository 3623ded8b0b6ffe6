// What the flat toolbars paint for a button in a given state.
//
// The bar is face +20 %. A hot, pressed or checked button gets a box framed
// in the selection colour and filled with a pale version of it (palest when
// only checked, darkest when pressed). The hot button's image is lifted up
// and left of its one-colour silhouette; a disabled button shows only its
// silhouette. Drop-down buttons carry a small arrow in their rightmost
// TOOL_DROPDOWN_WIDTH pixels.
#pragma once

#include "menus/menu_colors.h"

// Borders around the buttons of a toolbar.
inline constexpr int TOOLBAR_BORDER_LEFT = 1;
inline constexpr int TOOLBAR_BORDER_TOP = 3;
inline constexpr int TOOLBAR_BORDER_RIGHT = 6;
inline constexpr int TOOLBAR_BORDER_BOTTOM = 4;
// A button is its image plus this much, in both directions.
inline constexpr int TOOL_BUTTON_MARGIN = 7;
// The arrow part of a drop-down button.
inline constexpr int TOOL_DROPDOWN_WIDTH = 14;
// The width a separator takes in a horizontal bar (its height in a vertical one).
inline constexpr int TOOL_SEPARATOR_EXTENT = 8;

struct CToolButtonState {
    bool bHot = false;
    bool bEnabled = true;
    bool bChecked = false;
    // The left mouse button is down with the cursor on the button.
    bool bPressed = false;
    bool bDropDown = false;
    // Of a drop-down button, the press is on its arrow part.
    bool bArrowPressed = false;
    bool bImage = true;
};

enum class DropDownPart { None, PressedArrow, SplitLine };

struct CToolButtonLook {
    bool bBox = false;
    CRgb boxOutline;
    CRgb boxFill;
    // The box leaves out this many pixels at the right (the arrow part of a
    // drop-down button pressed on its main part).
    int nBoxTrimRight = 0;
    DropDownPart dropDown = DropDownPart::None;
    CRgb arrowPartFill; // PressedArrow: the arrow part's own fill
    CRgb arrow;         // the drop-down arrow
    bool bSilhouette = false;
    int nSilhouetteOffset = 0;
    CRgb silhouette;
    bool bImage = false;
    int nImageOffset = 0;
};

CToolButtonLook ToolButtonLook(const CToolButtonState& state, const CMenuPalette& palette);

// The bar's background and its separator lines.
CRgb ToolBarBackground(const CMenuPalette& palette);
CRgb ToolBarSeparator(const CMenuPalette& palette);
