#include "site/site_session.h"

#include <QDir>
#include <QSet>
#include <unordered_map>

#include "document/text_file.h"
#include "site/site_write.h"
#include "site/table_export.h"
#include "site/table_import.h"
#include "site/undo_run.h"

namespace {

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString Count(size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

PageOutcome OutcomeOf(UndoOutcome outcome) {
    switch (outcome) {
    case UndoOutcome::RESTORED:
        return PageOutcome::CHANGED;
    case UndoOutcome::ALREADY:
        return PageOutcome::UNCHANGED;
    case UndoOutcome::CHANGED_SINCE:
        return PageOutcome::CONFLICT;
    case UndoOutcome::FAILED:
        break;
    }
    return PageOutcome::FAILED;
}

} // namespace

QString CSiteRunReport::Summary() const {
    if (!error.isEmpty())
        return error;
    QString text;
    if (kind == EXPORT) {
        text = ::Count(changed, "page", "pages") + QStringLiteral(" written to the table");
        if (failed)
            text += QStringLiteral(", ") + ::Count(failed, "page", "pages") +
                    QStringLiteral(" could not be read");
    } else if (kind == UNDO) {
        text = ::Count(changed, "page restored", "pages restored") + QStringLiteral(", ") +
               ::Count(conflicts, "page changed since the run", "pages changed since the run") +
               QStringLiteral(", ") + ::Count(failed, "failure", "failures") +
               QStringLiteral(", %1 unchanged").arg(unchanged);
    } else {
        text = ::Count(changed, dryRun ? "page to change" : "page changed",
                       dryRun ? "pages to change" : "pages changed") +
               QStringLiteral(", ") + ::Count(conflicts, "conflict", "conflicts") +
               QStringLiteral(", ") + ::Count(failed, "failure", "failures") +
               QStringLiteral(", %1 unchanged").arg(unchanged);
    }
    if (cancelled && notDone)
        text += QStringLiteral("; stopped: %1 not done").arg(notDone);
    else if (cancelled)
        text += QStringLiteral("; stopped");
    return text;
}

CSiteSession::CSiteSession(QObject* parent)
    : QObject(parent), m_scanner(this), m_task(this), m_watcher(this) {
    connect(&m_scanner, &CSiteScanner::rowsReady, this, &CSiteSession::OnRowsReady);
    connect(&m_scanner, &CSiteScanner::progress, this, &CSiteSession::progress);
    connect(&m_scanner, &CSiteScanner::finished, this, &CSiteSession::OnScanFinished);
    connect(&m_task, &CSiteTask::progress, this, &CSiteSession::progress);
    connect(&m_task, &CSiteTask::finished, this, [this](bool cancelled) {
        std::function<void(bool)> done = std::move(m_done);
        m_done = nullptr;
        m_model.SetEditable(true);
        if (done)
            done(cancelled);
        End();
        emit runFinished();
    });
    m_refreshDelay.setSingleShot(true);
    m_refreshDelay.setInterval(REFRESH_DELAY_MS);
    connect(&m_refreshDelay, &QTimer::timeout, this, &CSiteSession::Refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { m_refreshDelay.start(); });
}

CSiteSession::~CSiteSession() {
    m_scanner.Cancel();
    m_task.Cancel();
}

std::string CSiteSession::RootBytes() const {
    return FileNameBytes(m_root);
}

QString CSiteSession::ActivityText() const {
    switch (m_activity) {
    case Activity::IDLE:
        return {};
    case Activity::SCANNING:
        return QStringLiteral("Reading pages");
    case Activity::REFRESHING:
        return QStringLiteral("Reading changed pages");
    case Activity::PLANNING_WRITE:
    case Activity::PLANNING_IMPORT:
        return QStringLiteral("Comparing pages");
    case Activity::WRITING:
    case Activity::IMPORTING:
        return QStringLiteral("Writing pages");
    case Activity::UNDOING:
        return QStringLiteral("Restoring pages");
    case Activity::EXPORTING:
        return QStringLiteral("Exporting pages");
    }
    return {};
}

bool CSiteSession::Begin(Activity activity) {
    if (IsBusy())
        return false;
    m_activity = activity;
    emit activityChanged();
    return true;
}

void CSiteSession::End() {
    m_activity = Activity::IDLE;
    emit activityChanged();
    if (m_refreshWanted) {
        m_refreshWanted = false;
        Refresh();
    }
}

void CSiteSession::Wait() {
    while (IsBusy()) {
        if (m_scanner.IsRunning())
            m_scanner.Task().Wait();
        if (m_task.IsRunning())
            m_task.Wait();
    }
}

// --- The site -------------------------------------------------------------------------

void CSiteSession::Open(const QString& root, const std::string& fileTypes) {
    Cancel();
    Wait();
    m_root = QDir::cleanPath(QDir(root).absolutePath());
    m_fileTypes = fileTypes;
    m_planned.clear();
    m_import.reset();
    m_model.SetRoot(RootBytes());
    m_model.Clear();
    // Widths are measured on the reading threads, links followed from the
    // site's folder.
    const CSiteRules rules = m_rulesSource ? m_rulesSource(m_root) : CSiteRules();
    auto audit = std::make_shared<const CSiteAudit>(rules.thresholds, rules.measurer,
                                                    CSiteAddress{m_root, rules.site, m_root});
    m_model.SetRules(*audit);
    m_scanner.SetAudit(rules.measurer ? std::move(audit) : nullptr);
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    StartScan(false);
}

void CSiteSession::Rescan() {
    if (!HasRoot())
        return;
    if (IsBusy()) {
        m_refreshWanted = true;
        return;
    }
    StartScan(false);
}

void CSiteSession::Refresh() {
    if (!HasRoot())
        return;
    if (IsBusy()) {
        m_refreshWanted = true;
        return;
    }
    StartScan(true);
}

void CSiteSession::StartScan(bool refresh) {
    if (!Begin(refresh ? Activity::REFRESHING : Activity::SCANNING))
        return;
    if (refresh) {
        std::unordered_map<std::string, PageStamp> known;
        const CSiteSheet& sheet = m_model.Sheet();
        known.reserve(sheet.RowCount());
        for (size_t row = 0; row < sheet.RowCount(); ++row)
            known.emplace(sheet.Path(row), sheet.Stamp(row));
        m_scanner.Refresh(RootBytes(), m_fileTypes, sheet.MetaNames(), std::move(known));
    } else {
        m_scanner.Scan(RootBytes(), m_fileTypes, m_model.Sheet().MetaNames());
    }
}

void CSiteSession::OnRowsReady() {
    m_model.AddRows(m_scanner.TakeRows());
    const std::vector<std::string> gone = m_scanner.TakeGone();
    if (!gone.empty())
        m_model.RemovePages(gone);
}

void CSiteSession::OnScanFinished(bool cancelled) {
    OnRowsReady();
    m_model.EndOfScan();
    if (m_activity == Activity::SCANNING)
        WatchFolders();
    End();
    emit scanFinished(cancelled);
}

void CSiteSession::WatchFolders() {
    QSet<QString> folders{m_root};
    const CSiteSheet& sheet = m_model.Sheet();
    for (size_t row = 0; row < sheet.RowCount() && folders.size() < MAX_WATCHED_FOLDERS; ++row) {
        const std::string& path = sheet.Path(row);
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos)
            folders.insert(m_root + QLatin1Char('/') + FileNameFromBytes(path.substr(0, slash)));
    }
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watcher.addPaths(QStringList(folders.begin(), folders.end()));
}

