// CSiteRunDialog: the pages of a run that changes pages, before it (the diff
// of every page that will change, and the question) or after it (what became
// of each page: conflicts and failures with their reasons).
#pragma once

#include <QDialog>

#include "site/site_session.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

class CSiteRunDialog : public QDialog {
    Q_OBJECT

public:
    // A plan (a dry run) asks to run it for real: its accept button writes;
    // a report only shows.
    CSiteRunDialog(const CSiteRunReport& report, QWidget* parent = nullptr);

    QTreeWidget* Pages() const { return m_pages; }
    QPlainTextEdit* Diff() const { return m_diff; }
    // The button that writes the pages (null for a report).
    QPushButton* WriteButton() const { return m_write; }

private:
    void ShowPage();

    std::vector<CSiteRunPage> m_report;
    QTreeWidget* m_pages;
    QPlainTextEdit* m_diff;
    QPushButton* m_write = nullptr;
};

// The word for what a run did to a page ("changed", "would change", "conflict").
QString RunOutcomeText(const CSiteRunReport& report, PageOutcome outcome);
