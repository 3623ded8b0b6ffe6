// CHtmlPage: one HTML page as an ordered list of sections.
//
// The page reads its title and meta tags from the list, writes changed ones
// back into it, and rebuilds the page text from it. How the part before the
// first body tag is written is the page's head style (see HeadStyle): by
// default only what a write changed differs from the text read; in the
// normalizing style every tag there is written in its normalized form. In
// preserve-body mode everything from the first body tag on is written back
// exactly as read, except for meta tags there that a write operation changed
// or removed.
//
// Invariants the operations keep:
// - The sections, written out in list order, give the page text: nothing of
//   the text is lost, whatever its markup (an unterminated tag or comment is
//   kept as text or repaired, never dropped).
// - The content of a raw-text element is text, cut as a browser cuts it (up
//   to its end tag): script, style, textarea, title, xmp, iframe, noembed,
//   noframes, noscript (as a browser that runs scripts reads it) and
//   plaintext (to the end). A script, or any of them but the title, left
//   open runs to the end of the page. No tag, title or body landmark is ever
//   read inside such text, no write ever lands in it, and nothing in it is
//   rewritten.
// - A new tag never lands inside a server-side conditional or loop (see
//   server_blocks.h) in the head: it goes after the block that closes it, or
//   before the block that opens it when nothing in the head closes it.
// - Writes change only meta tags, the title element and the text around a
//   new or removed tag; they never add, move or remove a body tag, so the
//   body landmarks stay valid from one SetText to the next.
// - A write that gives a tag the value it already has changes nothing at all
//   (GetChangeCount() tells whether any write changed the page).
// - A tag the page writes is found again by the name it was written under,
//   also after the text is read back; a title it writes reads back as the same
//   text (with "<" and ">" escaped).
//
// Positions (POSITION) are pointers to sections owned by the page. A position
// stays valid while other sections are inserted or removed, until its own
// section is removed (only RemoveMeta removes sections), the next SetText, or
// a change of the head style. Parts of the page that no read or write looks
// into are held as verbatim runs (text sections); a write that needs a piece
// of a run cuts it off in place, so the run's position stays valid and names
// what is left of the run. In preserve-body mode the part after the first body
// tag is such a run but for the tags the reads need there (meta tags, and head
// and body tags where they matter): it is found by a quick scan and cut into
// its pieces only when a walk over the body asks (ForEachBodySection,
// GetBodyText). Only the page edits its list; callers use the read and write
// operations. No operation throws, except std::bad_alloc when memory runs out.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page/html_section.h"
#include "page/section_arena.h"
#include "page/user_prompt.h"

using POSITION = CHtmlSection*;

// The links of a page's head that the page model reads and writes:
// <link rel="canonical" href> and <link rel="alternate" hreflang href>.
enum class LinkKind {
    CANONICAL, // rel holds "canonical"
    ALTERNATE, // rel holds "alternate", with an hreflang
};

// How a page writes back the part from its first body tag on: exactly as read
// (a web page), or rebuilt from its sections like the rest (a template, a new
// page).
enum class BodyMode { REBUILD, PRESERVE };

// How the writes shape the part of the page before its first body tag (the
// whole page when the body is rebuilt).
// KEEP: only what a write changes differs from the text read. An untouched tag
//   keeps its bytes; a changed tag keeps its attributes, their order, case and
//   quotes, with only the value replaced; a new tag takes the line ending and
//   indentation of the tag it follows and ends in ">", or in "/>" on an XHTML
//   page or one whose meta and link tags end so; a removed tag takes its line
//   with it when the line holds nothing else. CR, LF and TAB in a value are
//   written as spaces (as the normal form of a tag has them); a title's line
//   breaks are LF in a page without CR.
// NORMALIZE: every tag there is written in its normalized form; a new meta tag
//   is <meta name="NAME" content="VALUE"/> after CR LF TAB, and a changed one
//   is written anew with its other attributes dropped.
enum class HeadStyle { KEEP, NORMALIZE };

// The form in which attribute values are compared: the quote entities a writer
// uses (&quot;, &#34;, &#39;, &apos; and their hexadecimal forms) decoded, CR,
// LF and TAB as spaces (as the normalizer writes them), and ASCII letters in
// lower case when asked.
std::string AttributeValueKey(std::string_view value, bool lowerCase);
// The form in which meta names are compared: AttributeValueKey in lower case.
std::string MetaNameKey(std::string_view name);

