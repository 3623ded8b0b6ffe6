// The meters and the cuts of the previews, measured with a font whose every
// character is 10 px wide, so that the figures are plain to read.
#include <gtest/gtest.h>

#include <QList>

#include "snippet/snippet_meter.h"

namespace {

// 10 px a character as a reader counts them (a surrogate pair is one), at
// any size.
class CFixedMeasurer : public ITextMeasurer {
public:
    double WidthPx(const QString& text, int) const override {
        return 10.0 * static_cast<double>(text.toUcs4().size());
    }
};

CSearchLimits Limits(int titlePx) {
    CSearchLimits limits;
    limits.m_nTitlePx = titlePx;
    limits.m_nDescriptionPx = 200;
    limits.m_nDescriptionMobilePx = 100;
    return limits;
}

} // namespace

TEST(SnippetMeter, FiguresAndVerdictAsTheMeterShowsThem) {
    const CFixedMeasurer measurer;
    const struct {
        SnippetPart part;
        SnippetDevice device;
        QString text;
        QString says;
    } cases[] = {
        {SnippetPart::TITLE, SnippetDevice::DESKTOP, "  \n ", "empty"},
        {SnippetPart::TITLE, SnippetDevice::DESKTOP, "a", "1 character, 10 px, fits"},
        // White space as a browser shows it: one space between words.
        {SnippetPart::TITLE, SnippetDevice::DESKTOP, " Boats \n  and walks ",
         "15 characters, 150 px, fits"},
        {SnippetPart::TITLE, SnippetDevice::DESKTOP, QString(16, 'x'),
         "16 characters, 160 px, too wide"},
        {SnippetPart::DESCRIPTION, SnippetDevice::DESKTOP, QString(16, 'x'),
         "16 characters, 160 px, fits"},
        {SnippetPart::DESCRIPTION, SnippetDevice::MOBILE, QString(16, 'x'),
         "16 characters, 160 px, too wide"},
        {SnippetPart::TITLE, SnippetDevice::DESKTOP, QString::fromUtf8("\xF0\x9F\x9A\xA3 boat"),
         "6 characters, 60 px, fits"},
    };
    for (const auto& c : cases) {
        const CWidthMeter meter = MeasureSnippet(measurer, Limits(150), c.part, c.device, c.text);
        EXPECT_EQ(meter.Text(), c.says) << c.text.toStdString();
    }
}

TEST(SnippetMeter, CutsAtAWholeWordAndNeverInsideACharacter) {
    const CFixedMeasurer measurer;
    const struct {
        QString text;
        int limitPx;
        QString cut;
    } cases[] = {
        {"Boats and walks", 150, "Boats and walks"},
        {"Boats and walks by the river", 150, "Boats and..."},
        // No word ends in time: the last character that fits.
        {"Riversidevillage", 100, "Riversi..."},
        {"Boats", 20, "..."},
        // Accents stay with their letter, a flag stays whole.
        {QString::fromUtf8("Cafe\xCC\x81\xCC\x81s"), 60, QString::fromUtf8("Caf...")},
        {QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA"
                           "\xF0\x9F\x87\xAE\xF0\x9F\x87\xB9\xF0\x9F\x87\xAA\xF0\x9F\x87\xB8"),
         60, QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7...")},
        {QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE9\xA1\x8C"), 40,
         QString::fromUtf8("\xE6\x97\xA5...")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CutToWidth(measurer, c.text, 20, c.limitPx), c.cut) << c.text.toStdString();
}
