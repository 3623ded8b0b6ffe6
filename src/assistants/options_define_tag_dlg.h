// CDefineTagDlg: the values of the "Define Meta Tag" dialog and the check of
// its name.
//
// The widget dialog copies its controls into the members and calls OnOK when
// OK is pressed; it keeps OK disabled while CanAccept(typed name) is 0. A name
// is refused when it is empty (after trimming white space), when it holds both
// kinds of quote mark (it could not be written into a page so that it is read
// back the same), or when another field already has it, ignoring ASCII case:
// tags are matched to fields that way, so a second field of the same name
// would never receive a value.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CDefineTagDlg {
public:
    std::string m_strName;
    int m_bHttpEquiv = 0;
    // Written as <meta property> (og:title ...); a tag is never both: OnOK
    // clears m_bHttpEquiv when this is set.
    bool m_bProperty = false;
    int m_bMultiLine = 0;

    // The names of the other fields, which the dialog refuses.
    void SetTakenNames(std::vector<std::string> names) { m_takenNames = std::move(names); }
    const std::vector<std::string>& GetTakenNames() const { return m_takenNames; }

    // 1 when the OK button should be enabled for the typed name.
    static int CanAccept(std::string_view typedName);
    // "" when name can be a user-defined tag's name whatever the other fields
    // are called, else the message to show: it is empty or holds both " and '.
    static std::string NameProblem(std::string_view name);
    // "" when m_strName is acceptable, else the message to show.
    std::string CheckName() const;
    // OK pressed: 1 and m_strName trimmed when the name is acceptable; else 0
    // with message set, and the dialog stays open.
    int OnOK(std::string& message);

private:
    std::vector<std::string> m_takenNames;
};
