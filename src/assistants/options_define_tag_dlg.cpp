#include "assistants/options_define_tag_dlg.h"

#include "fields/field_names.h"

int CDefineTagDlg::CanAccept(std::string_view typedName) {
    return TrimWhiteSpace(typedName).empty() ? 0 : 1;
}

std::string CDefineTagDlg::NameProblem(std::string_view name) {
    name = TrimWhiteSpace(name);
    if (name.empty())
        return "Please enter a name for the tag.";
    if (name.find('"') != std::string_view::npos && name.find('\'') != std::string_view::npos)
        return "A tag name cannot hold both kinds of quote mark (\" and ').";
    return "";
}

std::string CDefineTagDlg::CheckName() const {
    const std::string_view name = TrimWhiteSpace(m_strName);
    if (std::string problem = NameProblem(name); !problem.empty())
        return problem;
    for (const std::string& taken : m_takenNames)
        if (EqualsNoCase(taken, name))
            return "A tag named \"" + std::string(name) + "\" already exists.";
    return "";
}

int CDefineTagDlg::OnOK(std::string& message) {
    message = CheckName();
    if (!message.empty())
        return 0;
    m_strName = std::string(TrimWhiteSpace(m_strName));
    if (m_bProperty)
        m_bHttpEquiv = 0;
    return 1;
}
