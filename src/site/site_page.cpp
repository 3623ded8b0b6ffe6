#include "site/site_page.h"
#include "document/fingerprint.h"

#include <cstdint>
#include <unordered_set>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "page/ascii_text.h"
#include "page/html_page.h"
#include "page/page_names.h"

namespace {

const CHtmlTag* TagOf(POSITION pos) {
    const CHtmlSection* section = CHtmlPage::GetAt(pos);
    return section->GetType() == SECTION_TAG ? &static_cast<const CTagSection*>(section)->Tag()
                                             : nullptr;
}

bool IsHtmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Whether text at i, after "<" and any white space, holds the name (in any
// case) followed by anything that cannot go on a name. Generous on purpose:
// it finds every tag of that name the page model reads, and maybe more.
bool NameAt(std::string_view text, size_t i, std::string_view name) {
    while (i < text.size() && IsAsciiSpace(text[i]))
        ++i;
    if (text.size() - i < name.size())
        return false;
    for (size_t k = 0; k < name.size(); ++k) {
        if ((text[i + k] | 0x20) != name[k])
            return false;
    }
    const size_t after = i + name.size();
    if (after == text.size())
        return true;
    const char c = text[after];
    const bool nameGoesOn = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.';
    return !nameGoesOn;
}

// Where the first tag that looks like a body tag ("<body" or "</body") ends
// (one past its ">"), or npos.
size_t HeadEnd(std::string_view text) {
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        const size_t name = at + 1 < text.size() && text[at + 1] == '/' ? at + 2 : at + 1;
        if (!NameAt(text, name, "body"))
            continue;
        const size_t gt = text.find('>', at);
        return gt == std::string_view::npos ? gt : gt + 1;
    }
    return std::string_view::npos;
}

// Whether text holds anything a parse might read as a meta tag: "<", any
// white space, "meta" (in any case), inside comments and scripts too. The
// part after the body tag is most of a page, and "<" is everywhere in it:
// sixteen bytes at a time, only a "<" before "m", "M" or white space is
// looked at closely.
bool MayHoldMeta(std::string_view text) {
    const char* s = text.data();
    const size_t n = text.size();
    size_t i = 0;
#ifdef __SSE2__
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i m = _mm_set1_epi8('m');
    const __m128i lower = _mm_set1_epi8(0x20);
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i controls = _mm_set1_epi8(0x0E); // tab to carriage return: below it
    for (; i + 17 <= n; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
        const __m128i name =
            _mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(next, lower), m),
                         _mm_or_si128(_mm_cmpeq_epi8(next, space), _mm_cmplt_epi8(next, controls)));
        unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, lt), name)));
        while (mask) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
            if (NameAt(text, at + 1, "meta"))
                return true;
            mask &= mask - 1;
        }
    }
#endif
    for (size_t at = text.find('<', i); at != std::string_view::npos; at = text.find('<', at + 1)) {
        if (NameAt(text, at + 1, "meta"))
            return true;
    }
    return false;
}

// Whether the raw text of a script or style element that starts at from ends
// before the end of text: at the first "</" + name (any case) followed by
// white space, "/", ">" or the end, as the page model ends it.
bool RawTextEndsIn(std::string_view text, size_t from, std::string_view name) {
    for (size_t at = text.find("</", from); at != std::string_view::npos;
         at = text.find("</", at + 1)) {
        if (text.size() - at < 2 + name.size())
            return false;
        bool match = true;
        for (size_t k = 0; match && k < name.size(); ++k)
            match = (text[at + 2 + k] | 0x20) == name[k];
        const size_t after = at + 2 + name.size();
        if (match && (after == text.size() || IsHtmlSpace(text[after]) || text[after] == '/' ||
                      text[after] == '>'))
            return true;
    }
    return false;
}

