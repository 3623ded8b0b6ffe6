// CKeywordsDlg: "Keyword suggestions", where the user picks keywords from the
// words offered for the page.
#pragma once

#include <QDialog>

class QCheckBox;
class QListWidget;

class CKeywordsDlg : public QDialog {
    Q_OBJECT
public:
    // offer: the offered words, each followed by a space; the list shows them
    // in alphabetical order, none selected.
    explicit CKeywordsDlg(const QString& offer, QWidget* parent = nullptr);

    // After OK: the selected words in list order, joined by single spaces.
    QString Keywords() const { return m_strKeywords; }
    // After OK: whether "Append list" was ticked.
    int IsAppend() const { return m_bAppend; }

public slots:
    void accept() override;
    void SelectAll();

private:
    QListWidget* m_list;
    QCheckBox* m_append;
    QString m_strKeywords;
    int m_bAppend = 0;
};
