// Colour maths, gradients and the menu shadow.
#include "menus/menu_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "menus/menu_shadow.h"
#include "rgb_print.h"

namespace {

TEST(AdjustColorHLS, Table) {
    struct Row {
        CRgb in;
        int lightness, saturation;
        CRgb out;
    };
    const Row rows[] = {
        // Greys keep no hue: only the lightness moves.
        {{239, 239, 239}, 20, 0, {242, 242, 242}},
        {{239, 239, 239}, 75, 0, {251, 251, 251}},
        {{239, 239, 239}, -18, 0, {195, 195, 195}},
        {{239, 239, 239}, -27, 0, {174, 174, 174}},
        {{212, 208, 200}, 20, 0, {219, 216, 210}},
        // The ends of the scale stay put, or move all the way.
        {{255, 255, 255}, 50, 0, {255, 255, 255}},
        {{0, 0, 0}, -50, 0, {0, 0, 0}},
        {{0, 0, 0}, 100, 0, {255, 255, 255}},
        // The selection colours of menus and toolbars.
        {{48, 140, 198}, 70, -57, {204, 217, 225}},
        {{48, 140, 198}, 50, -50, {169, 194, 208}},
        {{48, 140, 198}, 50, -66, {175, 192, 202}},
        // No change but the truncation of the byte-scaled round trip.
        {{180, 195, 228}, 0, 0, {180, 195, 227}},
        {{255, 0, 0}, 0, 0, {254, 0, 0}},
        {{0, 128, 0}, 0, 0, {0, 128, 0}},
        // Saturation -100 % leaves the grey of the same lightness; lightness
        // moves toward white or black along the hue.
        {{255, 0, 0}, 0, -100, {127, 127, 127}},
        {{255, 0, 0}, 50, 0, {255, 127, 127}},
        {{0, 0, 255}, -50, 0, {0, 0, 126}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "(" << row.in.r << "," << row.in.g << "," << row.in.b
                                          << ") " << row.lightness << " " << row.saturation);
        EXPECT_EQ(AdjustColorHLS(row.in, row.lightness, row.saturation), row.out);
    }
}

TEST(ColorRef, RedIsTheLowByte) {
    EXPECT_EQ(RgbFromColorRef(14992564), (CRgb{180, 196, 228}));
    EXPECT_EQ(RgbFromColorRef(16777215), (CRgb{255, 255, 255}));
    EXPECT_EQ(ColorRefFromRgb({180, 196, 228}), 14992564);
    EXPECT_EQ(RgbFromColorRef(ColorRefFromRgb({1, 2, 3})), (CRgb{1, 2, 3}));
}

// Checks what every gradient must be: strips side by side from left to the
// right edge, starting with `from` when every step gets a column, each
// component moving one way only, and ending near `to`.
void ExpectGradient(CRgb from, CRgb to, int left, int width) {
    const std::vector<CGradientStrip> strips = GradientStrips(from, to, left, width);
    ASSERT_FALSE(strips.empty());
    EXPECT_EQ(strips.front().nLeft, left);
    const int steps =
        std::max({std::abs(to.r - from.r), std::abs(to.g - from.g), std::abs(to.b - from.b)});
    if (width >= steps) {
        EXPECT_EQ(strips.front().color, from);
    }
    EXPECT_EQ(strips.back().nRight, left + width);
    for (size_t i = 0; i < strips.size(); ++i) {
        EXPECT_LT(strips[i].nLeft, strips[i].nRight);
        if (i == 0)
            continue;
        EXPECT_EQ(strips[i].nLeft, strips[i - 1].nRight);
        const CRgb a = strips[i - 1].color;
        const CRgb b = strips[i].color;
        EXPECT_GE((b.r - a.r) * (to.r - from.r), 0);
        EXPECT_GE((b.g - a.g) * (to.g - from.g), 0);
        EXPECT_GE((b.b - a.b) * (to.b - from.b), 0);
    }
    // The last step falls short of `to` by one step, and truncation by one more.
    const CRgb last = strips.back().color;
    EXPECT_LE(std::abs(to.r - last.r), 2);
    EXPECT_LE(std::abs(to.g - last.g), 2);
    EXPECT_LE(std::abs(to.b - last.b), 2);
}

TEST(GradientStrips, CoverTheWidthFromStartTowardEnd) {
    // The menu band, wider and narrower than its step count, going down and up.
    ExpectGradient({230, 235, 245}, {255, 255, 255}, 3, 30);
    ExpectGradient({180, 196, 228}, {255, 255, 255}, 3, 30);
    ExpectGradient({180, 196, 228}, {255, 255, 255}, 0, 300);
    ExpectGradient({255, 255, 255}, {0, 0, 0}, 10, 7);
    ExpectGradient({10, 200, 30}, {11, 199, 30}, 0, 5);
    ExpectGradient({0, 0, 0}, {0, 0, 3}, 0, 10); // steps that do not divide the width
}

TEST(GradientStrips, EqualColoursGiveOneSolidBand) {
    const std::vector<CGradientStrip> strips = GradientStrips({1, 2, 3}, {1, 2, 3}, 4, 30);
    // More steps than columns: each column shows one of the steps.
    EXPECT_EQ(GradientStrips({0, 0, 0}, {255, 255, 255}, 0, 30).size(), 30u);
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0].nLeft, 4);
    EXPECT_EQ(strips[0].nRight, 34);
    EXPECT_EQ(strips[0].color, (CRgb{1, 2, 3}));
    EXPECT_TRUE(GradientStrips({0, 0, 0}, {9, 9, 9}, 0, 0).empty());
}

