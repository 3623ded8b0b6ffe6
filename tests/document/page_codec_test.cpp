// The page codec: which encoding a page gets, and conversions both ways.
#include "document/page_codec.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "document/encoding_data.h"
#include "document/text_file.h"
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

TEST(PageCodec, DecidesTheEncodingInTheOrderBrowsersDo) {
    const std::string koi8Head =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">";
    const std::vector<EncodingCase> cases = {
        {"plain ASCII", "<html><head><title>a</title></head><body>b</body></html>", "UTF-8"},
        {"UTF-8", "<title>caf\xC3\xA9</title>", "UTF-8"},
        {"undeclared Latin-1", "<title>caf\xE9</title>", "windows-1252"},
        {"Latin-1 read as windows-1252", "<meta charset='ISO-8859-1'><title>\xE9</title>",
         "windows-1252"},
        {"http-equiv declaration", koi8Head + "<title>\xF0\xD2\xC9</title>", "KOI8-R"},
        {"meta charset", "<meta charset=Shift_JIS><title>\x93\xFA\x96\x7B</title>", "Shift_JIS"},
        {"ASCII page keeps its declared charset", koi8Head + "<title>a</title>", "KOI8-R"},
        // The declaration wins over the bytes, as in a browser.
        {"declared UTF-8 with a stray byte", "<meta charset=utf-8><title>\xE9</title>", "UTF-8"},
        {"declared windows-1252, UTF-8 bytes",
         "<meta charset=\"windows-1252\"><title>\xC3\xA9</title>", "windows-1252"},
        {"bytes the declaration cannot read", "<meta charset=Shift_JIS><title>\xA0\x80</title>",
         "Shift_JIS"},
        // The byte-order mark wins over the declaration.
        {"UTF-8 mark", "\xEF\xBB\xBF<meta charset=koi8-r><title>\xC3\xA9</title>", "UTF-8"},
        {"unknown charset, then a known one",
         "<meta charset=x-nothing><meta charset=koi8-r><title>\xE9</title>", "KOI8-R"},
        {"unknown charset only", "<meta charset=x-nothing><title>\xE9</title>", "windows-1252"},
        {"the replacement encoding is passed over",
         "<meta charset=iso-2022-kr><title>\xC3\xA9</title>", "UTF-8"},
        {"UTF-16 declarations mean UTF-8", "<meta charset=utf-16><title>a</title>", "UTF-8"},
        {"x-user-defined means windows-1252", "<meta charset=x-user-defined><title>a</title>",
         "windows-1252"},
        {"a declaration late in a long head",
         "<head>" + std::string(2000, ' ') + "<meta charset=koi8-r><title>\xF0</title>", "KOI8-R"},
        {"declaration after the body", "<body><meta charset=koi8-r>\xE9</body>", "windows-1252"},
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
    ASSERT_TRUE(CPageCodec::FromLabel("koi8-r", koi8));
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

    // ISO-2022-JP writes the long vowel mark of "ペー" with the byte of "<":
    // the page would read it as markup.
    CPageCodec jis;
    ASSERT_TRUE(CPageCodec::FromLabel("iso-2022-jp", jis));
    bytes = "unchanged";
    EXPECT_EQ(jis.EncodeValue(QString::fromUtf8("\xE3\x83\x9A\xE3\x83\xBC"), RefPlace::TEXT, bytes,
                              error),
              0);
    EXPECT_EQ(bytes, "unchanged");
    EXPECT_TRUE(error.contains("U+30FC")) << error.toStdString();
}

TEST(PageCodec, ReadsEveryLabelOfTheEncodingStandard) {
    const std::string ascii = "<meta name=\"a\" content='b &amp; c'> ~!";
    for (const EncodingLabel& entry : kEncodingLabels) {
        std::string upper(entry.label);
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const std::string& label : {std::string(entry.label), " \t" + upper + "\r\n\f"}) {
            EXPECT_EQ(CPageCodec::EncodingOfLabel(label), entry.encoding) << label;
            CPageCodec codec;
            const bool usable = CPageCodec::FromLabel(label, codec);
            if (entry.encoding == "replacement") {
                EXPECT_FALSE(usable) << label;
                continue;
            }
            ASSERT_TRUE(usable) << label;
            const QString expected =
                entry.encoding.starts_with("UTF-16") ? "UTF-8"
                : entry.encoding == "x-user-defined"
                    ? "windows-1252"
                    : QString::fromLatin1(entry.encoding.data(), qsizetype(entry.encoding.size()));
            EXPECT_EQ(codec.Name(), expected) << label;
            // Markup reads as itself in every encoding a page can declare.
            EXPECT_EQ(codec.Decode(ascii), QString::fromLatin1(ascii.data())) << label;
        }
    }
    const std::vector<std::pair<const char*, const char*>> aliases = {
        {"x-sjis", "Shift_JIS"},
        {"ks_c_5601-1987", "EUC-KR"},
        {"x-mac-ukrainian", "x-mac-cyrillic"},
        {"latin1", "windows-1252"},
        {"us-ascii", "windows-1252"},
        {"iso-8859-9", "windows-1254"},
        {"big5-hkscs", "Big5"},
        {"gb2312", "GBK"},
        {"tis-620", "windows-874"},
        {"iso_8859-16", ""},
        {"utf-7", ""},
        {"\"koi8-r\"", ""},
    };
    for (const auto& [label, name] : aliases)
        EXPECT_EQ(CPageCodec::EncodingOfLabel(label), name) << label;
}

