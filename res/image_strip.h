// The program's picture strips: images of one size side by side in one
// 24-bit picture, whose top-left pixel gives the colour that shows as
// transparent (toolbars, menus, tabs and the file browser cut them alike).
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

inline constexpr int STRIP_IMAGE_WIDTH = 16;
inline constexpr int STRIP_IMAGE_HEIGHT = 15;

// The images of strip, width pixels each, as icons in order: count of them,
// or every whole image in the strip when count is negative. A null or short
// strip gives null icons for the images it lacks, never fewer icons, so a
// missing picture shows as no image rather than failing.
QList<QIcon> CutImageStrip(const QImage& strip, int count = -1, int width = STRIP_IMAGE_WIDTH);

// The icons of the strip picture at path (":/images/toolbar_main.png"), as
// CutImageStrip cuts them, each with the image of the same place in the
// strip's twin for screens of twice the density (path with "@2x" before
// ".png", images twice as wide and high) where there is one, so that
// toolbars, menus, tabs and trees stay sharp at a scale factor of 2.
QList<QIcon> LoadImageStrip(const QString& path, int count = -1);
