// Painting primitives of the flat menus and toolbars: colours between the
// model's CRgb and Qt, one-pixel frames, gradient bands, silhouettes, marks.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRect>

#include "menus/menu_colors.h"
#include "menus/menu_item_look.h"

inline QColor ToQColor(CRgb color) {
    return QColor(color.r, color.g, color.b);
}
inline CRgb ToRgb(const QColor& color) {
    return {color.red(), color.green(), color.blue()};
}

// The system colours, taken from the active group of a palette.
CMenuPalette MenuPaletteFrom(const QPalette& palette);

void FillRect(QPainter& painter, const QRect& rect, CRgb color);
// A one-pixel frame just inside rect.
void DrawOutline(QPainter& painter, const QRect& rect, CRgb color);
// The band, the rest and the outline of an item's background.
void PaintItemBackground(QPainter& painter, const QRect& rect, const CItemBackground& background);
// The image in one colour wherever it is not transparent.
QPixmap Silhouette(const QPixmap& image, CRgb color);
// A check mark of 7 x 7 pixels centred on centre.
void DrawCheckMark(QPainter& painter, QPoint centre, CRgb color);
