#include "snippet/snippet_meter.h"

#include <QTextBoundaryFinder>
#include <cmath>
#include <vector>

#include "snippet/shown_text.h"

namespace {

const QLatin1String kEllipsis("...");

} // namespace

int SnippetFontPx(const CSearchLimits& limits, SnippetPart part) {
    return part == SnippetPart::TITLE ? limits.m_nTitleFontPx : limits.m_nDescriptionFontPx;
}

int SnippetLimitPx(const CSearchLimits& limits, SnippetPart part, SnippetDevice device) {
    if (part == SnippetPart::TITLE)
        return limits.m_nTitlePx;
    return device == SnippetDevice::MOBILE ? limits.m_nDescriptionMobilePx
                                           : limits.m_nDescriptionPx;
}

int CWidthMeter::RoundedPx() const {
    return static_cast<int>(std::lround(px));
}

QString CWidthMeter::Text() const {
    if (verdict == WidthVerdict::EMPTY)
        return QStringLiteral("empty");
    return QStringLiteral("%1 %2, %3 px, %4")
        .arg(characters)
        .arg(characters == 1 ? QStringLiteral("character") : QStringLiteral("characters"))
        .arg(RoundedPx())
        .arg(verdict == WidthVerdict::TOO_WIDE ? QStringLiteral("too wide")
                                               : QStringLiteral("fits"));
}

CWidthMeter MeasureSnippet(const ITextMeasurer& measurer, const CSearchLimits& limits,
                           SnippetPart part, SnippetDevice device, const QString& text) {
    CWidthMeter meter;
    const QString shown = CollapseSpaces(text);
    meter.limitPx = SnippetLimitPx(limits, part, device);
    meter.characters = ShownLength(shown);
    if (shown.isEmpty())
        return meter;
    meter.px = measurer.WidthPx(shown, SnippetFontPx(limits, part));
    // Whole pixels decide, as the figure shows them.
    meter.verdict = meter.RoundedPx() > meter.limitPx ? WidthVerdict::TOO_WIDE : WidthVerdict::FITS;
    return meter;
}

QString CutToWidth(const ITextMeasurer& measurer, const QString& text, int fontPx, int limitPx) {
    const QString shown = CollapseSpaces(text);
    if (shown.isEmpty() || std::lround(measurer.WidthPx(shown, fontPx)) <= limitPx)
        return shown;
    // The places a cut may fall: between characters as a reader counts them.
    std::vector<qsizetype> cuts;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, shown);
    for (qsizetype at = graphemes.toNextBoundary(); at > 0; at = graphemes.toNextBoundary())
        cuts.push_back(at);
    const auto fits = [&](qsizetype at) {
        return std::lround(measurer.WidthPx(shown.left(at).trimmed() + kEllipsis, fontPx)) <=
               limitPx;
    };
    // The longest prefix that fits with "..." (widths grow with the prefix).
    size_t lo = 0, hi = cuts.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (fits(cuts[mid]))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0)
        return kEllipsis;
    const qsizetype end = cuts[lo - 1];
    // Back to the end of the last whole word, when a word ends in the prefix.
    qsizetype word = end;
    if (end < shown.size() && shown[end] != ' ') {
        const qsizetype space = shown.lastIndexOf(' ', end - 1);
        if (space > 0)
            word = space;
    }
    return shown.left(word).trimmed() + kEllipsis;
}
