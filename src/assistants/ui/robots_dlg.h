// CRobotsDlg: "Robots", which sets the robots tag's noindex and nofollow
// directives with two check boxes and keeps its other directives.
#pragma once

#include <QDialog>

#include "assistants/robots_value.h"

class QCheckBox;

class CRobotsDlg : public QDialog {
    Q_OBJECT
public:
    // Opens on the tag's current value.
    explicit CRobotsDlg(const QString& value, QWidget* parent = nullptr);

    // After OK: the new value.
    QString Value() const { return m_strValue; }

public slots:
    void accept() override;

private:
    RobotsValue m_model;
    QCheckBox* m_noIndex;
    QCheckBox* m_noFollow;
    QString m_strValue;
};