class CHtmlPage {
public:
    CHtmlPage();
    ~CHtmlPage();
    CHtmlPage(const CHtmlPage&) = delete;
    CHtmlPage& operator=(const CHtmlPage&) = delete;

    // Where the page tells the user about a repair (may be null: nothing is shown).
    void SetPrompt(IUserPrompt* prompt) { m_prompt = prompt; }

    // --- Text ---------------------------------------------------------------
    // Which pieces of the text get sections of their own: every piece, or
    // those that reads and writes look at, the rest being held as verbatim runs
    // (text sections) between them, which saves most of the memory and time.
    enum class SectionDetail { ALL, NEEDED };
    // Replaces the page with text, parsed in the given mode.
    void SetText(std::string text, BodyMode mode, SectionDetail detail = SectionDetail::NEEDED);
    // The page text rebuilt from the sections, in the head style.
    const std::string& GetText();
    // The text as given to SetText, whatever was written since.
    const std::string& GetSourceText() const { return m_source; }
    // Empties the page and gives back the text as given to SetText, so that
    // a reader can take its memory for the next file.
    std::string TakeSourceText();
    // The head style of the writes and of GetText; KEEP until set. It stays
    // across SetText. A change reads the text again and repeats in the new
    // style the writes made since SetText (positions held are then invalid).
    void SetHeadStyle(HeadStyle style);
    HeadStyle GetHeadStyle() const { return m_style; }

    // --- Section list (read only) -------------------------------------------
    POSITION GetHeadPosition() const { return m_head; }
    static POSITION GetNextPosition(POSITION pos) { return pos ? pos->m_next : nullptr; }
    // Sections are changed only through the page, which keeps its text in step.
    static const CHtmlSection* GetAt(POSITION pos) { return pos; }
    size_t GetCount() const { return m_count; }
    // Whether pos is a verbatim run: several pieces of the page (text, tags,
    // comments ...) held as one text section because nothing looks into them.
    static bool IsVerbatimRun(POSITION pos) { return pos && pos->m_run; }

    // --- Reading (head, title and meta tags) --------------------------------
    void FindLandmarks();
    POSITION GetBodyOpenPosition() const { return m_posBodyOpen; }
    // The first closing body tag among the sections; in preserve-body mode one
    // in the part after the first body tag is not a section of its own (see
    // above), and ForEachBodySection finds it.
    POSITION GetBodyClosePosition() const { return m_posBodyClose; }
    POSITION FindMeta(std::string_view name) const;
    std::string GetMetaContent(std::string_view name) const;
    int GetMetaAt(int index, std::string& name, std::string& content, int& httpEquiv) const;
    std::string GetTitle() const;
    int GetMetaAction(std::string_view name) const;
    int GetTitleWithAction(std::string& title, int& action) const;
    std::string GetBodyText() const;
    // Visits every section of the body in page order, from the opening body
    // tag (included) to the first closing body tag (not included) or the end,
    // verbatim runs cut into their sections on the fly. The sections a run is
    // cut into live until the walk returns. Nothing is visited without an
    // opening body tag.
    void ForEachBodySection(const std::function<void(const CHtmlSection&)>& visit) const;
    // The text a reader sees in the body, for the description and keyword
    // suggestions: as GetBodyText, but the content of script, style,
    // noscript and template elements is left out, and the text of the main
    // content (<main> and <article> elements, and elements with role="main")
    // comes first, then the rest. As stored: character references are not
    // decoded and the bytes are in the page's encoding.
    std::string GetReaderText() const;

