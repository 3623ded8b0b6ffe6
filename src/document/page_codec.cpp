#include "document/page_codec.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"

namespace {

constexpr char kUtf8[] = "UTF-8";
constexpr char kWindows1252[] = "windows-1252";

// Labels browsers read as another encoding than the one they name, or that
// the converters here know under another name.
struct LabelAlias {
    std::string_view label;
    const char* encoding;
};

// clang-format off
constexpr std::array kAliases = {
    // Pages declared as UTF-16 are read as UTF-8 (a declaration inside the
    // page could not have been read otherwise).
    LabelAlias{"utf8", kUtf8}, LabelAlias{"unicode-1-1-utf-8", kUtf8},
    LabelAlias{"unicode11utf8", kUtf8}, LabelAlias{"unicode20utf8", kUtf8},
    LabelAlias{"x-unicode20utf8", kUtf8}, LabelAlias{"utf-16", kUtf8},
    LabelAlias{"utf-16le", kUtf8}, LabelAlias{"utf-16be", kUtf8}, LabelAlias{"unicode", kUtf8},
    LabelAlias{"ucs-2", kUtf8}, LabelAlias{"csunicode", kUtf8},
    LabelAlias{"iso-10646-ucs-2", kUtf8}, LabelAlias{"unicodefeff", kUtf8},
    LabelAlias{"unicodefffe", kUtf8},
    // Latin-1 and ASCII are read as windows-1252.
    LabelAlias{"ansi_x3.4-1968", kWindows1252}, LabelAlias{"ascii", kWindows1252},
    LabelAlias{"cp1252", kWindows1252}, LabelAlias{"cp819", kWindows1252},
    LabelAlias{"csisolatin1", kWindows1252}, LabelAlias{"ibm819", kWindows1252},
    LabelAlias{"iso-8859-1", kWindows1252}, LabelAlias{"iso-ir-100", kWindows1252},
    LabelAlias{"iso8859-1", kWindows1252}, LabelAlias{"iso88591", kWindows1252},
    LabelAlias{"iso_8859-1", kWindows1252}, LabelAlias{"iso_8859-1:1987", kWindows1252},
    LabelAlias{"l1", kWindows1252}, LabelAlias{"latin1", kWindows1252},
    LabelAlias{"us-ascii", kWindows1252}, LabelAlias{"x-cp1252", kWindows1252},
    // Latin-5 as windows-1254, TIS-620 as windows-874, GB2312 as GBK.
    LabelAlias{"iso-8859-9", "windows-1254"}, LabelAlias{"iso8859-9", "windows-1254"},
    LabelAlias{"iso88599", "windows-1254"}, LabelAlias{"iso_8859-9", "windows-1254"},
    LabelAlias{"iso-ir-148", "windows-1254"}, LabelAlias{"latin5", "windows-1254"},
    LabelAlias{"l5", "windows-1254"}, LabelAlias{"csisolatin5", "windows-1254"},
    LabelAlias{"tis-620", "windows-874"}, LabelAlias{"iso-8859-11", "windows-874"},
    LabelAlias{"iso8859-11", "windows-874"}, LabelAlias{"iso885911", "windows-874"},
    LabelAlias{"dos-874", "windows-874"},
    LabelAlias{"gb2312", "GBK"}, LabelAlias{"gb_2312", "GBK"}, LabelAlias{"gb_2312-80", "GBK"},
    LabelAlias{"csgb2312", "GBK"}, LabelAlias{"chinese", "GBK"}, LabelAlias{"iso-ir-58", "GBK"},
    LabelAlias{"x-gbk", "GBK"}, LabelAlias{"cp936", "GBK"}, LabelAlias{"ms936", "GBK"},
};
// clang-format on

QByteArrayView View(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool IsAscii(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The label without white space and quotes around it, in lower case.
std::string CleanLabel(std::string_view label) {
    label = TrimAscii(label);
    while (!label.empty() && (label.front() == '"' || label.front() == '\''))
        label.remove_prefix(1);
    while (!label.empty() && (label.back() == '"' || label.back() == '\''))
        label.remove_suffix(1);
    return AsciiLower(TrimAscii(label));
}

// A converter that reads markup: printable ASCII stays itself both ways.
bool IsAsciiCompatible(const QByteArray& name) {
    QByteArray ascii;
    for (char c = 0x20; c < 0x7F; ++c)
        ascii.append(c);
    QStringDecoder decoder(name.constData());
    const QString text = decoder.decode(ascii);
    if (decoder.hasError() || text != QLatin1String(ascii))
        return false;
    QStringEncoder encoder(name.constData());
    const QByteArray back = encoder.encode(text);
    return !encoder.hasError() && back == ascii;
}

// How a character is named in a message: quoted when it can be seen, and its
// code point.
QString DescribeCharacter(const QString& character) {
    const char32_t code = character.size() == 2 && character[0].isHighSurrogate()
                              ? QChar::surrogateToUcs4(character[0], character[1])
                              : character[0].unicode();
    const QString number =
        QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
    if (QChar::isPrint(code) && !QChar::isSpace(code))
        return QStringLiteral("\"%1\" (%2)").arg(character, number);
    return number;
}

} // namespace

CPageCodec::CPageCodec() : CPageCodec(QByteArray(kUtf8)) {}

CPageCodec::CPageCodec(QByteArray name) : m_name(std::move(name)), m_utf8(m_name == kUtf8) {}

CPageCodec CPageCodec::ForPage(std::string_view bytes, const CHtmlPage& page) {
    const bool ascii = IsAscii(bytes);
    if (!ascii && View(bytes).isValidUtf8())
        return CPageCodec();
    CPageCodec declared;
    if (FromLabel(DeclaredCharset(page), declared)) {
        // A declaration the bytes contradict is not believed.
        const bool believed = declared.m_utf8
                                  ? ascii
                                  : (declared.m_name == kWindows1252 || declared.RoundTrips(bytes));
        if (believed)
            return declared;
    }
    return ascii ? CPageCodec() : CPageCodec(QByteArray(kWindows1252));
}

std::string CPageCodec::DeclaredCharset(const CHtmlPage& page) {
    std::string value;
    for (POSITION pos = page.GetHeadPosition(); pos; pos = CHtmlPage::GetNextPosition(pos)) {
        const CHtmlSection* section = CHtmlPage::GetAt(pos);
        if (section->GetType() != SECTION_TAG)
            continue;
        const CHtmlTag& tag = static_cast<const CTagSection*>(section)->Tag();
        if (tag.GetElementRow() == ROW_BODY)
            break;
        if (tag.GetElementRow() != ROW_META)
            continue;
        if (tag.GetAttribute("charset", value) && !CleanLabel(value).empty())
            return CleanLabel(value);
        if (tag.GetAttribute("http-equiv", value) && CleanLabel(value) == "content-type") {
            tag.GetAttribute("content", value);
            std::string charset = CharsetOfContentType(value);
            if (!charset.empty())
                return charset;
        }
    }
    return {};
}

std::string CPageCodec::CharsetOfContentType(std::string_view contentType) {
    const std::string lower = AsciiLower(contentType);
    size_t at = 0;
    while ((at = lower.find("charset", at)) != std::string::npos) {
        at += 7;
        size_t p = at;
        while (p < lower.size() && IsAsciiSpace(lower[p]))
            ++p;
        if (p >= lower.size() || lower[p] != '=')
            continue;
        ++p;
        while (p < lower.size() && IsAsciiSpace(lower[p]))
            ++p;
        if (p >= lower.size())
            return {};
        size_t end;
        if (lower[p] == '"' || lower[p] == '\'') {
            end = lower.find(lower[p], p + 1);
            if (end == std::string::npos)
                return {};
            ++p;
        } else {
            end = p;
            while (end < lower.size() && lower[end] != ';' && !IsAsciiSpace(lower[end]))
                ++end;
        }
        return lower.substr(p, end - p);
    }
    return {};
}

int CPageCodec::FromLabel(std::string_view label, CPageCodec& codec) {
    const std::string clean = CleanLabel(label);
    if (clean.empty())
        return 0;
    for (const LabelAlias& alias : kAliases) {
        if (alias.label == clean) {
            codec = CPageCodec(QByteArray(alias.encoding));
            return 1;
        }
    }
    QStringDecoder decoder(clean.c_str());
    if (!decoder.isValid())
        return 0;
    // Under the converter's own name, so that equal encodings compare equal.
    QByteArray name(decoder.name());
    if (name.compare(kUtf8, Qt::CaseInsensitive) == 0) {
        codec = CPageCodec();
        return 1;
    }
    if (!IsAsciiCompatible(name))
        return 0;
    codec = CPageCodec(std::move(name));
    return 1;
}

QString CPageCodec::Decode(std::string_view bytes) const {
    if (m_utf8)
        return QString::fromUtf8(View(bytes));
    QStringDecoder decoder(m_name.constData());
    return decoder.decode(View(bytes));
}

bool CPageCodec::RoundTrips(std::string_view bytes) const {
    QStringDecoder decoder(m_name.constData());
    const QString text = decoder.decode(View(bytes));
    if (decoder.hasError())
        return false;
    QStringEncoder encoder(m_name.constData());
    const QByteArray back = encoder.encode(text);
    return !encoder.hasError() && QByteArrayView(back) == View(bytes);
}

int CPageCodec::Encode(const QString& text, std::string& bytes, QString& error) const {
    const auto encode = [this](const QString& part, QByteArray& out) {
        QStringEncoder encoder(m_name.constData());
        out = encoder.encode(part);
        // A character the charset lacks comes out as a substitute: what reads
        // back differently was not written.
        return !encoder.hasError() && Decode(std::string_view(out.constData(), out.size())) == part;
    };
    QByteArray out;
    if (encode(text, out)) {
        bytes.assign(out.constData(), static_cast<size_t>(out.size()));
        return 1;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString character = text.mid(i, len);
        if (!encode(character, out)) {
            error = QStringLiteral("The character %1 cannot be written in the encoding %2.")
                        .arg(DescribeCharacter(character), Name());
            return 0;
        }
        i += len;
    }
    // Each character alone could be written, the whole could not (a stateful
    // encoding): still refuse rather than write something else.
    error = QStringLiteral("The text cannot be written in the encoding %1.").arg(Name());
    return 0;
}
