// Colour maths of the flat menus and toolbars.
//
// Every colour the menus and toolbars paint is a few system colours (the
// button face, the selection colour, ...) made lighter, darker, or less
// saturated with AdjustColorHLS, so the look follows the user's colour scheme.
#pragma once

#include <vector>

// A colour as three bytes, red, green, blue (0 to 255 each).
struct CRgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const CRgb&, const CRgb&) = default;
};

// A colour as the profile stores it: 0x00BBGGRR (red in the low byte).
CRgb RgbFromColorRef(int colorRef);
int ColorRefFromRgb(CRgb color);

// The colour with its lightness and saturation moved by the given percentages
// (-100 to 100): a positive one moves the value that share of the way toward
// full, a negative one that share of the way toward none. The hue stays. The
// arithmetic works on hue, lightness and saturation scaled to bytes, so a
// colour taken there and back may come out one step darker.
CRgb AdjustColorHLS(CRgb color, int lightnessPercent, int saturationPercent);

// One vertical strip of a horizontal gradient: columns [nLeft, nRight).
struct CGradientStrip {
    int nLeft = 0;
    int nRight = 0;
    CRgb color;
};

// The strips that paint a gradient from `from` at column `left` to `to` over
// `width` columns: one strip per colour step (as many steps as the largest
// difference of a component), each strip the step's share of the width; the
// columns left over at the right take the last step's colour. Equal colours
// give one solid strip; strips narrower than a column are left out.
std::vector<CGradientStrip> GradientStrips(CRgb from, CRgb to, int left, int width);

// The system colours the menus and toolbars are painted from.
struct CMenuPalette {
    CRgb face;       // button face
    CRgb highlight;  // selection
    CRgb darkShadow; // the darkest edge of 3-D elements
    CRgb shadow;     // button shadow
    CRgb menuText;
    CRgb buttonText;
    CRgb grayText; // disabled text
};
