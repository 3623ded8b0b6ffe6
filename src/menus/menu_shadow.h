// The soft shadow at the right of and below a pop-up menu.
//
// A pop-up that casts its own shadow is SHADOW_SIZE pixels wider and taller
// than its frame; the shadow pixels in that margin take the colour beneath
// them darkened by one of four factors, lightest at the outer edge and at the
// ends of the strips, so the shadow fades out softly. The open menu-bar item
// casts the right strip of the same shadow onto the menu bar.
#pragma once

#include <vector>

#include "menus/menu_colors.h"

inline constexpr int SHADOW_SIZE = 4;

// One shadow pixel: its position in the window and its depth k (0 to 3).
struct CShadowPixel {
    int x = 0;
    int y = 0;
    int k = 0;
};

// The shadow pixels of the strip along the right edge of a width x height area.
std::vector<CShadowPixel> RightShadowPixels(int width, int height);
// The shadow pixels of a whole pop-up window (right strip, then bottom strip);
// width and height include the shadow margin.
std::vector<CShadowPixel> MenuShadowPixels(int width, int height);

// The colour beneath a shadow pixel of depth k: each component times (93 - 5k) %.
CRgb ShadowDarken(CRgb under, int k);
// The opacity of black that darkens any colour as ShadowDarken does: 7 + 5k %.
int ShadowOpacityPercent(int k);
