// The images of a toolbar, cut from one strip picture.
//
// A strip holds one image per button side by side, each as wide as a button
// image; the colour of its top-left pixel marks the transparent parts.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

inline constexpr int TOOLBAR_IMAGE_WIDTH = 16;
inline constexpr int TOOLBAR_IMAGE_HEIGHT = 15;

// One icon per whole image in the strip, in order; none for a null strip.
QList<QIcon> ToolbarImagesFromStrip(const QImage& strip, int imageWidth = TOOLBAR_IMAGE_WIDTH);
// The same from a picture file or resource; none when it cannot be read.
QList<QIcon> LoadToolbarImages(const QString& path, int imageWidth = TOOLBAR_IMAGE_WIDTH);
