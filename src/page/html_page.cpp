#include "page/html_page.h"

#include <limits>
#include <utility>

namespace {

// Appends byte ranges of the source, joining ranges that follow each other
// there into one append.
class SourceRuns {
public:
    explicit SourceRuns(std::string& out, size_t reserve = 0) : m_out(out), m_reserve(reserve) {}
    ~SourceRuns() { Flush(); }
    SourceRuns(const SourceRuns&) = delete;
    SourceRuns& operator=(const SourceRuns&) = delete;
    void Add(std::string_view bytes) {
        if (m_begin && bytes.data() == m_end) {
            m_end += bytes.size();
            return;
        }
        Flush();
        m_begin = bytes.data();
        m_end = m_begin + bytes.size();
    }
    void Flush() {
        if (m_begin) {
            if (m_out.empty())
                m_out.reserve(m_reserve);
            m_out.append(m_begin, m_end);
        }
        m_begin = m_end = nullptr;
    }
    void Drop() { m_begin = m_end = nullptr; }
    // Nothing was written yet and the pending run is exactly text.
    bool IsOnly(std::string_view text) const {
        if (!m_out.empty())
            return false;
        if (!m_begin)
            return text.empty();
        return m_begin == text.data() && m_end == text.data() + text.size();
    }

private:
    std::string& m_out;
    size_t m_reserve;
    const char* m_begin = nullptr;
    const char* m_end = nullptr;
};

} // namespace

CHtmlPage::CHtmlPage() = default;

CHtmlPage::~CHtmlPage() {
    Clear();
}

void CHtmlPage::Destroy(CHtmlSection* section) {
    const bool inArena = section->m_inArena;
    const auto destroy = [inArena](auto* typed) {
        if (inArena)
            std::destroy_at(typed);
        else
            delete typed;
    };
    switch (section->m_type) {
    case SECTION_TEXT:
        destroy(static_cast<CTextSection*>(section));
        break;
    case SECTION_SCRIPT:
        destroy(static_cast<CScriptSection*>(section));
        break;
    case SECTION_TAG:
        destroy(static_cast<CTagSection*>(section));
        break;
    case SECTION_COMMENT:
        destroy(static_cast<CCommentSection*>(section));
        break;
    default:
        break;
    }
}

void CHtmlPage::Clear() {
    for (CHtmlSection* s = m_head; s;) {
        CHtmlSection* next = s->m_next;
        Destroy(s);
        s = next;
    }
    m_head = m_last = nullptr;
    m_count = 0;
    m_arena.Release();
    m_posBodyOpen = m_posBodyClose = nullptr;
    m_tailSection = nullptr;
    m_tailStart = std::string::npos;
    m_lastGt = std::string::npos;
    m_tailEdited = false;
    m_metaCursorIndex = -1;
    m_metaCursorPos = nullptr;
    m_metaIndex.clear();
    m_metaIndexValid = false;
    m_insertPos = nullptr;
    m_insertPosValid = false;
    m_lastNewMeta = nullptr;
    m_pageStyle.reset();
    m_nChanges = 0;
}

void CHtmlPage::SetText(std::string text, BodyMode mode, SectionDetail detail) {
    Clear();
    m_writes.clear();
    m_detail = detail;
    m_source = std::move(text);
    m_strText.clear();
    m_strText.shrink_to_fit();
    m_bPreserveBody = mode == BodyMode::PRESERVE ? 1 : 0;
    m_arena.SizeFor(m_source.size());
    // Sections address the text with 32-bit lengths; a text beyond that is kept
    // whole and unparsed, so it is still written back exactly.
    if (m_source.size() < std::numeric_limits<uint32_t>::max())
        Parse(detail);
    FindLandmarks();
    // The text is rebuilt when first asked for.
    m_textValid = false;
}

std::string CHtmlPage::TakeSourceText() {
    std::string text = std::move(m_source);
    SetText(std::string(), m_bPreserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD, m_detail);
    return text;
}

void CHtmlPage::SetHeadStyle(HeadStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    // The sections a style needs differ (a normalizing rebuild rewrites tags
    // that the other keeps in runs), and so do the writes' results: the text
    // is read again and the writes are made again, without repeating to the
    // user what they said the first time.
    std::vector<WriteRecord> writes = std::move(m_writes);
    IUserPrompt* prompt = std::exchange(m_prompt, nullptr);
    std::string text = std::move(m_source);
    SetText(std::move(text), m_bPreserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD, m_detail);
    for (const WriteRecord& w : writes) {
        switch (w.kind) {
        case WriteKind::META:
            SetMeta(w.name, w.value, w.httpEquiv);
            break;
        case WriteKind::REMOVE:
            RemoveMeta(w.name);
            break;
        case WriteKind::TITLE:
            SetTitle(w.value);
            break;
        case WriteKind::TEMPLATE_META:
            SetMetaWithAction(w.name, w.value, w.httpEquiv, w.action);
            break;
        case WriteKind::TEMPLATE_TITLE:
            SetTitleWithAction(w.value, w.action);
            break;
        case WriteKind::PROPERTY:
            SetProperty(w.name, w.value);
            break;
        case WriteKind::REMOVE_PROPERTY:
            RemoveProperty(w.name);
            break;
        case WriteKind::TEMPLATE_PROPERTY:
            SetPropertyWithAction(w.name, w.value, w.action);
            break;
        case WriteKind::LINK:
            SetLink(static_cast<LinkKind>(w.httpEquiv), w.name, w.value);
            break;
        case WriteKind::REMOVE_LINK:
            RemoveLink(static_cast<LinkKind>(w.httpEquiv), w.name);
            break;
        case WriteKind::TEMPLATE_LINK:
            SetLinkWithAction(static_cast<LinkKind>(w.httpEquiv), w.name, w.value, w.action);
            break;
        case WriteKind::LANG:
            SetHtmlLang(w.value);
            break;
        case WriteKind::TEMPLATE_LANG:
            SetHtmlLangWithAction(w.value, w.action);
            break;
        }
    }
    m_prompt = prompt;
}

