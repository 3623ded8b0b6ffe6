#include "menus/tool_button_look.h"

CToolButtonLook ToolButtonLook(const CToolButtonState& state, const CMenuPalette& palette) {
    CToolButtonLook look;
    const bool bRaised = state.bHot && state.bEnabled;
    bool bPressed = false;
    if (bRaised || state.bChecked) {
        // A press on the arrow part opens the drop-down; the button itself
        // then shows raised, not pressed.
        bPressed = state.bPressed && !(state.bDropDown && state.bArrowPressed);
        look.bBox = true;
        look.boxOutline = palette.highlight;
        if (bPressed || (bRaised && state.bChecked))
            look.boxFill = AdjustColorHLS(palette.highlight, 50, -50);
        else if (bRaised)
            look.boxFill = AdjustColorHLS(palette.highlight, 70, -57);
        else
            look.boxFill = AdjustColorHLS(palette.highlight, 80, -66);
        if (state.bDropDown) {
            if (bPressed) {
                look.nBoxTrimRight = TOOL_DROPDOWN_WIDTH - 1;
                look.dropDown = DropDownPart::PressedArrow;
                look.arrowPartFill = AdjustColorHLS(palette.highlight, 70, -66);
            } else {
                look.dropDown = DropDownPart::SplitLine;
            }
        }
    }
    look.arrow = !state.bEnabled ? palette.grayText : bRaised ? CRgb{0, 0, 0} : palette.buttonText;
    if (state.bImage) {
        look.bSilhouette = !state.bEnabled || (bRaised && !bPressed);
        look.nSilhouetteOffset = bRaised ? 4 : 3;
        look.silhouette = bRaised ? AdjustColorHLS(palette.highlight, 50, -66)
                                  : AdjustColorHLS(palette.face, -27, 0);
        look.bImage = state.bEnabled;
        look.nImageOffset = bRaised && !bPressed ? 2 : 3;
    }
    return look;
}

CRgb ToolBarBackground(const CMenuPalette& palette) {
    return AdjustColorHLS(palette.face, 20, 0);
}

CRgb ToolBarSeparator(const CMenuPalette& palette) {
    return AdjustColorHLS(palette.face, -15, 0);
}
