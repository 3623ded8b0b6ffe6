// CHtmlPage: one HTML page as an ordered list of sections.
//
// The page reads its title and meta tags from the list, writes changed ones
// back into it, and rebuilds the page text from it. Untouched text is written
// back byte for byte and tags in their normalized form. In preserve-body mode
// everything from the first body tag on is written back exactly as read, except
// for tags there that a write operation changed.
//
// Positions (POSITION) are pointers to sections owned by the page; a position
// stays valid while other sections are inserted or removed, until the section
// itself is removed or the next SetText. No operation throws.
#pragma once

#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "page/html_section.h"
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
    // Replaces the page with text, parsed in the given mode.
    void SetText(std::string text, int preserveBody);
    // The page text rebuilt from the sections.
    const std::string& GetText();
    int IsPreserveBody() const { return m_bPreserveBody; }

    // --- Section list -------------------------------------------------------
    POSITION GetHeadPosition() const { return m_head; }
    POSITION GetTailPosition() const { return m_tail; }
    static POSITION GetNextPosition(POSITION pos) { return pos ? pos->m_next : nullptr; }
    static POSITION GetPrevPosition(POSITION pos) { return pos ? pos->m_prev : nullptr; }
    static CHtmlSection* GetAt(POSITION pos) { return pos; }
    size_t GetCount() const { return m_count; }
    // The page takes ownership of section; pos null inserts at the end (after)
    // or at the start (before). Returns the new section's position.
    POSITION InsertAfter(POSITION pos, std::unique_ptr<CHtmlSection> section);
    POSITION InsertBefore(POSITION pos, std::unique_ptr<CHtmlSection> section);
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
    int SetMetaWithAction(std::string_view name, std::string_view value, int httpEquiv,
                          int action);
    void SetTitleWithAction(std::string_view title, int action);

private:
    void Clear();
    void Parse();
    void Rebuild();
    void AppendTail(std::string& out) const;
    void Link(CHtmlSection* section, CHtmlSection* after);
    template <class T>
    T* NewParsed(std::string_view text, size_t begin, size_t end);
    void Destroy(CHtmlSection* section);
    bool IsInTail(POSITION pos) const { return pos && pos->m_inTail; }
    POSITION WriteMeta(std::string_view name, std::string tagText, bool separator);
    void Invalidate() {
        m_textValid = false;
        m_metaCursorValid = false;
    }

    // The text the sections were cut from; parsed sections refer into it.
    std::string m_source;
    // The page text last rebuilt; valid while m_textValid.
    std::string m_strText;
    bool m_textValid = true;
    int m_bPreserveBody = 0;
    // Start of the part kept as read (from the first body tag on), or npos.
    size_t m_tailStart = std::string::npos;
    POSITION m_tailSection = nullptr;
    bool m_tailEdited = false;

    POSITION m_head = nullptr;
    POSITION m_tail = nullptr;
    size_t m_count = 0;
    // Sections cut from the text live in this arena; sections given by callers
    // are allocated on the heap (m_heapSections marks nothing: ownership is by flag).
    std::pmr::monotonic_buffer_resource m_arena;

    POSITION m_posBodyOpen = nullptr;
    POSITION m_posBodyClose = nullptr;

    // Cursor of GetMetaAt, so that enumerating 0, 1, 2 ... is linear.
    mutable bool m_metaCursorValid = false;
    mutable int m_metaCursorIndex = -1;
    mutable POSITION m_metaCursorPos = nullptr;

    IUserPrompt* m_prompt = nullptr;
};