void CHtmlPage::Record(WriteRecord write) {
    // Every write is kept as made (writes that changed nothing are not): a
    // later write of the same tag does not stand for an earlier one, since
    // in the page's own style the result depends on what came before.
    m_writes.push_back(std::move(write));
}

const std::string& CHtmlPage::GetText() {
    if (!m_textValid)
        Rebuild();
    return m_textIsSource ? m_source : m_strText;
}

POSITION CHtmlPage::LinkAfter(POSITION pos, CHtmlSection* section) {
    section->m_prev = pos;
    section->m_next = pos ? pos->m_next : m_head;
    if (section->m_next)
        section->m_next->m_prev = section;
    else
        m_last = section;
    if (pos)
        pos->m_next = section;
    else
        m_head = section;
    ++m_count;
    // A section joins the part kept as read when it follows a section of it.
    section->m_inTail = pos && pos->m_inTail;
    Changed(section);
    return section;
}

void CHtmlPage::RemoveAt(POSITION pos) {
    if (!pos)
        return;
    Changed(pos);
    if (pos->m_prev)
        pos->m_prev->m_next = pos->m_next;
    else
        m_head = pos->m_next;
    if (pos->m_next)
        pos->m_next->m_prev = pos->m_prev;
    else
        m_last = pos->m_prev;
    --m_count;
    if (m_posBodyOpen == pos)
        m_posBodyOpen = nullptr;
    if (m_posBodyClose == pos)
        m_posBodyClose = nullptr;
    if (m_tailSection == pos)
        m_tailSection = pos->m_next;
    if (m_lastNewMeta == pos)
        m_lastNewMeta = nullptr;
    Destroy(pos);
}

void CHtmlPage::Changed(POSITION pos) {
    m_textValid = false;
    m_metaCursorIndex = -1;
    m_metaCursorPos = nullptr;
    if (pos && pos->m_inTail)
        m_tailEdited = true;
}

std::string_view CHtmlPage::SourceBytes(const CHtmlSection* section) const {
    switch (section->m_type) {
    case SECTION_TEXT:
        return static_cast<const CTextSection*>(section)->Text();
    case SECTION_SCRIPT:
        return static_cast<const CScriptSection*>(section)->Text();
    case SECTION_TAG:
        return static_cast<const CTagSection*>(section)->Tag().GetRawText();
    case SECTION_COMMENT: {
        const std::string_view inner = static_cast<const CCommentSection*>(section)->Inner();
        const size_t close = section->m_unterminated ? 0 : 3;
        return {inner.data() - 4, inner.size() + 4 + close};
    }
    default:
        return {};
    }
}

void CHtmlPage::Rebuild() {
    m_textValid = true;
    std::string out;
    bool whole;
    {
        // Sections written as the bytes they were cut from are copied in runs;
        // when one run turns out to be the whole text, nothing is copied at all.
        SourceRuns runs(out, m_source.size() + m_source.size() / 16 + 64);
        const CHtmlSection* s = m_head;
        for (; s && !s->m_inTail; s = s->m_next) {
            if (WritesSourceBytes(s)) {
                runs.Add(SourceBytes(s));
            } else {
                runs.Flush();
                AppendWritten(out, s);
            }
        }
        if (s && !m_tailEdited) {
            runs.Add(std::string_view(m_source).substr(m_tailStart));
        } else {
            for (; s; s = s->m_next) {
                if (s->m_fromSource) {
                    runs.Add(SourceBytes(s));
                } else {
                    runs.Flush();
                    AppendWritten(out, s);
                }
            }
        }
        whole = runs.IsOnly(m_source);
        if (whole)
            runs.Drop();
    }
    m_textIsSource = whole;
    m_strText = whole ? std::string() : std::move(out);
}

void CHtmlPage::AppendWritten(std::string& out, const CHtmlSection* section) const {
    if (section->m_type == SECTION_TAG && m_style == HeadStyle::KEEP)
        out.append(static_cast<const CTagSection*>(section)->Tag().GetRawText());
    else
        section->AppendText(out);
}

bool CHtmlPage::WritesSourceBytes(const CHtmlSection* section) const {
    if (!section->m_fromSource)
        return false;
    if (m_style == HeadStyle::KEEP)
        return true;
    if (section->m_type == SECTION_TAG) {
        const CHtmlTag& tag = static_cast<const CTagSection*>(section)->Tag();
        return tag.GetNormalizedText().data() == tag.GetRawText().data();
    }
    return section->m_type != SECTION_COMMENT || !section->m_unterminated;
}
