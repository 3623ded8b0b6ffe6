// CHtmlPage: one HTML page as an ordered list of sections.
//
// The page reads its title and meta tags from the list, writes changed ones
// back into it, and rebuilds the page text from it. Untouched text is written
// back byte for byte and tags in their normalized form. In preserve-body mode
// everything from the first body tag on is written back exactly as read, except
// for meta tags there that a write operation changed or removed.
//
// Invariants the operations keep:
// - The sections, written out in list order, give the page text: nothing of
//   the text is lost, whatever its markup (an unterminated tag or comment is
//   kept as text or repaired, never dropped).
// - The content of a script or style element is text, cut as a browser cuts
//   it (up to the next "</script" or "</style"): one text section, or part of
//   a verbatim run in the part kept as read. No tag, title or body landmark is
//   ever read inside it, and no write ever lands in it.
// - Writes change only meta tags, the title element and the separator text
//   before a new meta tag; they never add, move or remove a body tag, so the
//   body landmarks stay valid from one SetText to the next.
// - A write that gives a tag the value it already has changes nothing at all
//   (GetChangeCount() tells whether any write changed the page).
// - A tag the page writes is found again by the name it was written under,
//   also after the text is read back; a title it writes reads back as the same
//   text (with "<" and ">" escaped).
//
// Positions (POSITION) are pointers to sections owned by the page. A position
// stays valid while other sections are inserted or removed, until its own
// section is removed (only RemoveMeta removes sections) or the next SetText.
// Parts of the page that no read or write looks into are held as verbatim runs
// (text sections); a write that needs a piece of a run cuts it off in place, so
// the run's position stays valid and names what is left of the run. Only the
// page edits its list; callers use the read and write operations. No operation
// throws, except std::bad_alloc when memory runs out.
#pragma once

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

// How a page writes back the part from its first body tag on: exactly as read
// (a web page), or rebuilt from its sections like the rest (a template, a new
// page).
enum class BodyMode { REBUILD, PRESERVE };

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
    // The page text rebuilt from the sections.
    const std::string& GetText();

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
    POSITION GetBodyClosePosition() const { return m_posBodyClose; }
    POSITION FindMeta(std::string_view name) const;
    std::string GetMetaContent(std::string_view name) const;
    int GetMetaAt(int index, std::string& name, std::string& content, int& httpEquiv) const;
    std::string GetTitle() const;
    int GetMetaAction(std::string_view name) const;
    int GetTitleWithAction(std::string& title, int& action) const;
    std::string GetBodyText() const;
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
    void Rebuild();
    // Gives visitor.Visit every section from the body tag on, up to the
    // closing body tag, verbatim runs cut into their sections.
    template <class Visitor>
    void VisitBody(Visitor& visitor) const;
    void AppendTail(std::string& out, const CHtmlSection* first) const;
    std::string_view SourceBytes(const CHtmlSection* section) const;
    // The section is written as the very bytes it was cut from.
    static bool WritesSourceBytes(const CHtmlSection* section);
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
    // Where the raw text of a script or style element opened by the tag piece
    // ends (the offset of its closing tag), or npos when the piece opens none
    // or the element is never closed.
    size_t RawTextEnd(const char* s, const Piece& piece, size_t n) const;
    std::string TextAfter(POSITION pos) const;
    void Destroy(CHtmlSection* section);
    void Changed(POSITION pos);
    static bool IsInTail(POSITION pos) { return pos && pos->m_inTail; }
    POSITION InsertMeta(std::string tagText, bool separator);
    const CHtmlTag* TagAt(POSITION pos) const;
    std::string_view MetaKey(const CHtmlTag& tag, std::string& buffer, int* httpEquiv) const;
    // The tag at pos already reads as a write of (value, httpEquiv, action)
    // would make it (action null: a page write, which stores none).
    bool MetaAlreadyIs(POSITION pos, std::string_view value, int httpEquiv, const int* action,
                       const std::string& newText) const;
    int WriteMeta(std::string_view name, std::string_view value, int httpEquiv, const int* action);
    int WriteTitle(std::string_view title, bool createEmpty);
    void BuildMetaIndex() const;
    void IndexNewMeta(POSITION pos);

    // The text the sections were cut from; parsed sections refer into it.
    std::string m_source;
    // The page text rebuilt from the sections; valid while m_textValid. While
    // it equals m_source, m_textIsSource is set and m_strText stays empty.
    std::string m_strText;
    bool m_textValid = true;
    bool m_textIsSource = true;
    int m_bPreserveBody = 0;
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

    unsigned m_nChanges = 0;

    IUserPrompt* m_prompt = nullptr;
};
