// Fuzzes reading, writing and rebuilding pages, and checks what must always hold:
// - a text without "<" is written back unchanged;
// - in preserve-body mode, the text from the first body tag on is written back
//   as read, also after any edit, except for meta tags there that an edit changed
//   (written in their new form) or removed, with nothing around them touched;
// - a meta tag the page writes is found again by its name, and a title it
//   writes reads back as written (escaped), also from the rebuilt text;
// - writing back the values the page reads changes nothing, and edits that
//   changed nothing leave the text as it was;
// - normalizing a tag agrees with the quick normal-form test, gives a text that
//   normalizes to itself, and lower-cases the tag's name;
// - all of this in both head styles; in the page's own style, a page whose
//   edits changed nothing is written back byte for byte, and a page without
//   CR gets none; a page edited in one style and switched to the other reads
//   and writes as one edited in that style from the start.
//
// Input: byte 0 is the number of edits n (mod 8), the next n bytes choose the
// edits, and the rest is the page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "page/html_page.h"

namespace {

const char* const kNames[] = {"description", "keywords", "Refresh",  "late",
                              "a",           "robots",   "KEYWORDS", ""};
const char* const kValues[] = {"", "x", "a b", "say \"hi\"", "it's", "both \" '", "\r\n\t", "5"};

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// The first tag section named "body", or null.
POSITION FirstBodyTag(const CHtmlPage& page) {
    for (POSITION p = page.GetHeadPosition(); p; p = CHtmlPage::GetNextPosition(p)) {
        const CHtmlSection* s = CHtmlPage::GetAt(p);
        if (s->GetType() == SECTION_TAG &&
            static_cast<const CTagSection*>(s)->Tag().GetName() == "body")
            return p;
    }
    return nullptr;
}

// The page text from the first body tag on ("" without one).
std::string Tail(CHtmlPage& page) {
    const POSITION body = FirstBodyTag(page);
    if (!body)
        return {};
    // The bytes before it as the head style writes them: tags as they stand
    // in the page's own style, normalized otherwise.
    size_t before = 0;
    for (POSITION p = page.GetHeadPosition(); p != body; p = CHtmlPage::GetNextPosition(p)) {
        const CHtmlSection* s = CHtmlPage::GetAt(p);
        const bool keep = page.GetHeadStyle() == HeadStyle::KEEP;
        if (keep && s->GetType() == SECTION_TAG)
            before += static_cast<const CTagSection*>(s)->Tag().GetRawText().size();
        else if (keep && s->GetType() == SECTION_COMMENT &&
                 static_cast<const CCommentSection*>(s)->IsUnterminated())
            before += 4;
        else
            before += s->GetText().size();
    }
    const std::string& text = page.GetText();
    Check(before <= text.size(), "rebuilt text shorter than the part before the body");
    return text.substr(before);
}

// A meta tag of the part from the first body tag on, where it was read.
struct TailMeta {
    POSITION pos;
    size_t begin, end; // in that part
    const char* raw;
};

std::vector<TailMeta> TailMetaTags(const CHtmlPage& page) {
    std::vector<TailMeta> out;
    const POSITION body = FirstBodyTag(page);
    if (!body)
        return out;
    const char* start = static_cast<const CTagSection*>(body)->Tag().GetRawText().data();
    for (POSITION p = body; p; p = CHtmlPage::GetNextPosition(p)) {
        const CHtmlSection* s = CHtmlPage::GetAt(p);
        if (s->GetType() != SECTION_TAG)
            continue;
        const CHtmlTag& tag = static_cast<const CTagSection*>(s)->Tag();
        if (tag.GetName() != "meta")
            continue;
        const std::string_view raw = tag.GetRawText();
        const size_t begin = static_cast<size_t>(raw.data() - start);
        out.push_back({p, begin, begin + raw.size(), raw.data()});
    }
    return out;
}

// The part from the first body tag on as it must read after the edits: as read,
// but for its meta tags that were changed (written in their new form) or removed.
std::string ExpectedTail(const CHtmlPage& page, std::string tail,
                         const std::vector<TailMeta>& metas) {
    const bool keep = page.GetHeadStyle() == HeadStyle::KEEP;
    std::unordered_set<POSITION> present;
    for (POSITION p = page.GetHeadPosition(); p; p = CHtmlPage::GetNextPosition(p))
        present.insert(p);
    for (auto it = metas.rbegin(); it != metas.rend(); ++it) {
        if (!present.count(it->pos)) {
            tail.erase(it->begin, it->end - it->begin);
            continue;
        }
        const CHtmlTag& tag = static_cast<const CTagSection*>(CHtmlPage::GetAt(it->pos))->Tag();
        if (tag.GetRawText().data() != it->raw)
            tail.replace(it->begin, it->end - it->begin,
                         std::string(keep ? tag.GetRawText() : tag.GetNormalizedText()));
    }
    return tail;
}

// Everything the page's reads give, so that two pages can be compared.
struct Reading {
    std::string text, title, body, reader, templateTitle;
    std::vector<std::string> meta;
    int metaPosition = 0, titleFound = 0, titleAction = 0;
    bool operator==(const Reading&) const = default;
};

Reading Read(CHtmlPage& page) {
    for (POSITION p = page.GetHeadPosition(); p; p = CHtmlPage::GetNextPosition(p)) {
        const CHtmlSection* s = CHtmlPage::GetAt(p);
        if (s->GetType() != SECTION_TAG)
            continue;
        const CHtmlTag& tag = static_cast<const CTagSection*>(s)->Tag();
        const std::string_view raw = tag.GetRawText();
        const bool declaration = tag.IsDeclaration();
        // The quick normal-form test must agree with normalizing.
        const std::string normalized = NormalizeTagText(raw, declaration);
        Check(IsNormalizedTagText(raw, declaration) == (normalized == raw),
              "normal-form test disagrees with normalization");
        // A tag written in normal form reads back as the same tag.
        Check(NormalizeTagText(normalized, declaration) == normalized &&
                  IsNormalizedTagText(normalized, declaration),
              "normalizing a normalized tag changes it");
        // Values keep their case; a tag's name (outside quotes) does not.
        const std::string_view name =
            std::string_view(normalized).substr(1, normalized.find(' ') - 1);
        if (!declaration && name.find_first_of("'\"") == std::string_view::npos)
            Check(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos,
                  "a tag name keeps capitals");
    }
    Reading r;
    r.text = page.GetText();
    r.title = page.GetTitle();
    r.body = page.GetBodyText();
    r.reader = page.GetReaderText();
    r.metaPosition = page.HasMetaPosition();
    r.titleFound = page.GetTitleWithAction(r.templateTitle, r.titleAction);
    std::string name, content;
    int httpEquiv = 0;
    for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i) {
        r.meta.push_back(name + "|" + content + "|" + std::to_string(httpEquiv) + "|" +
                         std::to_string(page.GetMetaAction(name)) + "|" +
                         page.GetMetaContent(name));
    }
    return r;
}

