// The document's operations on the tags of search engines and social
// networks, of the page and of the template.
#include "document/tessel_doc.h"
#include "page/ascii_text.h"

namespace {

std::string Trimmed(const std::string& text) {
    return std::string(TrimAscii(text));
}

} // namespace

int CTesselDoc::GetPagePropertyAt(int index, std::string& property, std::string& content) const {
    return GetPropertyAt(m_page, index, property, content);
}

int CTesselDoc::SetPropertyValue(const std::string& property, const std::string& content) {
    const std::string value = Trimmed(content);
    if (value.empty())
        return m_page.RemoveProperty(property);
    return m_page.SetProperty(property, value);
}

std::vector<CHeadLink> CTesselDoc::GetPageLinks() const {
    return ListHeadLinks(m_page);
}

int CTesselDoc::SetLinkValue(LinkKind kind, const std::string& hreflang, const std::string& href) {
    const std::string value = Trimmed(href);
    if (value.empty())
        return m_page.RemoveLink(kind, hreflang);
    return m_page.SetLink(kind, hreflang, value);
}

int CTesselDoc::GetPageLang(std::string& lang) const {
    return GetHtmlLang(m_page, lang);
}

int CTesselDoc::HasHtmlTag() const {
    return FindHtmlTag(m_page) ? 1 : 0;
}

int CTesselDoc::SetPageLang(const std::string& lang) {
    return m_page.SetHtmlLang(Trimmed(lang));
}

int CTesselDoc::GetTemplatePropertyAt(int index, std::string& property, std::string& content,
                                      int& action) const {
    if (!GetPropertyAt(m_template, index, property, content))
        return 0;
    // By property, as a meta tag's action is read by name.
    action = m_template.GetTagAction(FindProperty(m_template, property));
    return 1;
}

int CTesselDoc::SetTemplateProperty(const std::string& property, const std::string& content,
                                    int action) {
    return m_template.SetPropertyWithAction(property, content, action);
}

int CTesselDoc::RemoveTemplateProperty(const std::string& property) {
    return m_template.RemoveProperty(property);
}

int CTesselDoc::GetTemplateLinkAt(int index, LinkKind& kind, std::string& hreflang,
                                  std::string& href, int& action) const {
    const std::vector<CHeadLink> links = ListHeadLinks(m_template);
    if (index < 0 || static_cast<size_t>(index) >= links.size())
        return 0;
    const CHeadLink& link = links[static_cast<size_t>(index)];
    kind = link.kind;
    hreflang = link.hreflang;
    href = link.href;
    action = m_template.GetTagAction(link.pos);
    return 1;
}

int CTesselDoc::SetTemplateLink(LinkKind kind, const std::string& hreflang, const std::string& href,
                                int action) {
    return m_template.SetLinkWithAction(kind, hreflang, href, action);
}

int CTesselDoc::RemoveTemplateLink(LinkKind kind, const std::string& hreflang) {
    return m_template.RemoveLink(kind, hreflang);
}

int CTesselDoc::GetTemplateLang(std::string& lang, int& action) const {
    if (!GetHtmlLang(m_template, lang))
        return 0;
    action = m_template.GetTagAction(FindHtmlTag(m_template));
    return 1;
}

int CTesselDoc::SetTemplateLang(const std::string& lang, int action) {
    return m_template.SetHtmlLangWithAction(lang, action);
}

int CTesselDoc::RemoveTemplateLang() {
    return m_template.SetHtmlLang({});
}
