// CSearchFont: the font search results are drawn in, for measuring and for
// the previews: Liberation Sans (Debian's fonts-liberation2), whose glyphs
// have Arial's widths, unhinted so that widths are the font's own at any
// size and on any screen, with kerning as browsers apply it. Characters it
// lacks (CJK, emoji) are measured in the fallback fonts the system picks.
//
// Needs a QGuiApplication (tsle-cli makes an offscreen one for the commands
// that measure). Instance() loads the font on first use and must first be
// called on the application's thread; WidthPx may then be called from any
// thread.
#pragma once

#include <QFont>
#include <QString>

#include "snippet/text_measurer.h"

class CSearchFont final : public ITextMeasurer {
public:
    // The font, or null when there is no QGuiApplication or no Liberation
    // Sans (nor a font of the same widths: Arimo, Arial) on the system.
    static const CSearchFont* Instance();
    // Why Instance() is null, for a message ("" when it is not).
    static QString MissingReason();

    double WidthPx(const QString& text, int fontPx) const override;
    // The font at fontPx pixels, to draw with.
    QFont Font(int fontPx) const;
    // The family found ("Liberation Sans") and the file it was loaded from
    // ("" when the system's font of that family is used).
    const QString& Family() const { return m_family; }
    const QString& FileName() const { return m_file; }

private:
    CSearchFont(QString family, QString file)
        : m_family(std::move(family)), m_file(std::move(file)) {}
    QString m_family;
    QString m_file;
};
