// Pictures cut from a strip of equal images whose top-left pixel gives the
// colour that shows as transparent.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The count images of width pixels each from the strip at path. A missing or
// short strip gives empty icons for the images it lacks, never fewer icons.
QList<QIcon> LoadImageStrip(const QString& path, int count, int width = 16);
