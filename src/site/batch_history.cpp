#include "site/batch_history.h"

#include <algorithm>

QString CBatchRun::Summary() const {
    QString text = created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                   QStringLiteral("  ") + command + QStringLiteral("  ") +
                   (pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages));
    if (undone)
        text += QStringLiteral("  (undone)");
    else if (!complete)
        text += QStringLiteral("  (interrupted)");
    if (!damage.isEmpty())
        text += QStringLiteral("  (damaged)");
    return text;
}

void CBatchHistory::Read() {
    m_runs.clear();
    for (const CJournal& journal : CUndoJournal::List()) {
        CBatchRun run;
        run.journal = journal.file;
        run.created = journal.created;
        run.command = journal.command;
        run.pages = journal.entries.size();
        run.complete = journal.complete != 0;
        run.undone = journal.undone != 0;
        run.damage = QString::fromStdString(journal.Damage());
        m_runs.push_back(std::move(run));
    }
    std::reverse(m_runs.begin(), m_runs.end());
}

const CBatchRun* CBatchHistory::LastUndoable() const {
    for (const CBatchRun& run : m_runs) {
        if (!run.undone && run.pages > 0)
            return &run;
    }
    return nullptr;
}

QString CBatchHistory::UndoQuestion(const CBatchRun& run) {
    return QStringLiteral("Undo the run of %1 (%2, %3)? Each page that still holds the text the "
                          "run wrote gets its text from before the run back.")
        .arg(run.created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), run.command,
             run.pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(run.pages));
}
