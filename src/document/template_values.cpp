#include "document/template_values.h"

#include <algorithm>

#include "fields/template_action.h"
#include "page/html_page.h"

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Two values one after the other with a space between; either alone when the
// other is empty, so that adding to a missing or empty value gives no stray
// space.
std::string Joined(const std::string& first, const std::string& second) {
    if (first.empty())
        return second;
    if (second.empty())
        return first;
    return first + " " + second;
}

} // namespace

void CTemplateValues::Read(CHtmlPage& templ) {
    m_codec = CPageCodec::ForPage(templ.GetText(), templ);
    m_strTitle.clear();
    m_nTitleAction = 0;
    m_bHasTitle = templ.GetTitleWithAction(m_strTitle, m_nTitleAction);
    m_metas.clear();
    CTemplateTag tag;
    for (int i = 0; templ.GetMetaAt(i, tag.name, tag.value, tag.httpEquiv); ++i) {
        // By name, so two template tags of one name both carry the first one's action.
        tag.action = templ.GetMetaAction(tag.name);
        m_metas.push_back(tag);
        tag.httpEquiv = 0;
    }
}

bool CTemplateValues::ConvertTo(const CPageCodec& codec, std::string& title,
                                std::vector<CTemplateTag>& metas, QString& error) const {
    title = m_strTitle;
    metas = m_metas;
    if (codec == m_codec)
        return true;
    // Text in ASCII is the same in every encoding a page may have.
    const auto convert = [&](std::string& bytes, const std::string& tag) {
        if (IsAscii(bytes) || codec.Encode(m_codec.Decode(bytes), bytes, error))
            return true;
        error = QString::fromUtf8(tag.data(), static_cast<qsizetype>(tag.size())) + ": " + error;
        return false;
    };
    if (m_bHasTitle && !convert(title, "title"))
        return false;
    for (CTemplateTag& tag : metas) {
        const std::string name = tag.name;
        if (!convert(tag.name, name) || !convert(tag.value, name))
            return false;
    }
    return true;
}

int CTemplateValues::ApplyTo(CHtmlPage& page, QString* error) const {
    std::string title;
    std::vector<CTemplateTag> metas;
    QString why;
    if (!ConvertTo(CPageCodec::ForPage(page.GetText(), page), title, metas, why)) {
        if (error)
            *error = why;
        return 0;
    }
    if (m_bHasTitle) {
        const std::string& t = title;
        switch (m_nTitleAction) {
        case ACTION_ALWAYS_SET:
            page.SetTitle(t);
            break;
        case ACTION_SET_IF_MISSING:
            if (page.GetTitle().empty())
                page.SetTitle(t);
            break;
        case ACTION_REPLACE_IF_EXISTS:
            if (!page.GetTitle().empty())
                page.SetTitle(t);
            break;
        case ACTION_REMOVE:
            page.SetTitle("");
            break;
        case ACTION_APPEND:
            page.SetTitle(Joined(page.GetTitle(), t));
            break;
        case ACTION_PREPEND:
            page.SetTitle(Joined(t, page.GetTitle()));
            break;
        default:
            break; // ACTION_NEVER_CHANGE and unknown values
        }
    }
    for (const CTemplateTag& tag : metas) {
        const std::string& n = tag.name;
        const std::string& v = tag.value;
        switch (tag.action) {
        case ACTION_ALWAYS_SET:
            page.SetMeta(n, v, tag.httpEquiv);
            break;
        case ACTION_SET_IF_MISSING:
            if (page.GetMetaContent(n).empty())
                page.SetMeta(n, v, tag.httpEquiv);
            break;
        case ACTION_REPLACE_IF_EXISTS:
            if (!page.GetMetaContent(n).empty())
                page.SetMeta(n, v, tag.httpEquiv);
            break;
        case ACTION_REMOVE:
            page.RemoveMeta(n);
            break;
        case ACTION_APPEND:
            page.SetMeta(n, Joined(page.GetMetaContent(n), v), tag.httpEquiv);
            break;
        case ACTION_PREPEND:
            page.SetMeta(n, Joined(v, page.GetMetaContent(n)), tag.httpEquiv);
            break;
        default:
            break;
        }
    }
    return 1;
}