struct SentenceCase {
    const char* label;
    const char* text;  // UTF-8
    const char* bytes; // the same in the encoding (written by another converter)
    const char* newText;
    const char* newBytes;
};

// A page in each encoding: its title, a description and the body read as
// text, the description changed and written back with the rest of the page
// byte for byte as it was.
TEST(PageCodec, RoundTripsASentenceInEachEncoding) {
    const std::vector<SentenceCase> cases = {
        {"windows-1252", "Café déjà vu", "\x43\x61\x66\xE9\x20\x64\xE9\x6A\xE0\x20\x76\x75",
         "Naïve façade", "\x4E\x61\xEF\x76\x65\x20\x66\x61\xE7\x61\x64\x65"},
        {"iso-8859-1", "Prix: 5 €", "\x50\x72\x69\x78\x3A\x20\x35\x20\x80", "Œuvre",
         "\x8C\x75\x76\x72\x65"},
        {"windows-1250", "Zażółć gęślą", "\x5A\x61\xBF\xF3\xB3\xE6\x20\x67\xEA\x9C\x6C\xB9", "Jaźń",
         "\x4A\x61\x9F\xF1"},
        {"iso-8859-2", "Zażółć gęślą", "\x5A\x61\xBF\xF3\xB3\xE6\x20\x67\xEA\xB6\x6C\xB1", "Jaźń",
         "\x4A\x61\xBC\xF1"},
        {"iso-8859-3", "Malti ħ ġ", "\x4D\x61\x6C\x74\x69\x20\xB1\x20\xF5", "Ħal", "\xA1\x61\x6C"},
        {"iso-8859-4", "Eesti ā ē", "\x45\x65\x73\x74\x69\x20\xE0\x20\xBA", "Ļ", "\xA6"},
        {"windows-1251", "Русская страница",
         "\xD0\xF3\xF1\xF1\xEA\xE0\xFF\x20\xF1\xF2\xF0\xE0\xED\xE8\xF6\xE0", "Описание",
         "\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5"},
        {"koi8-r", "Русская страница",
         "\xF2\xD5\xD3\xD3\xCB\xC1\xD1\x20\xD3\xD4\xD2\xC1\xCE\xC9\xC3\xC1", "Описание",
         "\xEF\xD0\xC9\xD3\xC1\xCE\xC9\xC5"},
        {"koi8-u", "Українська", "\xF5\xCB\xD2\xC1\xA7\xCE\xD3\xD8\xCB\xC1", "Опис",
         "\xEF\xD0\xC9\xD3"},
        {"iso-8859-5", "Русская", "\xC0\xE3\xE1\xE1\xDA\xD0\xEF", "Описание",
         "\xBE\xDF\xD8\xE1\xD0\xDD\xD8\xD5"},
        {"ibm866", "Русская", "\x90\xE3\xE1\xE1\xAA\xA0\xEF", "Описание",
         "\x8E\xAF\xA8\xE1\xA0\xAD\xA8\xA5"},
        {"x-mac-cyrillic", "Русская", "\x90\xF3\xF1\xF1\xEA\xE0\xDF", "Описание",
         "\x8E\xEF\xE8\xF1\xE0\xED\xE8\xE5"},
        {"windows-1253", "Ελληνική σελίδα",
         "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDE\x20\xF3\xE5\xEB\xDF\xE4\xE1", "Περιγραφή",
         "\xD0\xE5\xF1\xE9\xE3\xF1\xE1\xF6\xDE"},
        {"iso-8859-7", "Ελληνική σελίδα",
         "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDE\x20\xF3\xE5\xEB\xDF\xE4\xE1", "Περιγραφή",
         "\xD0\xE5\xF1\xE9\xE3\xF1\xE1\xF6\xDE"},
        {"windows-1254", "Türkçe sayfa", "\x54\xFC\x72\x6B\xE7\x65\x20\x73\x61\x79\x66\x61",
         "Açıklama", "\x41\xE7\xFD\x6B\x6C\x61\x6D\x61"},
        {"windows-1255", "עמוד בעברית", "\xF2\xEE\xE5\xE3\x20\xE1\xF2\xE1\xF8\xE9\xFA", "תיאור",
         "\xFA\xE9\xE0\xE5\xF8"},
        {"iso-8859-8", "עמוד בעברית", "\xF2\xEE\xE5\xE3\x20\xE1\xF2\xE1\xF8\xE9\xFA", "תיאור",
         "\xFA\xE9\xE0\xE5\xF8"},
        {"iso-8859-8-i", "עמוד", "\xF2\xEE\xE5\xE3", "תיאור", "\xFA\xE9\xE0\xE5\xF8"},
        {"windows-1256", "صفحة عربية", "\xD5\xDD\xCD\xC9\x20\xDA\xD1\xC8\xED\xC9", "وصف",
         "\xE6\xD5\xDD"},
        {"iso-8859-6", "صفحة عربية", "\xD5\xE1\xCD\xC9\x20\xD9\xD1\xC8\xEA\xC9", "وصف",
         "\xE8\xD5\xE1"},
        {"windows-1257", "Lietuvių kalba",
         "\x4C\x69\x65\x74\x75\x76\x69\xF8\x20\x6B\x61\x6C\x62\x61", "Aprašymas",
         "\x41\x70\x72\x61\xF0\x79\x6D\x61\x73"},
        {"iso-8859-13", "Lietuvių kalba",
         "\x4C\x69\x65\x74\x75\x76\x69\xF8\x20\x6B\x61\x6C\x62\x61", "Aprašymas",
         "\x41\x70\x72\x61\xF0\x79\x6D\x61\x73"},
        {"iso-8859-10", "Sámi ŋ", "\x53\xE1\x6D\x69\x20\xBF", "Đ", "\xA9"},
        {"iso-8859-14", "Cymraeg ŵ ŷ", "\x43\x79\x6D\x72\x61\x65\x67\x20\xF0\x20\xFE", "Ẁ", "\xA8"},
        {"iso-8859-15", "Œuvre €", "\xBC\x75\x76\x72\x65\x20\xA4", "Ÿ", "\xBE"},
        {"iso-8859-16", "Română ș ț", "\x52\x6F\x6D\xE2\x6E\xE3\x20\xBA\x20\xFE", "Ă", "\xC3"},
        {"windows-1258", "Đà", "\xD0\xE0", "Đ", "\xD0"},
        {"windows-874", "หน้าภาษาไทย", "\xCB\xB9\xE9\xD2\xC0\xD2\xC9\xD2\xE4\xB7\xC2", "คำอธิบาย",
         "\xA4\xD3\xCD\xB8\xD4\xBA\xD2\xC2"},
        {"macintosh", "Café", "\x43\x61\x66\x8E", "Œuvre", "\xCE\x75\x76\x72\x65"},
        {"shift_jis", "日本語のページ", "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x79\x81\x5B\x83\x57",
         "説明文", "\x90\xE0\x96\xBE\x95\xB6"},
        {"x-sjis", "日本語のページ", "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x79\x81\x5B\x83\x57",
         "説明文", "\x90\xE0\x96\xBE\x95\xB6"},
        {"euc-jp", "日本語のページ", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8",
         "説明文", "\xC0\xE2\xCC\xC0\xCA\xB8"},
        {"iso-2022-jp", "日本語の文書",
         "\x1B\x24\x42\x46\x7C\x4B\x5C\x38\x6C\x24\x4E\x4A\x38\x3D\x71\x1B\x28\x42", "説明文",
         "\x1B\x24\x42\x40\x62\x4C\x40\x4A\x38\x1B\x28\x42"},
        {"euc-kr", "한국어 페이지", "\xC7\xD1\xB1\xB9\xBE\xEE\x20\xC6\xE4\xC0\xCC\xC1\xF6",
         "똠방각하", "\x8C\x63\xB9\xE6\xB0\xA2\xC7\xCF"},
        {"ks_c_5601-1987", "한국어 페이지", "\xC7\xD1\xB1\xB9\xBE\xEE\x20\xC6\xE4\xC0\xCC\xC1\xF6",
         "설명", "\xBC\xB3\xB8\xED"},
        {"gb2312", "中文网页", "\xD6\xD0\xCE\xC4\xCD\xF8\xD2\xB3", "描述", "\xC3\xE8\xCA\xF6"},
        {"gbk", "中文网页", "\xD6\xD0\xCE\xC4\xCD\xF8\xD2\xB3", "描述", "\xC3\xE8\xCA\xF6"},
        {"gb18030", "中文网页 €", "\xD6\xD0\xCE\xC4\xCD\xF8\xD2\xB3\x20\xA2\xE3", "描述 𠀀",
         "\xC3\xE8\xCA\xF6\x20\x95\x32\x82\x36"},
        {"big5", "繁體中文網頁", "\xC1\x63\xC5\xE9\xA4\xA4\xA4\xE5\xBA\xF4\xAD\xB6", "描述",
         "\xB4\x79\xAD\x7A"},
    };
    for (const SentenceCase& c : cases) {
        const std::string head = std::string("<html><head>\n<meta http-equiv=\"Content-Type\" "
                                             "content=\"text/html; charset=") +
                                 c.label + "\">\n<title>" + c.bytes + "</title>\n";
        const std::string tail = "\n</head><body><p>" + std::string(c.bytes) + " &amp; " +
                                 c.newBytes + "</p></body></html>\n";
        const std::string before =
            head + "<meta name=\"description\" content=\"" + c.bytes + "\"/>" + tail;
        CHtmlPage page;
        page.SetText(before, BodyMode::PRESERVE);
        const CPageCodec codec = CPageCodec::ForPage(before, page);
        const QString text = QString::fromUtf8(c.text), newText = QString::fromUtf8(c.newText);
        EXPECT_EQ(codec.DecodeValue(page.GetTitle(), RefPlace::TEXT), text) << c.label;
        EXPECT_EQ(codec.DecodeValue(page.GetMetaContent("description"), RefPlace::ATTRIBUTE), text)
            << c.label;
        EXPECT_EQ(codec.DecodeValue(page.GetReaderText(), RefPlace::TEXT),
                  text + QStringLiteral(" & ") + newText)
            << c.label;
        std::string bytes;
        QString error;
        ASSERT_EQ(codec.EncodeValue(newText, RefPlace::ATTRIBUTE, bytes, error), 1)
            << c.label << ": " << error.toStdString();
        EXPECT_EQ(bytes, c.newBytes) << c.label;
        page.SetMeta("description", bytes, 0);
        EXPECT_EQ(page.GetText(),
                  head + "<meta name=\"description\" content=\"" + c.newBytes + "\"/>" + tail)
            << c.label;
    }
}

