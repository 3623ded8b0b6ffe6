// CSiteSession: the site view's work on one site folder: the table, the scans
// that fill it and keep it current, and the runs that change pages (writing
// the edits, importing a table, undoing a run) or read them all (export).
//
// Every run goes through the site engine as the commands do (tsle-cli
// import, export, undo), on a worker thread, one at a time; the session says
// what runs (activityChanged), how far it is (progress), and reports its end
// (scanFinished, runFinished with LastReport). Runs that change pages first
// run dry, with diffs, for the user to look at (PlanWrite, PlanImport); the
// real run (Write, Import) keeps a journal in the journal folder, from which
// Undo puts the pages back.
//
// Pages that change on disk meanwhile: the folders are watched, and Refresh
// (also when the window comes back to the front) reads again what changed.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "site/page_edit.h"
#include "site/site_scanner.h"
#include "site/site_table_model.h"
#include "site/site_task.h"
#include "site/undo_journal.h"

class CTableImport;

// What a site's findings follow: the thresholds (with the limits of widths),
// what measures widths (null: none), and the address the site is published
// at ("" when unknown).
struct CSiteRules {
    CAuditThresholds thresholds;
    const ITextMeasurer* measurer = nullptr;
    QString site;
};

// One page of a run, as the run's dialog lists it.
struct CSiteRunPage {
    QString path; // under the site's folder (import: as the table names it)
    PageOutcome outcome = PageOutcome::UNCHANGED;
    QString detail;
    QString diff;
};

struct CSiteRunReport : CPageOutcomeCounts {
    enum Kind { WRITE, IMPORT, UNDO, EXPORT };
    Kind kind = WRITE;
    bool dryRun = false;
    bool cancelled = false;
    std::vector<CSiteRunPage> pages; // in the run's order
    // Rows of a table not used, pages that could not be read, a journal's damage.
    QStringList problems;
    size_t notDone = 0;
    QString journal; // the journal kept ("" for none)
    QString file;    // export: the table written
    QString error;   // why the run could not be made at all ("" when it ran)

    // "3 pages changed, 1 conflict, 2 failures, 40 unchanged" (undo:
    // "3 pages restored, 1 changed since the run, 0 failures"); a dry run
    // says what would be done.
    QString Summary() const;
};

class CSiteSession : public QObject {
    Q_OBJECT

public:
    enum class Activity {
        IDLE,
        SCANNING,
        REFRESHING,
        PLANNING_WRITE,
        WRITING,
        PLANNING_IMPORT,
        IMPORTING,
        UNDOING,
        EXPORTING
    };
    // Folders watched at most; beyond them, changes are found at Refresh.
    static constexpr int MAX_WATCHED_FOLDERS = 4096;
    // How long the folders stay quiet before a change is read.
    static constexpr int REFRESH_DELAY_MS = 300;

    explicit CSiteSession(QObject* parent = nullptr);
    ~CSiteSession() override;

    CSiteTableModel& Model() { return m_model; }
    void SetRetention(const CJournalRetention& retention) { m_retention = retention; }
    // Where the rules of a site folder come from, asked at each Open (the
    // settings may have changed since); without it, the audit's defaults and
    // no widths.
    void SetRulesSource(std::function<CSiteRules(const QString& root)> source) {
        m_rulesSource = std::move(source);
    }

    // --- The site ---------------------------------------------------------------
    // Shows the site in folder root (emptying the table) and scans it; the
    // file types say which files are pages.
    void Open(const QString& root, const std::string& fileTypes);
    const QString& Root() const { return m_root; }
    bool HasRoot() const { return !m_root.isEmpty(); }
    // Reads every page again (keeping the edits) / only those changed on disk.
    void Rescan();
    void Refresh();
    void Cancel();
    Activity Current() const { return m_activity; }
    bool IsBusy() const { return m_activity != Activity::IDLE; }
    // What runs, for the status bar: "Reading pages", "Writing pages", ...
    QString ActivityText() const;
    // Waits for the work that runs (tests, closing).
    void Wait();

    // --- Runs ---------------------------------------------------------------------
    // Each returns false (and does nothing) while another run is busy or
    // without a site; the report tells the rest.
    // What writing the edits of rows (every edited row when empty) would do:
    // a dry run with diffs. Write then writes those edits.
    bool PlanWrite(const std::vector<size_t>& rows = {});
    bool Write();
    size_t PlannedPages() const { return m_planned.size(); }
    // The same for a table (CSV) made by export: its rows are checked, a dry
    // run shows the diffs; Import writes it.
    bool PlanImport(const QString& table);
    bool Import();
    // Puts back the pages of a run from its journal (only a journal of the
    // user's own in the journal folder).
    bool Undo(const QString& journal);
    // Writes the site's table to file (the pages as they are on disk).
    bool Export(const QString& file);
    const CSiteRunReport& LastReport() const { return m_report; }

signals:
    void activityChanged();
    void progress(qint64 done, qint64 total);
    void scanFinished(bool cancelled);
    void runFinished();

private:
    bool Begin(Activity activity);
    void End();
    void StartScan(bool refresh);
    void OnRowsReady();
    void OnScanFinished(bool cancelled);
    bool RunTask(Activity activity, std::function<void(const CRunControl&)> work,
                 std::function<void(bool cancelled)> done);
    bool OpenJournal(const QString& command, const QStringList& args);
    void FinishJournal(bool complete);
    void WatchFolders();
    std::string RootBytes() const;

    CSiteTableModel m_model;
    CSiteScanner m_scanner;
    CSiteTask m_task;
    QFileSystemWatcher m_watcher;
    QTimer m_refreshDelay;
    QString m_root;
    std::string m_fileTypes;
    Activity m_activity = Activity::IDLE;
    bool m_refreshWanted = false;
    std::function<void(bool)> m_done;
    CJournalRetention m_retention;
    std::function<CSiteRules(const QString&)> m_rulesSource;
    std::unique_ptr<CUndoJournal> m_journal;
    std::vector<CSitePageChange> m_planned;
    std::unique_ptr<CTableImport> m_import;
    CSiteRunReport m_report;
};
