// How a title or description fares in search results: its length in
// characters and pixels against the limits (the editor's meters, the audit's
// figures), and the text cut where the results cut it (the previews).
#pragma once

#include <QString>

#include "settings/search_limits.h"
#include "snippet/text_measurer.h"

enum class WidthVerdict {
    EMPTY,    // nothing to show
    FITS,     // shown whole
    TOO_WIDE, // cut
};

enum class SnippetPart { TITLE, DESCRIPTION };
enum class SnippetDevice { DESKTOP, MOBILE };

// The font size and the limit of a part on a device, in px.
int SnippetFontPx(const CSearchLimits& limits, SnippetPart part);
int SnippetLimitPx(const CSearchLimits& limits, SnippetPart part, SnippetDevice device);

struct CWidthMeter {
    int characters = 0; // as ShownLength counts them
    double px = 0;      // of the text as shown (CollapseSpaces)
    int limitPx = 0;
    WidthVerdict verdict = WidthVerdict::EMPTY;

    // px rounded to whole pixels, as every figure shows it.
    int RoundedPx() const;
    // How full the bar is: px / limitPx (above 1 when too wide).
    double Fill() const { return limitPx > 0 ? px / limitPx : 0; }
    // "45 characters, 702 px, too wide"; "1 character, 9 px, fits"; "empty".
    QString Text() const;
};

// The meter of a title or description (text as a reader sees it, see
// ValueText) on a device.
CWidthMeter MeasureSnippet(const ITextMeasurer& measurer, const CSearchLimits& limits,
                           SnippetPart part, SnippetDevice device, const QString& text);

// The text as a search result shows it in limitPx: white space collapsed;
// when it is wider, cut after the last whole word that fits with "..." after
// it (or after the last character that fits, when not even one word does),
// never inside a character or between a character and its marks.
QString CutToWidth(const ITextMeasurer& measurer, const QString& text, int fontPx, int limitPx);
