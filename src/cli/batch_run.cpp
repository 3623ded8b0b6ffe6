#include "cli/batch_run.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <unistd.h>
#include <vector>

#include "cli/cli_util.h"
#include "document/text_file.h"
#include "site/text_diff.h"
#include "site/undo_journal.h"

namespace {

// A progress line on a terminal, at most ten times a second.
class Progress {
public:
    explicit Progress(size_t total) : m_total(total), m_shown(isatty(2) && total > 1) {
        m_timer.start();
    }
    void Step(size_t done) {
        if (!m_shown || m_timer.elapsed() < 100 * m_updates)
            return;
        ++m_updates;
        std::fprintf(stderr, "\r%zu/%zu pages", done, m_total);
        std::fflush(stderr);
        m_drawn = true;
    }
    // Takes the line away, so that a result line on the same terminal starts clean.
    void Clear() {
        if (m_drawn)
            std::fputs("\r\033[K", stderr);
        m_drawn = false;
    }
    ~Progress() { Clear(); }

private:
    size_t m_total;
    bool m_shown;
    bool m_drawn = false;
    qint64 m_updates = 5; // nothing for the first half second
    QElapsedTimer m_timer;
};

// The result of each page, printed in page order as soon as a page and all
// before it are done, each output flushed at once.
class Results {
public:
    explicit Results(size_t count) : m_lines(count), m_state(count, PENDING) {}
    void Done(size_t i, BatchOutcome outcome) {
        {
            std::lock_guard lock(m_mutex);
            m_lines[i] = std::move(outcome.out);
            m_errors.push_back(std::move(outcome.error));
            m_state[i] = outcome.failed ? FAILED : DONE;
        }
        m_ready.notify_one();
    }
    void WorkerFinished() {
        {
            std::lock_guard lock(m_mutex);
            ++m_finishedWorkers;
        }
        m_ready.notify_one();
    }
    // Prints until every page is done, or every worker has stopped.
    void PrintAll(size_t workers, Progress& progress) {
        const bool stdoutIsTerminal = isatty(1);
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_ready.wait_for(lock, std::chrono::milliseconds(100));
            const bool stopped = m_finishedWorkers == workers;
            std::string out;
            for (; m_printed < m_state.size(); ++m_printed) {
                if (m_state[m_printed] == PENDING) {
                    // Stopped early (an interrupt): what was done still counts.
                    if (!stopped)
                        break;
                    continue;
                }
                out += m_lines[m_printed];
                m_failed = m_failed || m_state[m_printed] == FAILED;
                std::string().swap(m_lines[m_printed]);
            }
            std::vector<std::string> errors;
            errors.swap(m_errors);
            lock.unlock();
            for (const std::string& error : errors) {
                if (!error.empty())
                    std::fputs(error.c_str(), stderr);
            }
            if (!out.empty()) {
                if (stdoutIsTerminal)
                    progress.Clear();
                WriteStdout(out, true);
            }
            progress.Step(m_printed);
            lock.lock();
            if (m_printed == m_state.size() && (stopped || m_finishedWorkers == workers))
                return;
        }
    }
    bool AnyFailed() const { return m_failed; }
    size_t NotDone() const { return std::count(m_state.begin(), m_state.end(), PENDING); }

private:
    enum State : char { PENDING, DONE, FAILED };
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<std::string> m_lines;
    std::vector<State> m_state;
    std::vector<std::string> m_errors;
    size_t m_printed = 0;
    size_t m_finishedWorkers = 0;
    bool m_failed = false;
};

} // namespace

size_t BatchWorkers(size_t count, bool cpuBound) {
    const int ideal = QThread::idealThreadCount();
    const size_t wanted = cpuBound ? static_cast<size_t>(std::max(ideal, 1))
                                   : static_cast<size_t>(std::clamp(2 * ideal, 2, 16));
    return std::max<size_t>(1, std::min(count, wanted));
}

BatchTotals RunBatch(size_t count, size_t workers,
                     const std::function<BatchOutcome(size_t)>& work) {
    Results results(count);
    std::atomic<size_t> next{0};
    QThreadPool pool;
    pool.setMaxThreadCount(static_cast<int>(workers));
    for (size_t k = 0; k < workers; ++k) {
        pool.start([&] {
            // A first interrupt lets the page in hand finish, then stops.
            for (size_t i; !InterruptSignal() && (i = next.fetch_add(1)) < count;)
                results.Done(i, work(i));
            results.WorkerFinished();
        });
    }
    Progress progress(count);
    results.PrintAll(workers, progress);
    pool.waitForDone();
    progress.Clear();
    return {results.AnyFailed(), results.NotDone()};
}

