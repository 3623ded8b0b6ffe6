// CFieldRow: the widgets of one row of the meta-data form.
//
// A row has a value box (a one-line QLineEdit, a multi-line QPlainTextEdit or,
// for Window-Target, an editable QComboBox), an assistant button when the
// field has one, and the template action list. The row is attached to its
// field as the field's IFieldControls and is destroyed with it; it deletes
// its widgets then. The widgets are children of the form's canvas and are
// created hidden; the view places and shows them.
#pragma once

#include <QPointer>
#include <QString>
#include <string>

#include "fields/field_controls.h"
#include "form/form_layout.h"

class CMetaField;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class CFieldRow : public IFieldControls {
public:
    CFieldRow(const CMetaField& field, QWidget* canvas);
    ~CFieldRow() override;
    CFieldRow(const CFieldRow&) = delete;
    CFieldRow& operator=(const CFieldRow&) = delete;

    std::string GetValue() const override;
    void SetValue(const std::string& text) override;
    int GetAction() const override;
    void SetAction(int code) override;
    int HasSelection() const override;
    int CanUndo() const override;
    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Undo() override;

    // The widget of a FormControl (CONTROL_VALUE, CONTROL_BUTTON,
    // CONTROL_ACTION); null when the row has none.
    QWidget* Widget(int control) const;
    QLineEdit* LineEdit() const { return m_line; }
    QPlainTextEdit* TextEdit() const { return m_text; }
    QComboBox* DropDown() const { return m_drop; }
    QPushButton* Button() const { return m_button; }
    QComboBox* ActionList() const { return m_actions; }
    // Which FormControl widget is or contains; -1 for none of the row's.
    int ControlOf(const QWidget* widget) const;

    // Shows the row at its place (rects already scaled for the screen), with
    // the action list while a template is edited; or hides it.
    void Place(const CRowLayout* row, bool templateMode);
    // Names the widgets after the row's control ids.
    void SetBaseId(int baseId);
    // The row was made for the field's current definition (the options may
    // have renamed it or changed its kind of box since).
    bool Shows(const CMetaField& field) const;

private:
    // The definition the widgets were made for.
    std::string m_strName;
    std::string m_strButton;
    int m_bEditable = 1;
    int m_bMultiLine = 0;
    int m_bDropDown = 0;

    QPointer<QLineEdit> m_line;
    QPointer<QPlainTextEdit> m_text;
    QPointer<QComboBox> m_drop;
    QPointer<QPushButton> m_button;
    QPointer<QComboBox> m_actions;
};
