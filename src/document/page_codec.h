// CPageCodec: how the bytes of one page become text and text becomes bytes.
//
// A page's encoding is decided once, from its bytes and its meta tags:
//   - bytes with non-ASCII characters that are valid UTF-8 are UTF-8;
//   - otherwise the charset the page declares (<meta charset> or the charset=
//     of an http-equiv Content-Type), when it is known and reads the whole
//     page back to the same bytes; labels are read as browsers read them, so
//     "iso-8859-1", "us-ascii" and "latin1" mean windows-1252;
//   - otherwise a page of plain ASCII is UTF-8 (what a new character is best
//     written as), and any other page is windows-1252, whose five unassigned
//     bytes map to the C1 controls, so that every byte maps to one character
//     and back.
// Decoding never fails; encoding refuses a character the charset cannot hold
// instead of writing a substitute. A codec is a small value; copy it freely.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

class CHtmlPage;

class CPageCodec {
public:
    // UTF-8.
    CPageCodec();

    // The codec of a page: bytes is its text, page its model read from it.
    static CPageCodec ForPage(std::string_view bytes, const CHtmlPage& page);
    // The charset the page declares before its body, "" when none: the first
    // meta tag with a charset attribute or an http-equiv Content-Type whose
    // content names one.
    static std::string DeclaredCharset(const CHtmlPage& page);
    // The charset a Content-Type value names ("text/html; charset=koi8-r"
    // gives "koi8-r"), "" when none.
    static std::string CharsetOfContentType(std::string_view contentType);
    // The codec for a charset label as a browser reads it. Returns 1, or 0
    // (and leaves codec as it was) for a label this system does not know.
    static int FromLabel(std::string_view label, CPageCodec& codec);

    // The encoding's name ("UTF-8", "windows-1252", "KOI8-R" ...).
    QString Name() const { return QString::fromLatin1(m_name); }
    int IsUtf8() const { return m_utf8 ? 1 : 0; }
    bool operator==(const CPageCodec& other) const { return m_name == other.m_name; }

    // The text of bytes.
    QString Decode(std::string_view bytes) const;
    // The bytes of text. Returns 1, or 0 with bytes unchanged and error naming
    // the first character the encoding cannot hold.
    int Encode(const QString& text, std::string& bytes, QString& error) const;

private:
    explicit CPageCodec(QByteArray name);
    // Decoding the whole of bytes gives no error and encodes back to them.
    bool RoundTrips(std::string_view bytes) const;

    QByteArray m_name;
    bool m_utf8;
};
