#include "menus/menu_item_look.h"

#include "menus/menu_item_data.h"

namespace {

CRgb SelectedFill(const CMenuPalette& palette, bool bDisabled) {
    return bDisabled ? AdjustColorHLS(palette.face, 73, 0)
                     : AdjustColorHLS(palette.highlight, 70, -57);
}

} // namespace

CPopupItemLook PopupItemLook(const CPopupItemState& state, const CMenuPalette& palette,
                             const CMenuSettings& settings, bool bDeepColour) {
    CPopupItemLook look;
    const bool bGradient = settings.m_bShowGradient && bDeepColour;
    const CRgb start = settings.GradientStart(palette.face);
    const CRgb end = settings.GradientEnd(palette.face);
    CItemBackground& bg = look.background;
    if (state.bSelected && !state.bSeparator) {
        const CRgb fill = SelectedFill(palette, state.bDisabled);
        bg.bOutline = true;
        bg.outline = palette.highlight;
        bg.nBandWidth = -1;
        if (bGradient && settings.m_bShowGradientSel) {
            bg.bandFrom = state.bDisabled ? fill : start;
            bg.bandTo = end;
        } else {
            bg.bandFrom = bg.bandTo = fill;
        }
        bg.rest = bg.bandTo;
    } else if (bGradient) {
        bg.bandFrom = start;
        bg.bandTo = end;
        bg.nBandWidth = settings.m_nGradientWidth;
        bg.rest = end;
    } else {
        bg.bandFrom = bg.bandTo = AdjustColorHLS(palette.face, 20, 0);
        bg.nBandWidth = MENU_PLAIN_BAND_WIDTH;
        bg.rest = AdjustColorHLS(palette.face, 75, 0);
    }
    look.separator = AdjustColorHLS(palette.face, -18, 0);
    if (state.bSeparator)
        return look;

    look.text = state.bDisabled ? AdjustColorHLS(palette.face, -18, 0) : palette.menuText;
    look.bBold = state.bDefault;
    if (state.bChecked) {
        look.bCheckBox = true;
        look.checkBoxFill = state.bDisabled   ? AdjustColorHLS(palette.face, 73, 0)
                            : state.bSelected ? AdjustColorHLS(palette.highlight, 50, -50)
                                              : AdjustColorHLS(palette.highlight, 70, -57);
        if (!state.bImage) {
            look.mark = state.bRadio ? CheckMark::Radio : CheckMark::Check;
            look.markColor = !state.bRadio     ? look.text
                             : state.bDisabled ? AdjustColorHLS(palette.face, -27, 0)
                                               : palette.menuText;
        }
    }
    if (state.bImage) {
        // The selected image of an unchecked item rises above its silhouette.
        const bool bRaised = state.bSelected && !state.bDisabled;
        look.bSilhouette = state.bDisabled || (state.bSelected && !state.bChecked);
        look.nSilhouetteOffset = bRaised ? 4 : 3;
        look.silhouette = bRaised ? AdjustColorHLS(palette.highlight, 50, -66)
                                  : AdjustColorHLS(palette.face, -27, 0);
        look.bImage = !state.bDisabled;
        look.nImageOffset = state.bSelected && !state.bChecked ? 2 : 3;
    }
    return look;
}

CMenuPanelLook MenuPanelLook(const CMenuPalette& palette, const CMenuSettings& settings,
                             bool bDeepColour) {
    const CPopupItemLook item = PopupItemLook({}, palette, settings, bDeepColour);
    return {item.background.rest, palette.darkShadow, AdjustColorHLS(palette.face, 75, 0),
            AdjustColorHLS(palette.face, 20, 0)};
}

CBarItemLook BarItemLook(const CBarItemState& state, const CMenuPalette& palette) {
    CBarItemLook look;
    look.background = palette.face;
    if (state.bOpen) {
        look.bBox = true;
        look.boxOutline = palette.darkShadow;
        look.boxFill = AdjustColorHLS(palette.face, 20, 0);
        look.bStripShadow = true;
    } else if (state.bHot && !state.bInactive) {
        look.bBox = true;
        look.boxOutline = palette.highlight;
        look.boxFill = SelectedFill(palette, state.bDisabled);
    }
    look.text = state.bInactive   ? palette.shadow
                : state.bDisabled ? AdjustColorHLS(palette.face, -18, 0)
                                  : palette.menuText;
    return look;
}
