#include "menus/menu_colors.h"

#include <algorithm>
#include <cstdlib>

CRgb RgbFromColorRef(int colorRef) {
    return {colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF};
}

int ColorRefFromRgb(CRgb color) {
    return (color.r & 0xFF) | (color.g & 0xFF) << 8 | (color.b & 0xFF) << 16;
}

namespace {

// A byte-scaled value moved by a percentage toward 255 (positive) or 0 (negative).
int MoveByPercent(int value, int percent) {
    if (percent > 0)
        return value + (255 - value) * percent / 100;
    if (percent < 0)
        return value * (percent + 100) / 100;
    return value;
}

// One component from the hue angle, between the two levels m1 and m2.
double HueToComponent(double m1, double m2, double angle) {
    while (angle > 360)
        angle -= 360;
    while (angle < 0)
        angle += 360;
    if (angle < 60)
        return m1 + (m2 - m1) * angle / 60;
    if (angle < 180)
        return m2;
    if (angle < 240)
        return m1 + (m2 - m1) * (240 - angle) / 60;
    return m1;
}

} // namespace

CRgb AdjustColorHLS(CRgb color, int lightnessPercent, int saturationPercent) {
    const double r = color.r;
    const double g = color.g;
    const double b = color.b;
    const double maxc = std::max({r, g, b});
    const double minc = std::min({r, g, b});
    const double lightness = (maxc + minc) / 510;
    double saturation = 0;
    double hue = 0;
    if (maxc != minc) {
        saturation =
            lightness <= 0.5 ? (maxc - minc) / (maxc + minc) : (maxc - minc) / (510 - maxc - minc);
        const double rc = (maxc - r) / (maxc - minc);
        const double gc = (maxc - g) / (maxc - minc);
        const double bc = (maxc - b) / (maxc - minc);
        if (b == maxc)
            hue = (gc + 4 - rc) * 60;
        else if (g == maxc)
            hue = (rc + 2 - bc) * 60;
        else
            hue = (bc + 6 - gc) * 60;
        if (hue > 360)
            hue -= 360;
    }
    const int h = static_cast<int>(hue * 255 / 360);
    const int l = MoveByPercent(static_cast<int>(lightness * 255), lightnessPercent);
    const int s = MoveByPercent(static_cast<int>(saturation * 255), saturationPercent);

    if (s == 0)
        return {l, l, l};
    const double lf = l / 255.0;
    const double sf = s / 255.0;
    const double m2 = lf <= 0.5 ? lf * (1 + sf) : lf + sf - lf * sf;
    const double m1 = 2 * lf - m2;
    const double degrees = h * 360.0 / 255;
    return {static_cast<int>(255 * HueToComponent(m1, m2, degrees + 120)),
            static_cast<int>(255 * HueToComponent(m1, m2, degrees)),
            static_cast<int>(255 * HueToComponent(m1, m2, degrees - 120))};
}

std::vector<CGradientStrip> GradientStrips(CRgb from, CRgb to, int left, int width) {
    std::vector<CGradientStrip> strips;
    if (width <= 0)
        return strips;
    if (from == to) {
        strips.push_back({left, left + width, from});
        return strips;
    }
    const int steps =
        std::max({std::abs(to.r - from.r), std::abs(to.g - from.g), std::abs(to.b - from.b)});
    const double stepWidth = static_cast<double>(width) / steps;
    CRgb last = from;
    int end = left;
    for (int i = 0; i < steps; ++i) {
        const int stripLeft = left + static_cast<int>(i * stepWidth);
        const int stripRight = left + static_cast<int>((i + 1) * stepWidth);
        last = {from.r + i * (to.r - from.r) / steps, from.g + i * (to.g - from.g) / steps,
                from.b + i * (to.b - from.b) / steps};
        if (stripRight > stripLeft)
            strips.push_back({stripLeft, stripRight, last});
        end = std::max(end, stripRight);
    }
    if (end < left + width)
        strips.push_back({end, left + width, last});
    return strips;
}
