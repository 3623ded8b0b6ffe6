// CExpiresDlg: "Expires", where the user picks the Expires tag's date with
// the date button and its calendar, or clears it.
#pragma once

#include <QDialog>

#include "assistants/expires_value.h"

class CDateButton;

class CExpiresDlg : public QDialog {
    Q_OBJECT
public:
    // Opens on the tag's current text: a date the button shows, or no date
    // when the text does not parse.
    explicit CExpiresDlg(const QString& value, QWidget* parent = nullptr);

    // After OK: "" for no date, otherwise the date as an HTTP date.
    QString Value() const { return QString::fromStdString(m_value.GetValue()); }
    CDateButton* DateButton() const { return m_dateButton; }

public slots:
    void accept() override;

private:
    ExpiresValue m_value;
    CDateButton* m_dateButton;
};