// Records what a page tells the user.
class RecordingPrompt : public IUserPrompt {
public:
    void Info(const std::string& text) override { messages.push_back(text); }
    Answer Ask(const std::string&, Buttons) override { return ANSWER_CANCEL; }
    std::vector<std::string> messages;
};

// The page holds a CR.
bool g_pageHasCr = false;

// A title as the page stores it: "<" and ">" escaped; in the page's own style
// its line breaks LF in a page without CR.
std::string Escaped(std::string_view title, HeadStyle style) {
    std::string out;
    for (size_t i = 0; i < title.size(); ++i) {
        const char c = title[i];
        if (style == HeadStyle::KEEP && !g_pageHasCr && (c == '\r' || c == '\n')) {
            if (c == '\r' && i + 1 < title.size() && title[i + 1] == '\n')
                ++i;
            out += '\n';
            continue;
        }
        out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    }
    return out;
}

// Writes every value the page reads back into it, as an editing view does.
void CheckWritingBackChangesNothing(CHtmlPage& page) {
    const unsigned changes = page.GetChangeCount();
    const std::string text = page.GetText();
    page.SetTitle(page.GetTitle());
    std::string name, content;
    int httpEquiv = 0;
    std::unordered_set<std::string> seen;
    for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i) {
        // A name's first tag is the one found by it.
        if (!name.empty() && seen.insert(MetaNameKey(name)).second)
            page.SetMeta(name, content, httpEquiv);
    }
    Check(page.GetChangeCount() == changes, "writing back a value read counted as a change");
    Check(page.GetText() == text, "writing back a value read changed the text");
}

// The last title written by Edit, escaped, or null.
std::optional<std::string> g_writtenTitle;