    // --- Writing ------------------------------------------------------------
    POSITION FindMetaInsertPos() const;
    int HasMetaPosition() const { return FindMetaInsertPos() != nullptr; }
    int SetMeta(std::string_view name, std::string_view value, int httpEquiv);
    int RemoveMeta(std::string_view name);
    int SetTitle(std::string_view title);
    int SetMetaWithAction(std::string_view name, std::string_view value, int httpEquiv, int action);
    void SetTitleWithAction(std::string_view title, int action);
    // The tags of search engines and social networks (reads:
    // page/social_tags.h), written as the meta tags are: an existing tag
    // keeps its place and its other attributes with the value replaced; a new
    // one goes where a new meta tag goes. Each returns 1 when written (or when
    // the page already had the value), 0 when there is no place for the tag.
    // <meta property="og:title" content="...">:
    int SetProperty(std::string_view property, std::string_view value);
    int SetPropertyWithAction(std::string_view property, std::string_view value, int action);
    // Removes the first tag of the property (a tag that also has a name or
    // http-equiv only loses its property attribute). Returns 1.
    int RemoveProperty(std::string_view property);
    // <link rel="canonical" href="..."> and <link rel="alternate" hreflang="fr"
    // href="...">: the first link of that kind (and hreflang) takes the href.
    int SetLink(LinkKind kind, std::string_view hreflang, std::string_view href);
    int SetLinkWithAction(LinkKind kind, std::string_view hreflang, std::string_view href,
                          int action);
    // Removes that link (a link whose rel names another kind too only loses
    // the token). Returns 1.
    int RemoveLink(LinkKind kind, std::string_view hreflang = {});
    // The lang attribute of the <html> tag; "" removes it. 0 when the page has
    // no <html> tag before its body: a language is never written by adding one.
    int SetHtmlLang(std::string_view lang);
    int SetHtmlLangWithAction(std::string_view lang, int action);
    // The "action" of the tag at pos (a template's property, link or html
    // tag): as GetMetaAction reads it, -1 when absent or empty.
    int GetTagAction(POSITION pos) const;

    // How many writes since SetText changed the page; 0 when every write gave
    // a tag the value it had (or removed a tag that was not there).
    unsigned GetChangeCount() const { return m_nChanges; }

private:
    // The page takes ownership of section and links it after (before) pos; a
    // null pos means after the last (before the first) section.
    template <class Section>
    POSITION InsertAfter(POSITION pos, std::unique_ptr<Section> section) {
        return LinkAfter(pos ? pos : m_last, section.release());
    }
    template <class Section>
    POSITION InsertBefore(POSITION pos, std::unique_ptr<Section> section) {
        return LinkAfter(pos ? pos->m_prev : nullptr, section.release());
    }
    void RemoveAt(POSITION pos);
    void Clear();
    // lastGt: where the last ">" of the whole text is, when this page holds
    // only a part of it (a verbatim run cut into its sections).
    void Parse(SectionDetail detail, std::optional<size_t> lastGt = std::nullopt);
    // In preserve-body mode, after the first body tag (one past its end at
    // from): where the pieces stop being cut, the rest being one run; from
    // itself when nothing after it can be a tag the reads need.
    size_t TailCutLimit(size_t from, int headTagsBefore, int bodyKind) const;
    void Rebuild();
    std::string_view SourceBytes(const CHtmlSection* section) const;
    // The section is written as the very bytes it was cut from.
    bool WritesSourceBytes(const CHtmlSection* section) const;
    // Appends the section as the head style writes it.
    void AppendWritten(std::string& out, const CHtmlSection* section) const;
    // Links section after pos (at the front when pos is null).
    POSITION LinkAfter(POSITION pos, CHtmlSection* section);
    // One piece of the text as the tokenizer cuts it.
    struct Piece {
        int type;
        size_t begin, end;
        bool unterminated = false; // a comment without "-->"
    };
    static Piece CutPiece(const char* s, size_t p, size_t n, size_t lastGt,
                          size_t& noCommentEndFrom);
    // A section for a piece of m_source, not yet linked: in the arena, or in
    // memory given (large enough for any kind of section).
    CHtmlSection* NewPiece(const char* s, const Piece& piece, void* memory = nullptr);
    // A verbatim run of m_source, in arena memory that can later hold any kind
    // of section (see SplitRun).
    CHtmlSection* NewRun(size_t begin, size_t end);
    void Append(CHtmlSection* section);
    // When pos is a verbatim run, gives its first piece a section of its own
    // and returns that; otherwise returns pos. The text does not change. A run
    // of one piece becomes that piece's section in place, so no position is
    // freed.
    POSITION SplitRun(POSITION pos);
    // Where the content of a raw-text element opened by the tag piece ends
    // (the offset of its end tag, or n when it runs to the end), or npos when
    // the piece opens none (or a title that is never closed). rawRow: the
    // element's row.
    static size_t RawTextEnd(const char* s, const Piece& piece, size_t n, int& rawRow);
    std::string TextAfter(POSITION pos) const;
    void Destroy(CHtmlSection* section);
    void Changed(POSITION pos);
    static bool IsInTail(POSITION pos) { return pos && pos->m_inTail; }
    const CHtmlTag* TagAt(POSITION pos) const;
    std::string_view MetaKey(const CHtmlTag& tag, std::string& buffer, int* httpEquiv) const;
    // The tag at pos already reads as a write of (value, httpEquiv, action)
    // would make it (action null: a page write, which stores none).
    bool MetaAlreadyIs(POSITION pos, std::string_view value, int httpEquiv, const int* action,
                       const std::string& newText) const;
    int WriteMeta(std::string_view name, std::string_view value, int httpEquiv, const int* action);
    int WriteTitle(std::string_view title, bool createEmpty);
    int DeleteMeta(std::string_view name);
    // --- Property tags, links and the language (html_page_social.cpp) ---
    // Sets attribute to value in the tag at pos, and the action when given:
    // in the page's own style in place, the tag's other bytes kept.
    void WriteTagAttribute(POSITION pos, std::string_view attribute, std::string_view value,
                           const int* action);
    // Takes the attribute (and its value) out of the tag at pos.
    void RemoveTagAttribute(POSITION pos, std::string_view attribute);
    // Removes the tag at pos (in the page's own style with its line when the
    // line holds nothing else).
    void RemoveHeadTag(POSITION pos);
    int WriteProperty(std::string_view property, std::string_view value, const int* action);
    int DeleteProperty(std::string_view property);
    int WriteLink(LinkKind kind, std::string_view hreflang, std::string_view href,
                  const int* action);
    int DeleteLink(LinkKind kind, std::string_view hreflang);
    int WriteHtmlLang(std::string_view lang, const int* action);
    void BuildMetaIndex() const;
    void IndexNewMeta(POSITION pos);