void CSiteSession::Cancel() {
    m_scanner.Cancel();
    m_task.Cancel();
}

// --- Runs -------------------------------------------------------------------------------

bool CSiteSession::RunTask(Activity activity, std::function<void(const CRunControl&)> work,
                           std::function<void(bool)> done) {
    if (!Begin(activity))
        return false;
    m_done = std::move(done);
    if (activity == Activity::WRITING || activity == Activity::IMPORTING)
        m_model.SetEditable(false);
    if (!m_task.Start(std::move(work))) {
        m_done = nullptr;
        m_model.SetEditable(true);
        End();
        return false;
    }
    return true;
}

bool CSiteSession::OpenJournal(const QString& command, const QStringList& args) {
    m_journal = std::make_unique<CUndoJournal>();
    QString error;
    if (m_journal->CreateInFolder(command, args, error))
        return true;
    m_journal.reset();
    m_report.error =
        QStringLiteral("The journal cannot be written (%1); nothing was changed.").arg(error);
    return false;
}

void CSiteSession::FinishJournal(bool complete) {
    if (!m_journal)
        return;
    QString error;
    if (!m_journal->Finish(complete, error))
        m_report.problems << QStringLiteral("The journal: ") + error;
    if (m_journal->Entries() > 0) {
        m_report.journal = m_journal->Path();
        CUndoJournal::Prune(m_retention);
    }
    m_journal.reset();
}

