#include "document/template_values.h"

#include "fields/template_action.h"
#include "page/html_page.h"

void CTemplateValues::Read(const CHtmlPage& templ) {
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

void CTemplateValues::ApplyTo(CHtmlPage& page) const {
    if (m_bHasTitle) {
        const std::string& t = m_strTitle;
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
            page.SetTitle(page.GetTitle() + " " + t);
            break;
        case ACTION_PREPEND:
            page.SetTitle(t + " " + page.GetTitle());
            break;
        default:
            break; // ACTION_NEVER_CHANGE and unknown values
        }
    }
    for (const CTemplateTag& tag : m_metas) {
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
            page.SetMeta(n, page.GetMetaContent(n) + " " + v, tag.httpEquiv);
            break;
        case ACTION_PREPEND:
            page.SetMeta(n, v + " " + page.GetMetaContent(n), tag.httpEquiv);
            break;
        default:
            break;
        }
    }
}