    // --- Where new tags go, and the page's own style (html_page_place.cpp) ---
    enum class Side { AFTER, BEFORE };
    struct Place {
        POSITION anchor = nullptr;
        Side side = Side::AFTER;
    };
    // A new tag's place next to anchor, moved out of any server-side
    // conditional or loop that the head opened there.
    Place OutsideServerBlocks(Place place) const;
    // The section, as written, takes the rest of the page along when read
    // (a tag whose quote never closes, a script block without its end):
    // nothing may be written after it.
    bool RunsToEnd(POSITION pos) const;
    // Inserts the sections (a tag, or the title's three) at place: in the
    // normalizing style directly there (after a CR LF TAB section when asked);
    // in the page's own style on a line of their own when the neighbour has
    // one, else directly there. Returns the last section inserted.
    POSITION InsertAtPlace(Place place, std::vector<CHtmlSection*> sections, bool separator);
    POSITION InsertMeta(std::string_view name, std::string_view value, int httpEquiv,
                        const int* action);
    // Inserts a new head tag (text: as the head style writes it) where a new
    // meta tag goes; separator: in the normalizing style, after a CR LF TAB.
    POSITION InsertHeadTag(std::string text, bool separator);
    // Removes the tag at pos, in the page's own style with its line when the
    // line holds nothing else.
    void RemoveTagKeepingLines(POSITION pos);
    // The written bytes of the line of pos before it (from the line's start)
    // and after it (through the line ending), and whether they reach the
    // line's start or end (else they stop at a limit).
    struct LineSide {
        std::string bytes;
        bool complete = false;
    };
    // skip: bytes next to pos to pass over first.
    LineSide LineBefore(POSITION pos, size_t skip = 0) const;
    LineSide LineAfter(POSITION pos, size_t skip = 0) const;
    // Up to count written bytes before pos, once skip bytes are passed over.
    std::string BytesBefore(POSITION pos, size_t skip, size_t count) const;
    // The bytes a section is written as, in the page's own style.
    std::string_view WrittenView(const CHtmlSection* section) const;
    // The indentation of a new line after the anchor's line (whose rest,
    // line ending included, is lineRest bytes long).
    std::string IndentAfter(POSITION anchor, size_t lineRest) const;
    // Takes count bytes off the text sections directly before (after) pos.
    void RemoveBytesBefore(POSITION pos, size_t count);
    void RemoveBytesAfter(POSITION pos, size_t count);
    // Splits the text sections after pos so that a section boundary falls
    // count bytes after pos; returns the section that ends there.
    POSITION BoundaryAfter(POSITION pos, size_t count);
    // The section boundary count bytes before pos: returns the section that
    // ends there (null at the page's start).
    POSITION BoundaryBefore(POSITION pos, size_t count);
    // Cuts the text section at pos in two: a new section, returned, takes its
    // first at bytes; pos keeps the rest (so it stays valid).
    POSITION SplitText(POSITION pos, size_t at);
    void SetTextBytes(CHtmlSection* text, std::string_view bytes);
    static CHtmlSection* NewTextSection(std::string_view text);
    struct PageStyle {
        std::string voidEnd; // ">", "/>" or " />"
        std::string lineEnd; // the page's first line ending ("" when it has none)
        bool hasCr = false;  // a CR stands anywhere in the page
    };
    const PageStyle& GetPageStyle() const;
    std::string MetaTagInPageStyle(std::string_view name, std::string_view value, int httpEquiv,
                                   const int* action) const;
    // The tag's raw text with the write's values put in (or a new tag in
    // the page style when the tag cannot take them in place).
    std::string EditedMetaTag(const CHtmlTag& tag, std::string_view name, std::string_view value,
                              int httpEquiv, const int* action) const;

