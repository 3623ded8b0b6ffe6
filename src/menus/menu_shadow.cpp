#include "menus/menu_shadow.h"

std::vector<CShadowPixel> RightShadowPixels(int width, int height) {
    std::vector<CShadowPixel> pixels;
    // Column i counts inward from the outer edge; row j downward from the
    // strip's top, which starts SHADOW_SIZE rows below the window's top. The
    // outer columns start lower and the top rows are lighter: a soft corner.
    for (int i = 0; i < SHADOW_SIZE; ++i) {
        const int x = width - 1 - i;
        if (x < 0)
            break;
        const int end = height - 1 - i - (i == 0 ? 1 : 0);
        for (int j = i < 2 ? 2 - i : 0; SHADOW_SIZE + j < end; ++j) {
            int k = i;
            if (j == 0)
                k = 0;
            else if (j == 1)
                k = i > 1 ? 1 : 0;
            else if (j == 2 && i > 1)
                k = 2;
            pixels.push_back({x, SHADOW_SIZE + j, k});
        }
    }
    return pixels;
}

std::vector<CShadowPixel> MenuShadowPixels(int width, int height) {
    std::vector<CShadowPixel> pixels = RightShadowPixels(width, height);
    // Column i counts from SHADOW_SIZE pixels in from the left, row j upward
    // from the bottom edge; both ends of the strip fade and its right end
    // meets the right strip on a diagonal.
    for (int i = 0; i < width - 1; ++i) {
        const int x = SHADOW_SIZE + i;
        int start = 0;
        if (i <= 1)
            start = 2 - i;
        else if (i > width - 7)
            start = i - width + 7;
        const int end = i > width - 8 ? width - i - 4 : SHADOW_SIZE;
        for (int j = start; j < end; ++j) {
            int k = j;
            if (i == 0)
                k = 0;
            else if (i == 1)
                k = j > 1 ? 1 : 0;
            else if (i == 2 && j > 1)
                k = 2;
            const int y = height - 1 - j;
            if (x < width && y >= 0)
                pixels.push_back({x, y, k});
        }
    }
    return pixels;
}

CRgb ShadowDarken(CRgb under, int k) {
    const int factor = 93 - 5 * k;
    return {under.r * factor / 100, under.g * factor / 100, under.b * factor / 100};
}

int ShadowOpacityPercent(int k) {
    return 7 + 5 * k;
}