bool CSiteSession::PlanWrite(const std::vector<size_t>& rows) {
    if (!HasRoot() || IsBusy())
        return false;
    m_planned = m_model.Changes(rows);
    auto report = std::make_shared<CSiteRunReport>();
    report->dryRun = true;
    auto conflicts = std::make_shared<std::vector<size_t>>();
    const std::vector<CSitePageChange> changes = m_planned;
    const std::string root = RootBytes(), types = m_fileTypes;
    return RunTask(
        Activity::PLANNING_WRITE,
        [=](const CRunControl& control) {
            PageWriteOptions options;
            options.dryRun = true;
            options.diff = true;
            report->notDone = WriteSiteChanges(
                root, types, changes, options, control, [&](CSiteWriteResult& result) {
                    const CSitePageChange& change = changes[result.change];
                    report->Count(result.outcome);
                    if (result.outcome == PageOutcome::CONFLICT)
                        conflicts->push_back(change.row);
                    report->pages.push_back({FileNameFromBytes(change.path), result.outcome,
                                             Text(result.detail), Text(result.diff)});
                });
        },
        [this, report, conflicts](bool cancelled) {
            report->cancelled = cancelled;
            m_report = std::move(*report);
            if (!conflicts->empty())
                m_model.Written({}, {}, *conflicts);
        });
}

bool CSiteSession::Write() {
    if (!HasRoot() || IsBusy() || m_planned.empty())
        return false;
    m_report = CSiteRunReport();
    if (!OpenJournal(QStringLiteral("site"), {m_root})) {
        emit runFinished();
        return false;
    }
    auto report = std::make_shared<CSiteRunReport>();
    auto written = std::make_shared<std::vector<std::pair<size_t, CSiteRow>>>();
    auto unchanged = std::make_shared<std::vector<size_t>>();
    auto conflicts = std::make_shared<std::vector<size_t>>();
    const std::vector<CSitePageChange> changes = std::exchange(m_planned, {});
    const std::string root = RootBytes(), types = m_fileTypes;
    const std::vector<QString> names = m_model.Sheet().MetaNames();
    CUndoJournal* journal = m_journal.get();
    return RunTask(
        Activity::WRITING,
        [=](const CRunControl& control) {
            PageWriteOptions options;
            options.journal = journal;
            options.sync = FileSync::LATER;
            report->notDone = WriteSiteChanges(
                root, types, changes, options, control,
                [&](CSiteWriteResult& result) {
                    const CSitePageChange& change = changes[result.change];
                    report->Count(result.outcome);
                    if (result.outcome == PageOutcome::CHANGED && result.row)
                        written->push_back({change.row, std::move(*result.row)});
                    else if (result.outcome == PageOutcome::UNCHANGED)
                        unchanged->push_back(change.row);
                    else if (result.outcome == PageOutcome::CONFLICT)
                        conflicts->push_back(change.row);
                    report->pages.push_back(
                        {FileNameFromBytes(change.path), result.outcome, Text(result.detail), {}});
                },
                &names);
        },
        [=, this](bool cancelled) {
            report->cancelled = cancelled;
            m_report = std::move(*report);
            FinishJournal(!cancelled);
            m_model.Written(std::move(*written), *unchanged, *conflicts);
        });
}