    // --- The writes since SetText, repeated when the head style changes ---
    enum class WriteKind {
        META,
        REMOVE,
        TITLE,
        TEMPLATE_META,
        TEMPLATE_TITLE,
        PROPERTY,
        REMOVE_PROPERTY,
        TEMPLATE_PROPERTY,
        LINK,
        REMOVE_LINK,
        TEMPLATE_LINK,
        LANG,
        TEMPLATE_LANG,
    };
    struct WriteRecord {
        WriteKind kind;
        std::string name; // a link's hreflang
        std::string value;
        int httpEquiv = 0; // a link's LinkKind
        int action = 0;
    };
    void Record(WriteRecord write);
    std::vector<WriteRecord> m_writes;

    // The text the sections were cut from; parsed sections refer into it.
    std::string m_source;
    // The page text rebuilt from the sections; valid while m_textValid. While
    // it equals m_source, m_textIsSource is set and m_strText stays empty.
    std::string m_strText;
    bool m_textValid = true;
    bool m_textIsSource = true;
    int m_bPreserveBody = 0;
    HeadStyle m_style = HeadStyle::KEEP;
    SectionDetail m_detail = SectionDetail::NEEDED;
    // In preserve-body mode, where the part kept as read starts: the offset of
    // the first tag named "body" in m_source and its section.
    size_t m_tailStart = std::string::npos;
    // Offset of the last ">" of the text, or npos: a "<" with none after it
    // starts no tag.
    size_t m_lastGt = std::string::npos;
    POSITION m_tailSection = nullptr;
    // A section of that part was changed, removed or added.
    bool m_tailEdited = false;

    POSITION m_head = nullptr;
    POSITION m_last = nullptr;
    size_t m_count = 0;
    CSectionArena m_arena;

    POSITION m_posBodyOpen = nullptr;
    POSITION m_posBodyClose = nullptr;

    // Where the last GetMetaAt stopped, so that enumerating 0, 1, 2 ... is linear.
    mutable int m_metaCursorIndex = -1;
    mutable POSITION m_metaCursorPos = nullptr;

    // The meta tags by name (see MetaNameKey), each name's tags in list order,
    // built on the first FindMeta and kept up to date by the writes, so that
    // merging a template of many tags stays linear. A name's first tag is
    // tags[head]: RemoveMeta only ever removes the first.
    struct MetaIndexEntry {
        size_t head = 0;
        std::vector<POSITION> tags;
    };
    mutable std::unordered_map<std::string, MetaIndexEntry> m_metaIndex;
    mutable bool m_metaIndexValid = false;
    // FindMetaInsertPos's answer, kept while the writes keep it right.
    mutable POSITION m_insertPos = nullptr;
    mutable bool m_insertPosValid = false;
    // The last meta tag inserted: the next one goes right after it.
    POSITION m_lastNewMeta = nullptr;
    mutable std::optional<PageStyle> m_pageStyle;

    unsigned m_nChanges = 0;

    IUserPrompt* m_prompt = nullptr;
};
