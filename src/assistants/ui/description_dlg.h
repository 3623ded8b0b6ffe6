// CDescriptionDlg: "Page description", where the user edits the description
// proposed from the page's text before it goes into the field.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class CDescriptionDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDescriptionDlg(QWidget* parent = nullptr);

    void SetText(const QString& text);
    // The text as edited.
    QString Text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* m_edit;
};