bool CSiteSession::PlanImport(const QString& table) {
    if (!HasRoot() || IsBusy())
        return false;
    m_import = std::make_unique<CTableImport>();
    auto report = std::make_shared<CSiteRunReport>();
    report->kind = CSiteRunReport::IMPORT;
    report->dryRun = true;
    report->file = table;
    CTableImport* import = m_import.get();
    CImportOptions options;
    options.root = RootBytes();
    options.fileTypes = m_fileTypes;
    const std::string file = FileNameBytes(table);
    return RunTask(
        Activity::PLANNING_IMPORT,
        [=](const CRunControl& control) {
            std::string error;
            int line = 0;
            if (!import->Open(file, options, error, line)) {
                report->error =
                    QStringLiteral("%1%2: %3")
                        .arg(FileNameFromBytes(file),
                             line ? QStringLiteral(":%1").arg(line) : QString(), Text(error));
                return;
            }
            const bool checked = import->Check(
                [&](const CImportProblem& problem) {
                    report->problems << QStringLiteral("line %1: %2")
                                            .arg(problem.line)
                                            .arg(Text(problem.message));
                    ++report->failed;
                },
                error);
            if (!checked) {
                report->error = FileNameFromBytes(file) + QStringLiteral(": ") + Text(error);
                return;
            }
            PageWriteOptions write;
            write.dryRun = true;
            write.diff = true;
            if (!import->Run(
                    write, control,
                    [&](const CImportResult& result) {
                        report->Count(result.outcome);
                        report->pages.push_back({FileNameFromBytes(result.path), result.outcome,
                                                 Text(result.detail), Text(result.diff)});
                    },
                    report->notDone, error))
                report->error = FileNameFromBytes(file) + QStringLiteral(": ") + Text(error);
        },
        [this, report](bool cancelled) {
            report->cancelled = cancelled;
            m_report = std::move(*report);
            if (!m_report.error.isEmpty())
                m_import.reset();
        });
}

bool CSiteSession::Import() {
    if (!HasRoot() || IsBusy() || !m_import)
        return false;
    const QString table = m_report.file;
    m_report = CSiteRunReport();
    m_report.kind = CSiteRunReport::IMPORT;
    if (!OpenJournal(QStringLiteral("import"), {table, QStringLiteral("--root"), m_root})) {
        m_import.reset();
        emit runFinished();
        return false;
    }
    auto report = std::make_shared<CSiteRunReport>();
    report->kind = CSiteRunReport::IMPORT;
    report->file = table;
    CTableImport* import = m_import.get();
    CUndoJournal* journal = m_journal.get();
    return RunTask(
        Activity::IMPORTING,
        [=](const CRunControl& control) {
            PageWriteOptions write;
            write.journal = journal;
            std::string error;
            if (!import->Run(
                    write, control,
                    [&](const CImportResult& result) {
                        report->Count(result.outcome);
                        report->pages.push_back({FileNameFromBytes(result.path),
                                                 result.outcome,
                                                 Text(result.detail),
                                                 {}});
                    },
                    report->notDone, error))
                report->error = table + QStringLiteral(": ") + Text(error);
        },
        [this, report](bool cancelled) {
            report->cancelled = cancelled;
            m_report = std::move(*report);
            FinishJournal(!cancelled);
            m_import.reset();
            m_refreshWanted = true; // the pages written are read again
        });
}