TEST(PageCodec, ReadsBig5AndGb18030PairsAsTheStandardDoes) {
    CPageCodec big5, gb;
    ASSERT_TRUE(CPageCodec::FromLabel("big5", big5));
    ASSERT_TRUE(CPageCodec::FromLabel("gb18030", gb));
    // The euro sign, a pair read as two characters, and a Hong Kong character
    // amid pairs the converter reads.
    EXPECT_EQ(
        big5.Decode("\xA4\xA4\xA3\xE1\x88\x62\x87\xA4\xA4\xE5"),
        QString::fromUtf8("\xE4\xB8\xAD\xE2\x82\xAC\xC3\x8A\xCC\x84\xE9\xBE\x97\xE6\x96\x87"));
    // gb18030's one-byte euro sign, a pair of its 2022 edition, a four-byte
    // sequence and a pair with 0x80 as its second byte.
    // A character cut short at the end of a value is shown, not dropped.
    EXPECT_EQ(big5.Decode("a\xA4"), QString::fromUtf8("a\xEF\xBF\xBD"));
    EXPECT_EQ(gb.Decode("\x80\xA6\xD9\x81\x30\x81\x30\x81\x80\x80"),
              QString::fromUtf8("\xE2\x82\xAC\xEF\xB8\x90\xC2\x80\xE4\xBA\x90\xE2\x82\xAC"));
}