TEST(MenuShadow, PixelsLieInTheMarginOnceEachAndFadeOutward) {
    for (const auto& [width, height] : {std::pair{120, 200}, std::pair{30, 15}, std::pair{12, 9}}) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        std::set<std::pair<int, int>> seen;
        for (const CShadowPixel& p : MenuShadowPixels(width, height)) {
            EXPECT_TRUE(seen.insert({p.x, p.y}).second) << p.x << "," << p.y;
            EXPECT_TRUE(p.x >= 0 && p.x < width && p.y >= 0 && p.y < height);
            const bool right = p.x >= width - SHADOW_SIZE;
            const bool bottom = p.y >= height - SHADOW_SIZE;
            EXPECT_TRUE(right || bottom);
            // The corners at the top right and bottom left stay unshaded.
            EXPECT_FALSE(right && p.y < SHADOW_SIZE);
            EXPECT_FALSE(bottom && p.x < SHADOW_SIZE);
            EXPECT_TRUE(p.k >= 0 && p.k < SHADOW_SIZE);
        }
    }
    // Along the middle of the strips the depth grows toward the menu.
    const std::vector<CShadowPixel> pixels = MenuShadowPixels(120, 200);
    const auto depthAt = [&](int x, int y) {
        for (const CShadowPixel& p : pixels) {
            if (p.x == x && p.y == y)
                return p.k;
        }
        return -1;
    };
    for (int i = 0; i < SHADOW_SIZE; ++i) {
        EXPECT_EQ(depthAt(119 - i, 100), i);
        EXPECT_EQ(depthAt(60, 199 - i), i);
    }
    // The bar item's strip is the right strip alone.
    for (const CShadowPixel& p : RightShadowPixels(50, 21))
        EXPECT_GE(p.x, 50 - SHADOW_SIZE);
}

TEST(MenuShadow, DarkeningFactorsAndMatchingOpacity) {
    const CRgb under{200, 100, 50};
    const int factors[] = {93, 88, 83, 78};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ShadowDarken(under, k),
                  (CRgb{200 * factors[k] / 100, 100 * factors[k] / 100, 50 * factors[k] / 100}));
        EXPECT_EQ(ShadowOpacityPercent(k), 100 - factors[k]);
    }
}

} // namespace
