#include "snippet/shown_text.h"

QString CollapseSpaces(const QString& text) {
    // HTML's white space only: a no-break space is shown as a space of its own.
    const auto isSpace = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
               c == QLatin1Char('\r') || c == QLatin1Char('\f');
    };
    // Most texts are collapsed already: they are shared, not copied.
    bool collapsed = text.isEmpty() || (!isSpace(text.front()) && !isSpace(text.back()));
    for (qsizetype i = 1; collapsed && i < text.size(); ++i) {
        const QChar c = text.at(i);
        collapsed = !isSpace(c) || (c == QLatin1Char(' ') && !isSpace(text.at(i - 1)));
    }
    if (collapsed)
        return text;
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text) {
        if (isSpace(c)) {
            space = !out.isEmpty();
            continue;
        }
        if (space)
            out += QLatin1Char(' ');
        space = false;
        out += c;
    }
    return out;
}

int ShownLength(const QString& text) {
    const QString shown = CollapseSpaces(text);
    int length = 0;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c.isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate())
            ++i;
        ++length;
    }
    return length;
}
