// CHtmlPage: one HTML page as an ordered list of sections.
//
// The page reads its title and meta tags from the list, writes changed ones
// back into it, and rebuilds the page text from it. Untouched text is written
// back byte for byte and tags in their normalized form. In preserve-body mode
// everything from the first body tag on is written back exactly as read, except
// for meta tags there that a write operation changed or removed.
//
// Positions (POSITION) are pointers to sections owned by the page; a position
// stays valid while other sections are inserted or removed, until the section
// itself is removed or the next SetText. No operation throws.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "page/html_section.h"
#include "page/section_arena.h"
#include "page/user_prompt.h"

using POSITION = CHtmlSection*;

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
    void SetText(std::string text, int preserveBody, SectionDetail detail = SectionDetail::NEEDED);
    // The page text rebuilt from the sections.
    const std::string& GetText();

    // --- Section list -------------------------------------------------------
    POSITION GetHeadPosition() const { return m_head; }
    static POSITION GetNextPosition(POSITION pos) { return pos ? pos->m_next : nullptr; }
    // Sections are changed only through the page, which keeps its text in step.
    static const CHtmlSection* GetAt(POSITION pos) { return pos; }
    size_t GetCount() const { return m_count; }
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

    // --- Writing ------------------------------------------------------------
    POSITION FindMetaInsertPos() const;
    int HasMetaPosition() const { return FindMetaInsertPos() != nullptr; }
    int SetMeta(std::string_view name, std::string_view value, int httpEquiv);
    int RemoveMeta(std::string_view name);
    int SetTitle(std::string_view title);
    int SetMetaWithAction(std::string_view name, std::string_view value, int httpEquiv, int action);
    void SetTitleWithAction(std::string_view title, int action);

private:
    void Clear();
    // lastGt: where the last ">" of the whole text is, when this page holds
    // only a part of it (a verbatim run cut into its sections).
    void Parse(SectionDetail detail, std::optional<size_t> lastGt = std::nullopt);
    void Rebuild();
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
    // A section for a piece of m_source, in the arena, not yet linked.
    CHtmlSection* NewPiece(const char* s, const Piece& piece);
    void Append(CHtmlSection* section);
    // When pos is a verbatim run, gives its first piece a section of its own
    // and returns that; otherwise returns pos. The text does not change.
    POSITION SplitRun(POSITION pos);
    std::string TextAfter(POSITION pos) const;
    void Destroy(CHtmlSection* section);
    void Changed(POSITION pos);
    static bool IsInTail(POSITION pos) { return pos && pos->m_inTail; }
    POSITION InsertMeta(std::string tagText, bool separator);
    const CHtmlTag* TagAt(POSITION pos) const;
    std::string_view MetaKey(const CHtmlTag& tag, std::string& buffer, int* httpEquiv) const;

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

    IUserPrompt* m_prompt = nullptr;
};
