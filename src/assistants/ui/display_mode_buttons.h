// The three display-mode radio buttons of the tags pages, with the label above
// them: "Always display", "Display if content exists", "Never display".
#pragma once

#include <QObject>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QWidget;

class CDisplayModeButtons : public QObject {
    Q_OBJECT
public:
    explicit CDisplayModeButtons(QWidget* page);

    QLabel* Label() const { return m_label; }
    QAbstractButton* Button(int mode) const;
    // Checks the button of mode, or none for -1.
    void SetChecked(int mode);
    void SetEnabled(bool enabled);

signals:
    // A button was clicked (also one already checked).
    void modeClicked(int mode);

private:
    QLabel* m_label;
    QButtonGroup* m_group;
};
