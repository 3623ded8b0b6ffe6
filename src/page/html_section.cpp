#include "page/html_section.h"

#include <algorithm>

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

CTextualSection::CTextualSection(int type, std::string_view bytes, bool copy) : CHtmlSection(type) {
    if (copy)
        SetBytes(bytes);
    else {
        m_data = bytes.data();
        m_size = static_cast<uint32_t>(bytes.size());
    }
}

CTextualSection::~CTextualSection() {
    if (m_ownsBytes)
        delete[] m_data;
}

void CTextualSection::SetBytes(std::string_view bytes) {
    char* copy = new char[bytes.size() ? bytes.size() : 1];
    std::copy(bytes.begin(), bytes.end(), copy);
    if (m_ownsBytes)
        delete[] m_data;
    m_data = copy;
    m_size = static_cast<uint32_t>(bytes.size());
    m_ownsBytes = 1;
}

std::string EscapeAngleBrackets(std::string_view text) {
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
    return escaped;
}

void CTextSection::SetEscapedText(std::string_view text) {
    SetBytes(EscapeAngleBrackets(text));
    Touch();
}