void Edit(CHtmlPage& page, uint8_t op) {
    const char* name = kNames[(op >> 2) & 7];
    const char* value = kValues[(op >> 5) & 7];
    switch (op & 3) {
    case 0:
        if (page.SetMeta(name, value, op & 4) && *name)
            Check(page.FindMeta(name) != nullptr, "a written meta tag is not found by its name");
        break;
    case 1:
        page.RemoveMeta(name);
        break;
    case 2:
        if (page.SetTitle(value)) {
            const std::string stored = Escaped(value, page.GetHeadStyle());
            Check(page.GetTitle() == stored, "a written title reads back otherwise");
            g_writtenTitle = stored;
        }
        break;
    case 3:
        if (op & 16)
            page.SetTitleWithAction(value, op >> 5);
        else
            page.SetMetaWithAction(name, value, op & 8, op >> 5);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t edits = std::min<size_t>(data[0] % 8, size - 1);
    const uint8_t* ops = data + 1;
    const std::string text(reinterpret_cast<const char*>(data + 1 + edits), size - 1 - edits);
    g_pageHasCr = text.find('\r') != std::string::npos;

    for (const HeadStyle style : {HeadStyle::KEEP, HeadStyle::NORMALIZE}) {
        const bool keep = style == HeadStyle::KEEP;
        for (int preserveBody : {1, 0}) {
            const BodyMode mode = preserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD;
            // A page that holds only the sections its reads and writes need must
            // behave exactly like one that holds every piece.
            CHtmlPage page, full;
            RecordingPrompt pagePrompt, fullPrompt;
            page.SetPrompt(&pagePrompt);
            full.SetPrompt(&fullPrompt);
            page.SetHeadStyle(style);
            full.SetHeadStyle(style);
            page.SetText(text, mode);
            full.SetText(text, mode, CHtmlPage::SectionDetail::ALL);
            Check(Read(page) == Read(full), "reads differ between section details");
            if (text.find('<') == std::string::npos || keep)
                Check(page.GetText() == text, "an unedited page is not written back as read");

            const std::string tail = preserveBody ? Tail(page) : std::string();
            const std::vector<TailMeta> tailMetas =
                preserveBody ? TailMetaTags(page) : std::vector<TailMeta>();
            Check(tail.size() <= text.size() &&
                      text.compare(text.size() - tail.size(), tail.size(), tail) == 0,
                  "the part from the body tag on differs from the input");

            const std::string before = page.GetText();
            g_writtenTitle.reset();
            for (size_t i = 0; i < edits; ++i) {
                Edit(page, ops[i]);
                Edit(full, ops[i]);
            }
            if (page.GetChangeCount() == 0)
                Check(page.GetText() == before, "edits that changed nothing changed the text");
            if (keep && text.find('\r') == std::string::npos)
                Check(page.GetText().find('\r') == std::string::npos,
                      "a CR came into a page without any");
            // What the edits wrote reads back the same from the rebuilt text.
            CHtmlPage reread;
            reread.SetHeadStyle(style);
            reread.SetText(page.GetText(), mode);
            // (Text the edits put after a stray "</title>" may join the text there.)
            if (g_writtenTitle && page.GetTitle() == *g_writtenTitle)
                Check(reread.GetTitle() == *g_writtenTitle, "a written title reads back otherwise");
            for (const char* name : kNames)
                Check(reread.GetMetaContent(name) == page.GetMetaContent(name),
                      "a meta tag reads back otherwise");
            // The same edits made in the other style, then switched to this one.
            CHtmlPage other;
            other.SetHeadStyle(keep ? HeadStyle::NORMALIZE : HeadStyle::KEEP);
            other.SetText(text, mode);
            for (size_t i = 0; i < edits; ++i)
                Edit(other, ops[i]);
            other.SetHeadStyle(style);
            Check(Read(other) == Read(page), "a style switch reads otherwise than the style");
            CheckWritingBackChangesNothing(page);
            Check(Read(page) == Read(full), "reads after edits differ between section details");
            Check(pagePrompt.messages == fullPrompt.messages,
                  "messages differ between section details");
            if (preserveBody && edits > 0)
                Check(Tail(page) == ExpectedTail(page, tail, tailMetas),
                      "an edit changed the part from the body tag on beyond its meta tags");
        }
    }
    return 0;
}
