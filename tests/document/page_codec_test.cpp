// The page codec: which encoding a page gets, and conversions both ways.
#include "document/page_codec.h"

#include <gtest/gtest.h>

#include "page/html_page.h"

namespace {

CPageCodec CodecOf(const std::string& bytes) {
    CHtmlPage page;
    page.SetText(bytes, BodyMode::PRESERVE);
    return CPageCodec::ForPage(bytes, page);
}

struct EncodingCase {
    const char* what;
    std::string bytes;
    const char* encoding;
};

TEST(PageCodec, DecidesTheEncodingFromBytesAndDeclaration) {
    const std::string koi8Head =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">";
    const std::vector<EncodingCase> cases = {
        {"plain ASCII", "<html><head><title>a</title></head><body>b</body></html>", "UTF-8"},
        {"UTF-8", "<title>caf\xC3\xA9</title>", "UTF-8"},
        {"UTF-8 beats a declaration", "<meta charset=\"windows-1252\"><title>\xC3\xA9</title>",
         "UTF-8"},
        {"undeclared Latin-1", "<title>caf\xE9</title>", "windows-1252"},
        {"Latin-1 read as windows-1252", "<meta charset='ISO-8859-1'><title>\xE9</title>",
         "windows-1252"},
        {"http-equiv declaration", koi8Head + "<title>\xF0\xD2\xC9</title>", "KOI8-R"},
        {"meta charset", "<meta charset=Shift_JIS><title>\x93\xFA\x96\x7B</title>", "Shift_JIS"},
        {"ASCII page keeps its declared charset", koi8Head + "<title>a</title>", "KOI8-R"},
        {"declared UTF-8, other bytes", "<meta charset=utf-8><title>\xE9</title>", "windows-1252"},
        {"unknown charset", "<meta charset=x-nothing><title>\xE9</title>", "windows-1252"},
        {"UTF-16 declarations mean UTF-8", "<meta charset=utf-16><title>a</title>", "UTF-8"},
        {"declaration after the body", "<body><meta charset=koi8-r>\xE9</body>", "windows-1252"},
        {"bytes the declaration cannot read", "<meta charset=Shift_JIS><title>\xA0\x80</title>",
         "windows-1252"},
        {"an unnamed meta before the declaration",
         "<meta property=\"og:title\" content=\"x\"><meta charset=\"koi8-r\"><p>\xF0", "KOI8-R"},
    };
    for (const EncodingCase& c : cases)
        EXPECT_EQ(CodecOf(c.bytes).Name(), QString::fromLatin1(c.encoding)) << c.what;
}

TEST(PageCodec, EveryWindows1252ByteMapsToOneCharacterAndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const CPageCodec codec = CodecOf("<title>" + all.substr(0x80) + "</title>");
    ASSERT_EQ(codec.Name(), "windows-1252");
    const QString text = codec.Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    // The five bytes windows-1252 leaves unassigned are the C1 controls.
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text[b], QChar(b)) << b;
    std::string back;
    QString error;
    ASSERT_EQ(codec.Encode(text, back, error), 1) << error.toStdString();
    EXPECT_EQ(back, all);
}

TEST(PageCodec, RefusesCharactersTheEncodingCannotHold) {
    CPageCodec koi8;
    ASSERT_EQ(CPageCodec::FromLabel("koi8-r", koi8), 1);
    std::string bytes = "unchanged";
    QString error;
    EXPECT_EQ(
        koi8.Encode(QString::fromUtf8("\xD0\x9F\xD1\x80\xD0\xB8 \xE2\x82\xAC 5"), bytes, error), 0);
    EXPECT_EQ(bytes, "unchanged");
    EXPECT_EQ(error, QString::fromUtf8("The character \"\xE2\x82\xAC\" (U+20AC) cannot be written "
                                       "in the encoding KOI8-R."));

    const CPageCodec latin = CodecOf("<title>\xE9</title>");
    EXPECT_EQ(latin.Encode(QString::fromUtf8("a\xF0\x9F\x98\x80"), bytes, error), 0);
    EXPECT_TRUE(error.contains("U+1F600")) << error.toStdString();
    EXPECT_EQ(latin.Encode(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"), bytes, error), 1);
    EXPECT_EQ(bytes, "caf\xE9 \x80");

    const CPageCodec utf8;
    EXPECT_EQ(utf8.Encode(QString::fromUtf8("\xE4\xB8\xAD"), bytes, error), 1);
    EXPECT_EQ(bytes, "\xE4\xB8\xAD");
    // A lone surrogate cannot be written as UTF-8 either.
    EXPECT_EQ(utf8.Encode(QString(QChar(0xD800)), bytes, error), 0);
    EXPECT_TRUE(error.contains("U+D800")) << error.toStdString();
}

TEST(PageCodec, ReadsLabelsAsBrowsersDo) {
    const std::vector<std::pair<std::string, const char*>> labels = {
        {"latin1", "windows-1252"},     {" US-ASCII ", "windows-1252"},
        {"iso_8859-1", "windows-1252"}, {"cp1251", "windows-1251"},
        {"\"koi8-r\"", "KOI8-R"},       {"UTF8", "UTF-8"},
        {"iso-8859-9", "windows-1254"}, {"gb2312", "GBK"},
    };
    for (const auto& [label, name] : labels) {
        CPageCodec codec;
        ASSERT_EQ(CPageCodec::FromLabel(label, codec), 1) << label;
        EXPECT_EQ(codec.Name(), QString::fromLatin1(name)) << label;
    }
    // Unknown labels, and encodings in which markup is not ASCII.
    for (const char* label : {"", "x-nothing", "utf-7"}) {
        CPageCodec codec;
        EXPECT_EQ(CPageCodec::FromLabel(label, codec), 0) << label;
        EXPECT_EQ(codec.Name(), "UTF-8") << label;
    }
}

TEST(PageCodec, FindsTheCharsetOfAContentType) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"text/html; charset=koi8-r", "koi8-r"},
        {"text/html;charset=\"UTF-8\"", "utf-8"},
        {"text/html; CHARSET = 'Shift_JIS' ", "shift_jis"},
        {"text/html; charsetx; charset=big5", "big5"},
        {"text/html", ""},
        {"text/html; charset=", ""},
        {"text/html; charset=\"unterminated", ""},
    };
    for (const auto& [value, charset] : cases)
        EXPECT_EQ(CPageCodec::CharsetOfContentType(value), charset) << value;
}

} // namespace
