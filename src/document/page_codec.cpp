#include "document/page_codec.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "document/encoding_data.h"
#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"

namespace {

constexpr std::string_view kUtf8 = "UTF-8";
constexpr std::string_view kWindows1252 = "windows-1252";
constexpr char32_t kEuro = 0x20AC;

QByteArrayView View(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The Standard strips ASCII white space (tab, line feed, form feed, carriage
// return, space) around a label and ignores ASCII case.
std::string CleanLabel(std::string_view label) {
    while (!label.empty() && IsAsciiSpace(label.front()))
        label.remove_prefix(1);
    while (!label.empty() && IsAsciiSpace(label.back()))
        label.remove_suffix(1);
    return AsciiLower(label);
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

template <size_t N>
const BytePairText* FindPair(const std::array<BytePairText, N>& pairs, uint16_t pair) {
    const auto it =
        std::lower_bound(pairs.begin(), pairs.end(), pair,
                         [](const BytePairText& p, uint16_t key) { return p.pair < key; });
    return it != pairs.end() && it->pair == pair ? &*it : nullptr;
}

void AppendCharacter(QString& out, char32_t c) {
    out += QString::fromUcs4(&c, 1);
}

} // namespace

CPageCodec::CPageCodec() : CPageCodec(kUtf8, Kind::UTF8, nullptr, Pairs::NONE) {}

CPageCodec::CPageCodec(std::string_view name, Kind kind, const char* converter, Pairs pairs)
    : m_name(name), m_kind(kind), m_converter(converter), m_pairs(pairs) {}

CPageCodec CPageCodec::ForPage(std::string_view bytes, const CHtmlPage& page) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return CPageCodec();
    CPageCodec declared;
    if (FromLabel(DeclaredCharset(page), declared))
        return declared;
    if (View(bytes).isValidUtf8())
        return CPageCodec();
    return CPageCodec(kWindows1252, Kind::CONVERTER, "windows-1252", Pairs::NONE);
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
        // A label that names no encoding is passed over, as browsers do.
        CPageCodec codec;
        if (tag.GetAttribute("charset", value)) {
            if (FromLabel(value, codec))
                return CleanLabel(value);
        } else if (tag.GetAttribute("http-equiv", value) && CleanLabel(value) == "content-type") {
            tag.GetAttribute("content", value);
            std::string charset = CharsetOfContentType(value);
            if (FromLabel(charset, codec))
                return CleanLabel(charset);
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

std::string_view CPageCodec::EncodingOfLabel(std::string_view label) {
    const std::string clean = CleanLabel(label);
    const auto it = std::lower_bound(
        kEncodingLabels.begin(), kEncodingLabels.end(), std::string_view(clean),
        [](const EncodingLabel& entry, std::string_view key) { return entry.label < key; });
    return it != kEncodingLabels.end() && it->label == clean ? it->encoding : std::string_view();
}

bool CPageCodec::FromLabel(std::string_view label, CPageCodec& codec) {
    const std::string_view name = EncodingOfLabel(label);
    if (name.empty() || name == "replacement")
        return false;
    // A page that could declare its charset in ASCII is not UTF-16; a
    // declaration of x-user-defined is read as windows-1252.
    if (name == kUtf8 || name == "UTF-16LE" || name == "UTF-16BE") {
        codec = CPageCodec();
    } else if (name == "x-user-defined") {
        codec = CPageCodec(kWindows1252, Kind::CONVERTER, "windows-1252", Pairs::NONE);
    } else if (name == "ISO-8859-16") {
        codec = CPageCodec(name, Kind::ISO_8859_16, nullptr, Pairs::NONE);
    } else if (name == "EUC-KR") {
        // The Standard's EUC-KR is Microsoft's extension of it.
        codec = CPageCodec(name, Kind::CONVERTER, "windows-949", Pairs::NONE);
    } else if (name == "Big5") {
        // The Standard's Big5 holds the Hong Kong supplement.
        codec = CPageCodec(name, Kind::CONVERTER, "Big5-HKSCS", Pairs::BIG5);
    } else if (name == "GBK" || name == "gb18030") {
        // GBK is read by gb18030's decoder; written as gb18030, which every
        // reader of GBK pages reads back.
        codec = CPageCodec(name, Kind::CONVERTER, "GB18030", Pairs::GB18030);
    } else if (name == "ISO-8859-8-I") {
        // The same characters; "-I" only tells the direction of the text.
        codec = CPageCodec(name, Kind::CONVERTER, "ISO-8859-8", Pairs::NONE);
    } else {
        // The label table's names are string literals, so data() ends in a zero.
        codec = CPageCodec(name, Kind::CONVERTER, name.data(), Pairs::NONE);
    }
    return true;
}

QString CPageCodec::Decode(std::string_view bytes) const {
    switch (m_kind) {
    case Kind::UTF8:
        return QString::fromUtf8(View(bytes));
    case Kind::ISO_8859_16: {
        QString text;
        text.reserve(static_cast<qsizetype>(bytes.size()));
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            text += QChar(b < 0x80 ? char16_t(b) : kIso8859_16High[b - 0x80]);
        }
        return text;
    }
    case Kind::CONVERTER:
        break;
    }
    if (m_pairs != Pairs::NONE)
        return DecodeWithPairs(bytes);
    return DecodeConverted(bytes);
}

QString CPageCodec::DecodeConverted(std::string_view bytes) const {
    // The converter is not told where the bytes end and would keep a
    // character cut short for more: a line feed after them, which no
    // encoding reads as part of a character, ends it.
    QByteArray ended(bytes.data(), static_cast<qsizetype>(bytes.size()));
    ended += '\n';
    QStringDecoder decoder(m_converter, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(ended);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

// Walks the characters as the Standard's decoder cuts them and reads the byte
// pairs of its data (and gb18030's one-byte euro sign) itself; the converter
// reads the runs between them, each starting on a character of its own.
QString CPageCodec::DecodeWithPairs(std::string_view bytes) const {
    const bool gb = m_pairs == Pairs::GB18030;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    size_t run = 0;
    const auto flush = [&](size_t end) {
        if (end > run)
            text += DecodeConverted(bytes.substr(run, end - run));
    };
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char lead = byte(i);
        if (gb && lead == 0x80) {
            flush(i);
            AppendCharacter(text, kEuro);
            run = ++i;
            continue;
        }
        if (lead <= 0x80 || lead == 0xFF || i + 1 == bytes.size()) {
            ++i;
            continue;
        }
        const unsigned char trail = byte(i + 1);
        if (gb && trail >= 0x30 && trail <= 0x39) {
            i = std::min(i + 4, bytes.size()); // a four-byte sequence
            continue;
        }
        const bool pairTrail =
            gb ? trail >= 0x40 && trail != 0x7F && trail != 0xFF
               : (trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail != 0xFF);
        if (!pairTrail) {
            ++i;
            continue;
        }
        const auto pair = static_cast<uint16_t>(lead << 8 | trail);
        const BytePairText* known = gb ? FindPair(kGb18030Pairs, pair) : FindPair(kBig5Pairs, pair);
        if (known) {
            flush(i);
            AppendCharacter(text, known->first);
            if (known->second)
                AppendCharacter(text, known->second);
            run = i + 2;
        }
        i += 2;
    }
    flush(bytes.size());
    return text;
}

bool CPageCodec::EncodeConverted(QStringView text, QByteArray& out) const {
    // The converter is not told where the text ends, so a stateful encoding
    // (ISO-2022-JP) would stay in its last mode: a letter after the text
    // brings it back to ASCII, and is then taken off.
    QStringEncoder encoder(m_converter, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text.toString() + QLatin1Char('a'));
    if (encoder.hasError() || !bytes.endsWith('a'))
        return false;
    bytes.chop(1);
    out += bytes;
    return true;
}

bool CPageCodec::EncodePart(const QString& text, QByteArray& out) const {
    out.clear();
    switch (m_kind) {
    case Kind::UTF8: {
        QStringEncoder encoder(QStringConverter::Utf8);
        out = encoder.encode(text);
        if (encoder.hasError())
            return false;
        break;
    }
    case Kind::ISO_8859_16:
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                out += static_cast<char>(c.unicode());
                continue;
            }
            const auto at = std::find(kIso8859_16High.begin(), kIso8859_16High.end(), c.unicode());
            if (at == kIso8859_16High.end() || c.unicode() == 0xFFFD)
                return false;
            out += static_cast<char>(0x80 + (at - kIso8859_16High.begin()));
        }
        break;
    case Kind::CONVERTER:
        // The characters of the pairs read from the Standard's data are
        // written as the converter writes them, which browsers read back.
        if (!EncodeConverted(text, out))
            return false;
        break;
    }
    // A character the encoding lacks may come out as a substitute: what reads
    // back differently was not written.
    return Decode(std::string_view(out.constData(), static_cast<size_t>(out.size()))) == text;
}

int CPageCodec::Encode(const QString& text, std::string& bytes, QString& error) const {
    QByteArray out;
    if (EncodePart(text, out)) {
        bytes.assign(out.constData(), static_cast<size_t>(out.size()));
        return 1;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString character = text.mid(i, len);
        if (!EncodePart(character, out)) {
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

QString CPageCodec::DecodeValue(std::string_view bytes, RefPlace place) const {
    return DecodeCharRefs(Decode(bytes), place);
}

int CPageCodec::EncodeValue(const QString& text, RefPlace place, std::string& bytes,
                            QString& error) const {
    const QString escaped = EscapeAmpersands(text, place);
    std::string out;
    if (!Encode(escaped, out, error))
        return 0;
    // In a stateful encoding (ISO-2022-JP) a character may be written with
    // the bytes of quotes, "<", ">" or "&", which the page would read as
    // markup: refuse such a character rather than have it cut or escaped.
    const auto markup = [](char c) {
        return c == '"' || c == '\'' || c == '<' || c == '>' || c == '&';
    };
    const auto inText = std::count_if(escaped.begin(), escaped.end(), [&](QChar c) {
        return c.unicode() < 0x80 && markup(static_cast<char>(c.unicode()));
    });
    if (std::count_if(out.begin(), out.end(), markup) != inText) {
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            std::string one;
            const qsizetype len = escaped[i].isHighSurrogate() && i + 1 < escaped.size() ? 2 : 1;
            const QString character = escaped.mid(i, len);
            if (character[0].unicode() >= 0x80 && Encode(character, one, error) &&
                std::any_of(one.begin(), one.end(), markup)) {
                error = QStringLiteral("The character %1 cannot be written safely in the "
                                       "encoding %2: it would be read as markup.")
                            .arg(DescribeCharacter(character), Name());
                return 0;
            }
            i += len - 1;
        }
        error = QStringLiteral("The text cannot be written safely in the encoding %1.").arg(Name());
        return 0;
    }
    bytes = std::move(out);
    return 1;
}
