// The search font for the commands that measure widths in pixels, from its
// module (search_font_module.h), loaded on first use. Those commands start
// without an application object: the module makes a QGuiApplication when it
// is loaded.
#pragma once

#include <QString>

class ITextMeasurer;

// Starts loading the module's libraries on a thread of its own, so that they
// are there by the time the font is asked for.
void PreloadSearchFont();
// The font, loading the module and making the application on first use (on
// the main thread); null, with why set, when it cannot be had.
const ITextMeasurer* OpenSearchFont(QString& why);
// Destroys the application the module made; before main returns.
void CloseSearchFont();
