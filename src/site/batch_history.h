// CBatchHistory: the runs that changed pages and kept a journal (the site
// view's writes, tsle-cli apply and import), as Edit > "Undo last batch" and
// the list of earlier runs offer them.
#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "site/undo_journal.h"

struct CBatchRun {
    QString journal; // the journal file
    QDateTime created;
    QString command; // "site", "import", "apply"
    size_t pages = 0;
    bool complete = false; // ran to its end (not interrupted)
    bool undone = false;
    QString damage; // why the journal cannot be trusted whole, or ""

    // One line for a list: "2024-05-01 12:00:03  site  7 pages".
    QString Summary() const;
};

class CBatchHistory {
public:
    // Reads the journal folder: the runs, newest first.
    void Read();
    const std::vector<CBatchRun>& Runs() const { return m_runs; }
    // The newest run not undone yet, or null.
    const CBatchRun* LastUndoable() const;

    // What the user is asked before a run is undone.
    static QString UndoQuestion(const CBatchRun& run);

private:
    std::vector<CBatchRun> m_runs;
};
