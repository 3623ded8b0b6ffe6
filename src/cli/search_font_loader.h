// The search font for the commands that measure widths in pixels, from its
// module (search_font_module.h), loaded on first use. Those commands start
// without an application object: the module makes a QGuiApplication when it
// is loaded.
#pragma once

#include <QString>

class ITextMeasurer;

// The font, loading the module and making the application on first use (on
// the main thread); null, with why set, when it cannot be had.
const ITextMeasurer* OpenSearchFont(QString& why);
// Destroys the application the module made; before main returns.
void CloseSearchFont();