// Whether page, parsed from source (the first bytes of a text), holds the pieces
// the whole text has there. The page model cuts a piece from the bytes up to
// its end alone, so this holds when no piece runs on past the cut in the whole
// text: the first body tag is the part's last piece and ends at the cut, and
// no comment, script or style element before it is left open in the part.
bool HeadParsedAsWhole(const CHtmlPage& page, std::string_view source) {
    const size_t cut = source.size();
    // Where a piece's bytes end in the part (npos when they are not the
    // part's own: the page keeps a copy, or made them in a repair).
    const auto endOf = [&](std::string_view bytes) {
        const auto at = reinterpret_cast<uintptr_t>(bytes.data());
        const auto begin = reinterpret_cast<uintptr_t>(source.data());
        if (at < begin || at + bytes.size() > begin + source.size())
            return std::string_view::npos;
        return static_cast<size_t>(at - begin) + bytes.size();
    };
    for (POSITION pos = page.GetHeadPosition(); pos; pos = CHtmlPage::GetNextPosition(pos)) {
        const CHtmlSection* section = CHtmlPage::GetAt(pos);
        if (CHtmlPage::IsVerbatimRun(pos))
            return false; // pieces not looked into
        if (section->GetType() == SECTION_COMMENT) {
            // A comment whose "-->" was not in the part is left open.
            const size_t end = endOf(static_cast<const CCommentSection*>(section)->Inner());
            if (end == std::string_view::npos || source.substr(end).substr(0, 3) != "-->")
                return false;
            continue;
        }
        const CHtmlTag* tag = TagOf(pos);
        if (!tag)
            continue;
        const size_t end = endOf(tag->GetRawText());
        if (end == std::string_view::npos)
            return false;
        const int row = tag->GetElementRow();
        if (row == ROW_BODY)
            return !CHtmlPage::GetNextPosition(pos) && end == cut;
        if ((row == ROW_SCRIPT || row == ROW_STYLE) && tag->GetKind() == TAG_OPEN &&
            !RawTextEndsIn(source, end, row == ROW_SCRIPT ? "script" : "style"))
            return false;
    }
    return false; // no body tag in the part
}

} // namespace

void ReadPageHead(CHtmlPage& page, const std::string& text, bool headOnly) {
    // Most of a page lies after its body tag, where only meta tags matter to
    // the reads: when none can be there, the head alone is parsed.
    const size_t cut = headOnly ? HeadEnd(text) : std::string::npos;
    if (cut != std::string::npos && !MayHoldMeta(std::string_view(text).substr(cut))) {
        // The page keeps the bytes it is given (a string moves with its buffer).
        std::string head = text.substr(0, cut);
        const std::string_view bytes(head.data(), head.size());
        page.SetText(std::move(head), BodyMode::PRESERVE);
        if (HeadParsedAsWhole(page, bytes))
            return;
    }
    page.SetText(text, BodyMode::PRESERVE);
}

QString ValueText(const CPageCodec& codec, std::string_view bytes, RefPlace place) {
    return codec.DecodeValue(bytes, place);
}

bool ValueBytes(const CPageCodec& codec, const QString& text, RefPlace place, std::string& bytes,
                QString& error) {
    return codec.EncodeValue(text, place, bytes, error);
}

std::string MetaTextKey(const QString& name) {
    return MetaNameKey(name.toUtf8().toStdString());
}

void CPageValues::Read(std::string_view bytes, const CHtmlPage& page,
                       const std::vector<QString>& names) {
    fingerprint = PageFingerprint(bytes);
    codec = CPageCodec::ForPage(bytes, page);
    std::string raw;
    int action = 0;
    hasTitle = page.GetTitleWithAction(raw, action);
    title = ValueText(codec, raw, RefPlace::TEXT);
    metas.clear();
    std::unordered_set<std::string> seen;
    std::string name, content;
    int httpEquiv = 0;
    for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i) {
        if (name.empty() || !seen.insert(MetaNameKey(name)).second)
            continue;
        metas.push_back(
            {codec.Decode(name), httpEquiv, ValueText(codec, content, RefPlace::ATTRIBUTE)});
    }
    for (const QString& wanted : names) {
        std::string bytesName;
        QString error;
        if (!codec.Encode(wanted, bytesName, error) || seen.count(MetaNameKey(bytesName)))
            continue;
        const POSITION pos = page.FindMeta(bytesName);
        if (!pos)
            continue;
        seen.insert(MetaNameKey(bytesName));
        const CHtmlTag& tag = static_cast<const CTagSection*>(CHtmlPage::GetAt(pos))->Tag();
        std::string written;
        httpEquiv = !tag.GetAttribute("name", written) || written.empty();
        if (httpEquiv)
            tag.GetAttribute("http-equiv", written);
        tag.GetAttribute("content", content);
        metas.push_back(
            {codec.Decode(written), httpEquiv, ValueText(codec, content, RefPlace::ATTRIBUTE)});
    }
}

const CPageMetaValue* CPageValues::FindMeta(const QString& name) const {
    const std::string key = MetaTextKey(name);
    for (const CPageMetaValue& meta : metas) {
        if (MetaTextKey(meta.name) == key)
            return &meta;
    }
    return nullptr;
}

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
