// CDefineTagDialog: "Define Meta Tag", the dialog of the user-defined tags
// page's "Add ..." and "Edit": a name and two flags, checked on OK.
#pragma once

#include <QDialog>

class CDefineTagDlg;
class QCheckBox;
class QLineEdit;
class QPushButton;

class CDefineTagDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the values of dlg and, on an accepted OK, leaves the new ones in it.
    explicit CDefineTagDialog(CDefineTagDlg& dlg, QWidget* parent = nullptr);

public slots:
    // Refuses (with the reason shown) an empty name, one with both quote kinds
    // or one that another tag has; the dialog then stays open.
    void accept() override;

private:
    CDefineTagDlg& m_dlg;
    QLineEdit* m_name;
    QCheckBox* m_httpEquiv;
    QCheckBox* m_property;
    QCheckBox* m_multiLine;
    QPushButton* m_ok;
};
