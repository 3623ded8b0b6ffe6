#include "assistants/options_file_types_page.h"

#include <algorithm>

#include "fields/field_names.h"

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SortsBefore(const std::string& a, const std::string& b) {
    const auto fold = [](char x, char y) { return LowerAscii(x) < LowerAscii(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), fold))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), fold))
        return false;
    return a < b;
}

} // namespace

CFileTypesPage::CFileTypesPage(CAppSettings& app)
    : m_app(app), m_strFileTypes(app.m_strFileTypes), m_bNormalizeHead(app.m_bNormalizeHead) {
    if (!m_strFileTypes.empty() && m_strFileTypes.back() != ';')
        m_strFileTypes += ';';
}

int CFileTypesPage::OnSetActive() {
    m_bLoaded = 1;
    RefillList();
    return 1;
}

void CFileTypesPage::RefillList() {
    // Split at every ";" rather than stepping over a fixed "*." width, so that
    // a hand-edited setting ("htm;;*.php") still lists what it holds.
    m_extensions.clear();
    std::string_view rest = m_strFileTypes;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(';'), rest.size());
        std::string_view piece = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (piece.starts_with("*."))
            piece.remove_prefix(2);
        if (!piece.empty())
            m_extensions.emplace_back(piece);
    }
    std::sort(m_extensions.begin(), m_extensions.end(), SortsBefore);
    m_nSelected = -1;
}

void CFileTypesPage::SetEditText(std::string_view text) {
    m_strEdit = TrimWhiteSpace(text);
}

void CFileTypesPage::OnSelChange(int index) {
    m_nSelected = index >= 0 && index < static_cast<int>(m_extensions.size()) ? index : -1;
}

std::string CFileTypesPage::Pattern() const {
    return "*." + m_strEdit + ";";
}

int CFileTypesPage::IsAddEnabled() const {
    if (m_strEdit.empty() || m_strEdit.find(';') != std::string::npos)
        return 0;
    return m_strFileTypes.find(Pattern()) == std::string::npos ? 1 : 0;
}

int CFileTypesPage::OnAdd() {
    if (!IsAddEnabled())
        return 0;
    m_strFileTypes += Pattern();
    RefillList();
    m_bModified = 1;
    return 1;
}

int CFileTypesPage::OnRemove() {
    if (m_nSelected < 0)
        return 0;
    m_extensions.erase(m_extensions.begin() + m_nSelected);
    m_strFileTypes.clear();
    for (const std::string& extension : m_extensions)
        m_strFileTypes += "*." + extension + ";";
    m_nSelected = -1;
    m_bModified = 1;
    return 1;
}

int CFileTypesPage::OnReplace() {
    if (!IsReplaceEnabled())
        return 0;
    OnRemove();
    return OnAdd();
}

int CFileTypesPage::OnApply() {
    if (!m_bLoaded)
        return 1;
    m_app.m_strFileTypes = m_strFileTypes;
    m_app.m_bNormalizeHead = m_bNormalizeHead;
    m_bModified = 0;
    return 1;
}

void CFileTypesPage::SetNormalizeHead(bool normalize) {
    if (normalize == m_bNormalizeHead)
        return;
    m_bNormalizeHead = normalize;
    m_bModified = 1;
}
