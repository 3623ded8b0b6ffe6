// CSiteRunsDialog: the runs kept in the journal folder, newest first; the one
// chosen is undone.
#pragma once

#include <QDialog>

#include "site/batch_history.h"

class QListWidget;
class QPushButton;

class CSiteRunsDialog : public QDialog {
    Q_OBJECT

public:
    CSiteRunsDialog(const CBatchHistory& history, QWidget* parent = nullptr);

    // The journal of the run chosen, "" when none.
    QString Journal() const;
    QListWidget* Runs() const { return m_runs; }
    QPushButton* UndoButton() const { return m_undo; }

private:
    void UpdateButtons();

    std::vector<CBatchRun> m_history;
    QListWidget* m_runs;
    QPushButton* m_undo;
};