void RunEach(size_t count, size_t workers, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    QThreadPool pool;
    pool.setMaxThreadCount(static_cast<int>(workers));
    for (size_t k = 0; k < workers; ++k) {
        pool.start([&] {
            for (size_t i; !InterruptSignal() && (i = next.fetch_add(1)) < count;) {
                work(i);
                done.fetch_add(1);
            }
        });
    }
    Progress progress(count);
    while (!pool.waitForDone(100))
        progress.Step(done.load());
    progress.Clear();
}

bool OpenJournal(CUndoJournal& journal, const QString& file, const QString& command,
                 const QStringList& args) {
    QString error;
    const bool ok = file.isEmpty() ? journal.CreateInFolder(command, args, error)
                                   : journal.Create(file, command, args, error);
    if (!ok) {
        const std::string line =
            "tsle-cli: cannot write the journal: " + ArgBytes(error) +
            "; nothing was changed (--journal FILE keeps it elsewhere, --no-journal keeps none)\n";
        std::fputs(line.c_str(), stderr);
    }
    return ok;
}

bool FinishJournal(CUndoJournal& journal, bool complete) {
    QString error;
    if (!journal.Finish(complete, error)) {
        FileError(journal.Path(), error);
        return false;
    }
    if (journal.Entries() > 0 && isatty(2)) {
        const std::string note =
            "tsle-cli: to undo this run: tsle-cli undo '" + ArgBytes(journal.Path()) + "'\n";
        std::fputs(note.c_str(), stderr);
    }
    return true;
}

bool WriteChangedPage(CLockedTextFile& file, const std::string& path, const std::string& before,
                      const std::string& after, const PageWriteOptions& options, std::string& diff,
                      std::string& reason) {
    if (options.diff)
        diff = UnifiedDiff(before, after, DiffFileName("a/", path), DiffFileName("b/", path));
    if (options.dryRun)
        return true;
    QString error;
    if (options.journal && !options.journal->Add(CJournalEntry::For(path, before, after), error)) {
        reason = ArgBytes(error) + "; not changed";
        return false;
    }
    if (!file.Save(after, error, options.sync)) {
        reason = ArgBytes(error);
        return false;
    }
    return true;
}

QCommandLineOption NormalizeHeadOption() {
    return QCommandLineOption(
        "normalize-head",
        "Write every tag before the body in its normalized form (lower case, new meta tags "
        "as <meta name=\"NAME\" content=\"VALUE\"/> after CR LF TAB), as the editor does with "
        "\"Normalize head tags on save\". By default only the tags that change are written, "
        "in the page's own style.");
}

HeadStyle HeadStyleOf(const QCommandLineParser& parser, const QCommandLineOption& normalizeHead) {
    return parser.isSet(normalizeHead) ? HeadStyle::NORMALIZE : HeadStyle::KEEP;
}

CPageWriteArguments::CPageWriteArguments()
    : m_dryRun("dry-run", "Change no file; report what would change."),
      m_diff("diff", "Print a unified diff of each changed page (names as given, with a/ and b/ "
                     "in front, for 'git apply' or 'patch -p1') instead of the result lines; "
                     "failures still go to stderr. With --dry-run nothing is written."),
      m_sync("sync", "Wait for each saved page to reach the disk (slower; by default the system "
                     "writes them out in its own time, each page still replaced atomically)."),
      m_normalizeHead(NormalizeHeadOption()),
      m_journal("journal",
                "Keep the journal of the run (what 'tsle-cli undo' needs to put the pages back) "
                "in FILE, a new file; by default it goes to $XDG_STATE_HOME/tsle/journals "
                "(~/.local/state/tsle/journals). See 'tsle-cli undo --list'. When the journal "
                "cannot be written, no page is changed.",
                "FILE"),
      m_noJournal("no-journal", "Keep no journal: the run cannot be undone.") {}

void CPageWriteArguments::AddTo(QCommandLineParser& parser) const {
    parser.addOptions({m_dryRun, m_diff, m_sync, m_normalizeHead, m_journal, m_noJournal});
}

bool CPageWriteArguments::Check(const QCommandLineParser& parser, int& exitCode) const {
    if (parser.isSet(m_noJournal) && parser.isSet(m_journal)) {
        exitCode = UsageError("--journal and --no-journal exclude each other");
        return false;
    }
    return true;
}

bool CPageWriteArguments::Resolve(const QCommandLineParser& parser, const QString& command,
                                  const QStringList& args, CUndoJournal& journal,
                                  PageWriteOptions& options) const {
    options.dryRun = parser.isSet(m_dryRun);
    options.diff = parser.isSet(m_diff);
    options.sync = parser.isSet(m_sync) ? FileSync::TO_DISK : FileSync::LATER;
    options.headStyle = HeadStyleOf(parser, m_normalizeHead);
    options.journal = nullptr;
    if (options.dryRun || parser.isSet(m_noJournal))
        return true;
    // The journal is on the disk before the first page changes.
    if (!OpenJournal(journal, parser.value(m_journal), command, args))
        return false;
    options.journal = &journal;
    return true;
}
