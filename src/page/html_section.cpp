#include "page/html_section.h"

namespace {

void AdoptText(std::unique_ptr<std::string>& own, const char*& data, uint32_t& size,
               std::string text) {
    own = std::make_unique<std::string>(std::move(text));
    data = own->data();
    size = static_cast<uint32_t>(own->size());
}

} // namespace

std::string CHtmlSection::GetText() const {
    std::string out;
    AppendText(out);
    return out;
}

void CHtmlSection::AppendText(std::string& out) const {
    switch (m_type) {
    case SECTION_TEXT:
        out.append(static_cast<const CTextSection*>(this)->Text());
        break;
    case SECTION_SCRIPT:
        out.append(static_cast<const CScriptSection*>(this)->Text());
        break;
    case SECTION_TAG:
        out.append(static_cast<const CTagSection*>(this)->Tag().GetNormalizedText());
        break;
    case SECTION_COMMENT:
        out.append("<!--");
        out.append(static_cast<const CCommentSection*>(this)->Inner());
        out.append("-->");
        break;
    default:
        break;
    }
}

CTextSection::CTextSection(std::string text) : CHtmlSection(SECTION_TEXT) {
    AdoptText(m_own, m_data, m_size, std::move(text));
}

CTextSection::CTextSection(FromSource, std::string_view text)
    : CHtmlSection(SECTION_TEXT), m_size(static_cast<uint32_t>(text.size())), m_data(text.data()) {}

void CTextSection::SetEscapedText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else
            escaped += c;
    }
    AdoptText(m_own, m_data, m_size, std::move(escaped));
    Touch();
}

CScriptSection::CScriptSection(std::string text) : CHtmlSection(SECTION_SCRIPT) {
    AdoptText(m_own, m_data, m_size, std::move(text));
}

CScriptSection::CScriptSection(FromSource, std::string_view text)
    : CHtmlSection(SECTION_SCRIPT), m_size(static_cast<uint32_t>(text.size())),
      m_data(text.data()) {}

CCommentSection::CCommentSection(std::string inner) : CHtmlSection(SECTION_COMMENT) {
    AdoptText(m_own, m_data, m_size, std::move(inner));
}

CCommentSection::CCommentSection(FromSource, std::string_view inner, bool unterminated)
    : CHtmlSection(SECTION_COMMENT), m_size(static_cast<uint32_t>(inner.size())),
      m_data(inner.data()) {
    m_unterminated = unterminated;
}
