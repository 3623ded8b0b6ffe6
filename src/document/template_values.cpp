#include "document/template_values.h"

#include <algorithm>

#include "document/template_merge.h"
#include "page/html_page.h"

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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
    std::string merged;
    if (m_bHasTitle) {
        switch (MergeTemplateValue(m_nTitleAction, page.GetTitle(), title, merged)) {
        case TemplateMerge::SET:
            page.SetTitle(merged);
            break;
        case TemplateMerge::REMOVE:
            page.SetTitle("");
            break;
        case TemplateMerge::KEEP:
            break;
        }
    }
    for (const CTemplateTag& tag : metas) {
        switch (MergeTemplateValue(tag.action, page.GetMetaContent(tag.name), tag.value, merged)) {
        case TemplateMerge::SET:
            page.SetMeta(tag.name, merged, tag.httpEquiv);
            break;
        case TemplateMerge::REMOVE:
            page.RemoveMeta(tag.name);
            break;
        case TemplateMerge::KEEP:
            break;
        }
    }
    return 1;
}
