// CRefreshDlg: "Refresh", which composes the Refresh tag's value from a
// number of seconds and an optional URL.
#pragma once

#include <QDialog>

#include "assistants/refresh_value.h"

class QButtonGroup;
class QLineEdit;

class CRefreshDlg : public QDialog {
    Q_OBJECT
public:
    // Opens on the tag's current value.
    explicit CRefreshDlg(const QString& value, QWidget* parent = nullptr);

    // After OK: the new value.
    QString Value() const { return QString::fromStdString(m_model.Compose()); }

public slots:
    void accept() override;

private:
    void UpdateControls();

    RefreshValue m_model;
    QButtonGroup* m_choices;
    QLineEdit* m_seconds;
    QLineEdit* m_url;
};
