// COptionsSheet: the "Options" sheet: the "Standard meta tags", "User defined
// meta tags", "File types" and "Web page preview" pages with OK, Cancel and
// Apply.
//
// The pages edit copies; OK and Apply hand the changes of every page that has
// been shown over to the field list and the settings, then call applied once
// when anything changed, so that the caller refreshes its rows and stores the
// settings. Cancel after an Apply keeps what was applied.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

class CFieldList;
class COptionsPageWidget;
class QDialogButtonBox;
class QPushButton;
class QTabWidget;
struct CAppSettings;

class COptionsSheet : public QDialog {
    Q_OBJECT
public:
    // projectDir: the project folder open now ("" for none), whose scripts
    // the preview page may allow.
    COptionsSheet(CFieldList& fields, CAppSettings& settings, std::function<void()> applied,
                  QWidget* parent = nullptr, const QString& projectDir = {});

    QTabWidget* Tabs() const { return m_tabs; }
    // Shows page index (0 standard tags, 1 user defined tags, 2 file types,
    // 3 web page preview).
    void ShowPage(int index);

public slots:
    void accept() override;
    // The Apply button: applies the pages' changes at once.
    void Apply();

private:
    void OnPageShown(int index);

    QTabWidget* m_tabs = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_apply = nullptr;
    std::vector<COptionsPageWidget*> m_pages;
    std::function<void()> m_applied;
};