bool CSiteSession::Undo(const QString& journalPath) {
    if (IsBusy())
        return false;
    m_report = CSiteRunReport();
    m_report.kind = CSiteRunReport::UNDO;
    // A journal says which files get which bytes: only the user's own, where
    // runs keep theirs, is taken.
    const std::string distrust = CUndoJournal::Distrust(journalPath);
    if (!distrust.empty()) {
        m_report.error =
            journalPath + QStringLiteral(": ") + Text(distrust) + QStringLiteral("; not undone");
        emit runFinished();
        return false;
    }
    auto report = std::make_shared<CSiteRunReport>();
    report->kind = CSiteRunReport::UNDO;
    report->file = journalPath;
    const std::string types = m_fileTypes.empty() ? std::string(DEFAULT_FILE_TYPES) : m_fileTypes;
    return RunTask(
        Activity::UNDOING,
        [=](const CRunControl& control) {
            CJournal journal;
            QString error;
            if (!CUndoJournal::Read(journalPath, journal, error)) {
                report->error = error;
                return;
            }
            const std::string damage = journal.Damage();
            if (!damage.empty())
                report->problems << Text(damage) +
                                        QStringLiteral("; the pages of those lines cannot be "
                                                       "restored");
            CUndoOptions options;
            options.fileTypes = types;
            report->notDone = UndoPages(journal, options, control, [&](const CUndoResult& r) {
                const PageOutcome outcome = OutcomeOf(r.outcome);
                report->Count(outcome);
                report->pages.push_back({FileNameFromBytes(r.path), outcome, Text(r.detail), {}});
            });
            if (!control.StopRequested() && damage.empty() && !report->conflicts &&
                !report->failed && !CUndoJournal::MarkUndone(journalPath, error))
                report->problems << error;
        },
        [this, report](bool cancelled) {
            report->cancelled = cancelled;
            m_report = std::move(*report);
            m_refreshWanted = HasRoot();
        });
}

bool CSiteSession::Export(const QString& file) {
    if (!HasRoot() || IsBusy())
        return false;
    auto report = std::make_shared<CSiteRunReport>();
    report->kind = CSiteRunReport::EXPORT;
    report->file = file;
    const std::string root = RootBytes(), types = m_fileTypes;
    return RunTask(
        Activity::EXPORTING,
        [=](const CRunControl& control) {
            CPageSetOptions set;
            set.fileTypes = types;
            set.recursive = true;
            CPageWalker walker(set);
            walker.Add(root);
            const std::string refusal = ExportTargetRefusal(walker, FileNameBytes(file));
            if (!refusal.empty()) {
                report->error =
                    file + QStringLiteral(": ") + Text(refusal) + QStringLiteral("; not written");
                return;
            }
            const std::vector<CPageJob>& jobs = walker.Jobs();
            std::vector<std::string> names;
            for (const CPageJob& job : jobs)
                names.push_back(CSiteScanner::UnderRoot(root, job.path));
            CSiteColumns columns;
            QString error;
            columns.SetFields({}, error);
            std::string csv;
            std::vector<CExportFailure> failures;
            if (!ExportTable(jobs, names, columns, control, csv, failures))
                return; // stopped: no table is written
            for (const CExportFailure& failure : failures) {
                report->problems << FileNameFromBytes(names[failure.job]) + QStringLiteral(": ") +
                                        Text(failure.reason);
            }
            report->failed = failures.size();
            report->changed = jobs.size() - failures.size();
            if (!SaveTextFile(file, csv, error, FileSync::TO_DISK))
                report->error = file + QStringLiteral(": ") + error;
        },
        [this, report](bool cancelled) {
            report->cancelled = cancelled;
            if (cancelled && report->error.isEmpty())
                report->error = QStringLiteral("Stopped: no table was written.");
            m_report = std::move(*report);
        });
}
