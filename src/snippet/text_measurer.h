// ITextMeasurer: how wide a text is in pixels, drawn on one line in the font
// that search results use, at a given pixel size. The model (audit, meters,
// cuts) measures through it; CSearchFont (search_font.h) is the one real
// measurer, and tests give their own.
#pragma once

#include <QString>

class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    // The advance of text in px at a font of fontPx pixels.
    virtual double WidthPx(const QString& text, int fontPx) const = 0;
};
