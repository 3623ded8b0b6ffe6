// Helpers shared by the page model tests.
#pragma once

#include <string>
#include <vector>

#include "fakes/scripted_prompt.h"
#include "page/html_page.h"

// The sections of a page as "T:text" strings (T: x text, s script, t tag, c comment).
inline std::vector<std::string> Sections(const CHtmlPage& page) {
    std::vector<std::string> out;
    for (POSITION p = page.GetHeadPosition(); p; p = CHtmlPage::GetNextPosition(p)) {
        const CHtmlSection* s = CHtmlPage::GetAt(p);
        const char* mark = s->GetType() == SECTION_TEXT     ? "x:"
                           : s->GetType() == SECTION_SCRIPT ? "s:"
                           : s->GetType() == SECTION_TAG    ? "t:"
                                                            : "c:";
        out.push_back(mark + s->GetText());
    }
    return out;
}

// The text as a normalizing save writes it.
inline std::string Rebuilt(const std::string& text, int preserveBody) {
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText(text, preserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD);
    return page.GetText();
}
