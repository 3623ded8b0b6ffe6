// CPageCodec: how the bytes of one page become text and text becomes bytes.
//
// A page's encoding is decided once, from its bytes and its meta tags, in the
// order a browser decides it for a file it opens:
//   1. a byte-order mark: UTF-8 (a UTF-16 file has been read as UTF-8 text
//      that keeps its mark, see ReadPageFile);
//   2. the first charset the page declares before its body (<meta charset>,
//      or the charset= of an http-equiv Content-Type) that names an encoding
//      of the Encoding Standard, read as browsers read it: "iso-8859-1" and
//      "us-ascii" are windows-1252, "utf-16" in a declaration is UTF-8, and
//      a page declaring UTF-8 stays UTF-8 whatever stray bytes it holds;
//   3. bytes that are valid UTF-8 (plain ASCII too) are UTF-8;
//   4. anything else is windows-1252, whose five unassigned bytes map to the
//      C1 controls, so that every byte maps to one character and back.
// Conversions go through the system's converters (QStringDecoder, ICU
// underneath) under the names that read as the Standard does, with the
// Standard's own data where the converters lack an encoding (ISO-8859-16) or
// read a byte pair otherwise (Big5, gb18030). Decoding never fails; encoding
// refuses a character the encoding cannot hold instead of writing a
// substitute. A codec is a small value; copy it freely.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

#include "document/char_refs.h"

class CHtmlPage;

class CPageCodec {
public:
    // UTF-8.
    CPageCodec();

    // The codec of a page: bytes is its text, page its model read from it.
    static CPageCodec ForPage(std::string_view bytes, const CHtmlPage& page);
    // The first charset the page declares before its body that names an
    // encoding this system reads, as written (trimmed, lower case); "" when none.
    static std::string DeclaredCharset(const CHtmlPage& page);
    // The charset a Content-Type value names ("text/html; charset=koi8-r"
    // gives "koi8-r"), "" when none.
    static std::string CharsetOfContentType(std::string_view contentType);
    // The name of the encoding a label stands for in the Encoding Standard
    // (ASCII case and white space around it ignored: " Latin1 " is
    // "windows-1252"), "" for a label it does not know.
    static std::string_view EncodingOfLabel(std::string_view label);
    // The codec for a charset a page declares. False (codec left as it was)
    // for a label the Standard does not know and for its "replacement"
    // encoding, which a page's text cannot be read in.
    static bool FromLabel(std::string_view label, CPageCodec& codec);

    // The encoding's name in the Standard ("UTF-8", "windows-1252", "KOI8-R" ...).
    QString Name() const { return QString::fromLatin1(m_name.data(), qsizetype(m_name.size())); }
    int IsUtf8() const { return m_kind == Kind::UTF8 ? 1 : 0; }
    bool operator==(const CPageCodec& other) const { return m_name == other.m_name; }

    // The text of bytes.
    QString Decode(std::string_view bytes) const;
    // The bytes of text. Returns 1, or 0 with bytes unchanged and error naming
    // the first character the encoding cannot hold.
    int Encode(const QString& text, std::string& bytes, QString& error) const;

    // The text a reader sees in a title (TEXT) or an attribute value
    // (ATTRIBUTE) stored as bytes: decoded, character references resolved.
    QString DecodeValue(std::string_view bytes, RefPlace place) const;
    // The bytes that store text typed by a user there: "&" escaped where it
    // would start a reference, then encoded as Encode does. (The page model
    // escapes the quote of an attribute and the title's "<" and ">".)
    int EncodeValue(const QString& text, RefPlace place, std::string& bytes, QString& error) const;

private:
    enum class Kind { UTF8, CONVERTER, ISO_8859_16 };
    // Byte pairs read from the Standard's data rather than the converter.
    enum class Pairs { NONE, BIG5, GB18030 };
    CPageCodec(std::string_view name, Kind kind, const char* converter, Pairs pairs);
    QString DecodeWithPairs(std::string_view bytes) const;
    QString DecodeConverted(std::string_view bytes) const;
    // The bytes of text; false when a character cannot be held.
    bool EncodePart(const QString& text, QByteArray& out) const;
    bool EncodeConverted(QStringView text, QByteArray& out) const;

    std::string_view m_name;
    Kind m_kind;
    const char* m_converter;
    Pairs m_pairs;
};
