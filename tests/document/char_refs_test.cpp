// Character references as HTML reads them, and the escaping that keeps a
// typed text from being read as one.
#include "document/char_refs.h"

#include <gtest/gtest.h>

namespace {

struct RefCase {
    const char* in;
    const char* text;      // read in text (a title)
    const char* attribute; // read in an attribute value
};

TEST(CharRefs, ReadsReferencesAsTheHtmlTokenizerDoes) {
    const std::vector<RefCase> cases = {
        {"A &amp; B", "A & B", "A & B"},
        {"Tools &#8212; Python", "Tools \xE2\x80\x94 Python", "Tools \xE2\x80\x94 Python"},
        {"&#x263a;&#X263A", "\xE2\x98\xBA\xE2\x98\xBA", "\xE2\x98\xBA\xE2\x98\xBA"},
        {"&eacute;t&eacute; &Eacute;", "\xC3\xA9t\xC3\xA9 \xC3\x89", "\xC3\xA9t\xC3\xA9 \xC3\x89"},
        // Two characters, and the longest name that fits.
        {"&NotEqualTilde;", "\xE2\x89\x82\xCC\xB8", "\xE2\x89\x82\xCC\xB8"},
        {"&notin; &notit;", "\xE2\x88\x89 \xC2\xACit;", "\xE2\x88\x89 &notit;"},
        // Legacy names without ";": not in an attribute before "=" or a letter.
        {"&copy 2024", "\xC2\xA9 2024", "\xC2\xA9 2024"},
        {"?a=1&copy=2&ampx", "?a=1\xC2\xA9=2&x", "?a=1&copy=2&ampx"},
        {"&lt;b&gt;", "<b>", "<b>"},
        // Numbers: windows-1252 for 0x80 to 0x9F, U+FFFD for what is no character.
        {"&#150;&#x80;&#129;", "\xE2\x80\x93\xE2\x82\xAC\xC2\x81",
         "\xE2\x80\x93\xE2\x82\xAC\xC2\x81"},
        {"&#0;&#xD800;&#1114112;&#99999999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        // What starts no reference stays.
        {"AT&T &; &# &#x; &nosuch; & &&amp", "AT&T &; &# &#x; &nosuch; & &&",
         "AT&T &; &# &#x; &nosuch; & &&"},
        {"no references", "no references", "no references"},
    };
    for (const RefCase& c : cases) {
        const QString in = QString::fromUtf8(c.in);
        EXPECT_EQ(DecodeCharRefs(in, RefPlace::TEXT), QString::fromUtf8(c.text)) << c.in;
        EXPECT_EQ(DecodeCharRefs(in, RefPlace::ATTRIBUTE), QString::fromUtf8(c.attribute)) << c.in;
    }
}

TEST(CharRefs, EscapesOnlyTheAmpersandsThatWouldStartAReference) {
    const std::vector<std::tuple<const char*, RefPlace, const char*>> cases = {
        {"Fish & Chips", RefPlace::TEXT, "Fish & Chips"},
        {"AT&T", RefPlace::TEXT, "AT&T"},
        {"&amp; &copy &#1 &lt", RefPlace::TEXT, "&amp;amp; &amp;copy &amp;#1 &amp;lt"},
        {"?a=1&copy=2", RefPlace::ATTRIBUTE, "?a=1&copy=2"},
        {"?a=1&copy=2", RefPlace::TEXT, "?a=1&amp;copy=2"},
        {"& &# &#x &nosuch;", RefPlace::ATTRIBUTE, "& &# &#x &nosuch;"},
    };
    for (const auto& [in, place, out] : cases)
        EXPECT_EQ(EscapeAmpersands(QString::fromUtf8(in), place), QString::fromUtf8(out)) << in;
    // Whatever is typed reads back as typed.
    const QString pieces[] = {"&", "amp", ";", "#", "x", "41", "copy", "=", "a", " ", "\xC3\xA9"};
    for (const QString& a : pieces)
        for (const QString& b : pieces)
            for (const QString& c : pieces) {
                const QString typed = "&" + a + b + "&" + c;
                for (RefPlace place : {RefPlace::TEXT, RefPlace::ATTRIBUTE})
                    ASSERT_EQ(DecodeCharRefs(EscapeAmpersands(typed, place), place), typed)
                        << typed.toStdString();
            }
}

} // namespace
