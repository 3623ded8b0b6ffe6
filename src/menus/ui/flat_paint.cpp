#include "menus/ui/flat_paint.h"

#include <algorithm>

CMenuPalette MenuPaletteFrom(const QPalette& palette) {
    const auto color = [&](QPalette::ColorRole role) {
        return ToRgb(palette.color(QPalette::Active, role));
    };
    CMenuPalette result;
    result.face = color(QPalette::Button);
    result.highlight = color(QPalette::Highlight);
    result.darkShadow = color(QPalette::Shadow);
    result.shadow = color(QPalette::Dark);
    result.menuText = color(QPalette::WindowText);
    result.buttonText = color(QPalette::ButtonText);
    result.grayText = ToRgb(palette.color(QPalette::Disabled, QPalette::ButtonText));
    return result;
}

void FillRect(QPainter& painter, const QRect& rect, CRgb color) {
    painter.fillRect(rect, ToQColor(color));
}

void DrawOutline(QPainter& painter, const QRect& rect, CRgb color) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const QColor qcolor = ToQColor(color);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), qcolor);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), qcolor);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), qcolor);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), qcolor);
}

void PaintItemBackground(QPainter& painter, const QRect& rect, const CItemBackground& background) {
    const int band = background.nBandWidth < 0 ? rect.width()
                                               : std::clamp(background.nBandWidth, 0, rect.width());
    for (const CGradientStrip& strip :
         GradientStrips(background.bandFrom, background.bandTo, rect.left(), band)) {
        FillRect(painter, QRect(strip.nLeft, rect.top(), strip.nRight - strip.nLeft, rect.height()),
                 strip.color);
    }
    if (band < rect.width())
        FillRect(painter, QRect(rect.left() + band, rect.top(), rect.width() - band, rect.height()),
                 background.rest);
    if (background.bOutline)
        DrawOutline(painter, rect, background.outline);
}

QPixmap Silhouette(const QPixmap& image, CRgb color) {
    QPixmap result(image.size());
    result.setDevicePixelRatio(image.devicePixelRatio());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.drawPixmap(0, 0, image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(0, 0), image.deviceIndependentSize().toSize()), ToQColor(color));
    return result;
}

void DrawCheckMark(QPainter& painter, QPoint centre, CRgb color) {
    // Rows of the mark from the top, as columns from the left.
    static constexpr const char* rows[] = {
        "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
    };
    const QColor qcolor = ToQColor(color);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            if (rows[y][x] == '#')
                painter.fillRect(QRect(centre.x() - 3 + x, centre.y() - 3 + y, 1, 1), qcolor);
        }
    }
}
