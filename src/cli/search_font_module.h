// The search font in a module of its own (libtsle-search-font.so): QtGui and
// the font libraries take longer to load than most commands take to run, so
// tsle-cli loads them only when it measures widths, and then while it reads
// pages (see search_font_loader.h).
#pragma once

#include <QString>

class ITextMeasurer;

extern "C" {
// Makes an offscreen QGuiApplication on the calling thread, which must be the
// program's main thread and have no application yet, and loads the font.
// Returns the font, or null with why set.
const ITextMeasurer* TsleSearchFontOpen(QString* why);
// Destroys the application TsleSearchFontOpen made, if any.
void TsleSearchFontClose();
}
