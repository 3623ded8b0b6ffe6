// CCacheControlDlg: "Cache-Control", which composes the Cache-Control tag's
// value from three choices and a maximum age.
#pragma once

#include <QDialog>

#include "assistants/cache_control_value.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

class CCacheControlDlg : public QDialog {
    Q_OBJECT
public:
    // Opens on the tag's current value.
    explicit CCacheControlDlg(const QString& value, QWidget* parent = nullptr);

    // After OK: the new value.
    QString Value() const { return QString::fromStdString(m_model.m_strValue); }

public slots:
    void accept() override;

private:
    void UpdateControls();

    CacheControlValue m_model;
    QButtonGroup* m_choices;
    QLineEdit* m_maxAge;
    QPushButton* m_ok;
};
