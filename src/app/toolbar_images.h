// Toolbar pictures: strips of equally wide images on a mask colour.
#pragma once

#include <QList>
#include <QPixmap>
#include <QString>

// Cuts the strip at path into images imageWidth pixels wide, left to right;
// the colour of the strip's top-left pixel becomes transparent. A picture that
// is missing or unreadable gives an empty list; a last image narrower than
// imageWidth is dropped.
QList<QPixmap> LoadToolbarImages(const QString& path, int imageWidth = 16);