// A UTF-16 page (with its byte-order mark) is edited as UTF-8 and written
// back as UTF-16: the rest of the file keeps its bytes, a lone surrogate too.
TEST(PageCodec, EditsAUtf16PageAndWritesItBackAsUtf16) {
    QTemporaryDir dir;
    const QString title =
        QString::fromUtf8("\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC");
    const QString page = QChar(0xFEFF) +
                         QStringLiteral("<html><head><meta charset=\"utf-16\"><title>") + title +
                         QStringLiteral("</title>\n<meta name=\"description\" content=\"old\"/>\n"
                                        "</head><body>x") +
                         QChar(0xD800) + QStringLiteral("y</body></html>\n");
    for (const auto form : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        const auto encode = [&](const QString& text) {
            QStringEncoder encoder(form, QStringConverter::Flag::Stateless);
            return QByteArray(encoder.encode(text));
        };
        const QString path = dir.filePath("page.html");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(encode(page));
        file.close();

        std::string text;
        QString error;
        PageFileForm read = PageFileForm::BYTES;
        ASSERT_EQ(LoadTextFile(path, text, error, &read), 1) << error.toStdString();
        EXPECT_EQ(read, form == QStringConverter::Utf16LE ? PageFileForm::UTF16LE
                                                          : PageFileForm::UTF16BE);
        CHtmlPage html;
        html.SetText(text, BodyMode::PRESERVE);
        const CPageCodec codec = CPageCodec::ForPage(text, html);
        EXPECT_EQ(codec.Name(), "UTF-8");
        EXPECT_EQ(codec.DecodeValue(html.GetTitle(), RefPlace::TEXT), title);
        std::string bytes;
        ASSERT_EQ(codec.EncodeValue(title, RefPlace::ATTRIBUTE, bytes, error), 1);
        html.SetMeta("description", bytes, 0);
        ASSERT_EQ(SaveTextFile(path, html.GetText(), error, FileSync::LATER, read), 1)
            << error.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString after = page;
        after.replace(QStringLiteral("content=\"old\""), "content=\"" + title + "\"");
        EXPECT_EQ(file.readAll(), encode(after));
        file.close();
    }
    // An odd number of bytes is no UTF-16 text.
    QFile odd(dir.filePath("odd.html"));
    ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
    odd.write("\xFF\xFE<\0a", 5);
    odd.close();
    std::string text;
    QString error;
    EXPECT_EQ(LoadTextFile(odd.fileName(), text, error), 0);
    EXPECT_TRUE(error.contains("UTF-16")) << error.toStdString();
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
