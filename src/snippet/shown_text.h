// Text as a browser and a search result show it.
#pragma once

#include <QString>

// Text as a browser shows it: runs of white space as one space, none at
// either end.
QString CollapseSpaces(const QString& text);
// The length of text (a ValueText) in characters as a reader sees it: after
// CollapseSpaces, counting each character outside the Basic Multilingual
// Plane as one.
int ShownLength(const QString& text);
