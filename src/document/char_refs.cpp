#include "document/char_refs.h"

#include <algorithm>
#include <array>
#include <string>

#include "document/named_char_refs.h"

namespace {

// The longest name, ";" included.
constexpr qsizetype kMaxNameLength = 32;

bool IsAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

const NamedCharRef* FindName(std::string_view name) {
    const auto it = std::lower_bound(
        kNamedCharRefs.begin(), kNamedCharRefs.end(), name,
        [](const NamedCharRef& ref, std::string_view key) { return ref.name < key; });
    return it != kNamedCharRefs.end() && it->name == name ? &*it : nullptr;
}

// What the numbers 0x80 to 0x9F stand for: their windows-1252 characters (0
// where that has none and the number stays).
constexpr std::array<char16_t, 32> kC1Remap = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t NumericCharacter(char32_t number) {
    if (number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF))
        return 0xFFFD;
    if (number >= 0x80 && number <= 0x9F && kC1Remap[number - 0x80])
        return kC1Remap[number - 0x80];
    return number;
}

// The reference that starts at the "&" at i: how many characters it takes (0
// when none starts there), its text appended to out when given.
qsizetype MatchReference(const QString& s, qsizetype i, RefPlace place, QString* out) {
    const qsizetype n = s.size();
    qsizetype j = i + 1;
    if (j < n && s[j] == QLatin1Char('#')) {
        ++j;
        const bool hex = j < n && (s[j] == QLatin1Char('x') || s[j] == QLatin1Char('X'));
        if (hex)
            ++j;
        const qsizetype digits = j;
        char32_t number = 0;
        for (; j < n; ++j) {
            const char16_t c = s[j].unicode();
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                break;
            // Past the last code point the number only has to stay too large.
            number = std::min<char32_t>(number * (hex ? 16 : 10) + static_cast<char32_t>(digit),
                                        0x110000);
        }
        if (j == digits)
            return 0;
        if (j < n && s[j] == QLatin1Char(';'))
            ++j;
        if (out) {
            const char32_t c = NumericCharacter(number);
            *out += QString::fromUcs4(&c, 1);
        }
        return j - i;
    }
    qsizetype run = 0;
    while (j + run < n && run < kMaxNameLength && IsAsciiAlnum(s[j + run]))
        ++run;
    if (run == 0)
        return 0;
    std::string name;
    name.reserve(static_cast<size_t>(run) + 1);
    for (qsizetype k = 0; k < run; ++k)
        name += static_cast<char>(s[j + k].unicode());
    const NamedCharRef* ref = nullptr;
    if (j + run < n && s[j + run] == QLatin1Char(';'))
        ref = FindName(name + ';');
    qsizetype length = run + 1;
    // Without the ";", only the legacy names; the longest that fits wins.
    for (qsizetype k = run; !ref && k > 0; --k) {
        ref = FindName(std::string_view(name).substr(0, static_cast<size_t>(k)));
        length = k;
    }
    if (!ref)
        return 0;
    if (place == RefPlace::ATTRIBUTE && ref->name.back() != ';' && j + length < n &&
        (s[j + length] == QLatin1Char('=') || IsAsciiAlnum(s[j + length])))
        return 0;
    if (out)
        *out += QString::fromUtf8(ref->text.data(), static_cast<qsizetype>(ref->text.size()));
    return 1 + length;
}

} // namespace

QString DecodeCharRefs(const QString& text, RefPlace place) {
    qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (amp >= 0) {
        out += QStringView(text).mid(from, amp - from);
        const qsizetype taken = MatchReference(text, amp, place, &out);
        if (taken == 0) {
            out += QLatin1Char('&');
            from = amp + 1;
        } else {
            from = amp + taken;
        }
        amp = text.indexOf(QLatin1Char('&'), from);
    }
    out += QStringView(text).mid(from);
    return out;
}

QString EscapeAmpersands(const QString& text, RefPlace place) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && MatchReference(text, i, place, nullptr) > 0)
            out += QLatin1String("&amp;");
        else
            out += text[i];
    }
    return out;
}
