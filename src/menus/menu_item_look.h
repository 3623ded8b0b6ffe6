// What the flat menus paint for an item in a given state, as colours and
// offsets; the style turns a look into pixels.
//
// An unselected pop-up item has a light band on its left (a gradient from
// GradientStart to GradientEnd over GradientWidth pixels, the rest
// GradientEnd; without gradients the first 22 pixels face +20 % and the rest
// face +75 %). The selected item is framed in the selection colour and filled
// with a pale version of it (or a gradient from GradientStart). Checked items
// get a framed box behind their image, or a radio dot or check mark when they
// have none. The selected image is lifted: drawn up and left of its silhouette.
#pragma once

#include "menus/menu_colors.h"
#include "menus/menu_settings.h"

// A background: a band from the left edge, a gradient bandFrom -> bandTo over
// nBandWidth pixels (-1: the whole item), the rest in one colour, and
// optionally a one-pixel outline around the item.
struct CItemBackground {
    CRgb bandFrom;
    CRgb bandTo;
    int nBandWidth = -1;
    CRgb rest;
    bool bOutline = false;
    CRgb outline;
};

enum class CheckMark { None, Radio, Check };

struct CPopupItemState {
    bool bSelected = false;
    bool bDisabled = false;
    bool bChecked = false;
    bool bRadio = false; // one of a group of exclusive choices
    bool bDefault = false;
    bool bImage = false;
    bool bSeparator = false;
};

struct CPopupItemLook {
    CItemBackground background;
    CRgb separator; // the separator line, for separators only
    CRgb text;
    bool bBold = false;
    // The box behind a checked item's image or mark: outline in the highlight
    // colour, filled with checkBoxFill.
    bool bCheckBox = false;
    CRgb checkBoxFill;
    CheckMark mark = CheckMark::None;
    CRgb markColor;
    // The image's one-colour silhouette and the image itself, each drawn at
    // an offset (pixels right and down) from the item's top-left corner.
    bool bSilhouette = false;
    int nSilhouetteOffset = 0;
    CRgb silhouette;
    bool bImage = false;
    int nImageOffset = 0;
};

// The look of a pop-up item; bDeepColour is whether the screen has more than
// 8 bits per pixel (gradients need it).
CPopupItemLook PopupItemLook(const CPopupItemState& state, const CMenuPalette& palette,
                             const CMenuSettings& settings, bool bDeepColour);

// The pop-up window around the items: its background (what an unselected
// item's band ends in) and its frame, an outline in the dark-shadow colour
// and two more one pixel further in each. joinLine is the colour of the top
// edge under the open menu-bar item, so that item and pop-up look joined.
struct CMenuPanelLook {
    CRgb background;
    CRgb outline;
    CRgb innerOutline;
    CRgb joinLine;
};
CMenuPanelLook MenuPanelLook(const CMenuPalette& palette, const CMenuSettings& settings,
                             bool bDeepColour);

struct CBarItemState {
    bool bOpen = false; // its pop-up is open
    bool bHot = false;  // under the mouse or chosen with the keyboard
    bool bInactive = false;
    bool bDisabled = false;
};

// A menu-bar item: the face colour, or a framed box over all but the item's
// MENU_BAR_ITEM_STRIP rightmost pixels, which keep the face colour and, under
// an open item, its shadow.
struct CBarItemLook {
    CRgb background;
    bool bBox = false;
    CRgb boxOutline;
    CRgb boxFill;
    bool bStripShadow = false;
    CRgb text;
};
CBarItemLook BarItemLook(const CBarItemState& state, const CMenuPalette& palette);
