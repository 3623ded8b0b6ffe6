#include "cli/batch_run.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <cstdio>
#include <mutex>
#include <unistd.h>

#include "cli/cli_util.h"
#include "document/text_file.h"
#include "settings/settings_profile.h"
#include "site/undo_journal.h"

namespace {

// A progress line on a terminal, at most ten times a second, nothing for the
// first half second.
struct Progress {
    std::mutex mutex;
    QElapsedTimer timer;
    qint64 updates = 5;
    bool drawn = false;

    void Step(size_t done, size_t total) {
        std::lock_guard lock(mutex);
        if (!timer.isValid())
            timer.start();
        if (total < 2 || !isatty(2) || timer.elapsed() < 100 * updates)
            return;
        ++updates;
        std::fprintf(stderr, "\r%zu/%zu pages", done, total);
        std::fflush(stderr);
        drawn = true;
    }
    void Clear() {
        std::lock_guard lock(mutex);
        if (drawn)
            std::fputs("\r\033[K", stderr);
        drawn = false;
    }
};

Progress& TheProgress() {
    static Progress progress;
    return progress;
}

} // namespace

CRunControl TerminalRunControl() {
    CRunControl control;
    control.stopRequested = [] { return InterruptSignal() != 0; };
    control.progress = [](size_t done, size_t total) { TheProgress().Step(done, total); };
    return control;
}

void ClearProgress() {
    TheProgress().Clear();
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
    ClearProgress();
    if (!journal.Finish(complete, error)) {
        FileError(journal.Path(), error);
        return false;
    }
    if (journal.Entries() > 0) {
        CUndoJournal::Prune(CJournalRetention::FromProfile(CSettingsProfile()));
        if (isatty(2)) {
            const std::string note =
                "tsle-cli: to undo this run: tsle-cli undo '" + ArgBytes(journal.Path()) + "'\n";
            std::fputs(note.c_str(), stderr);
        }
    }
    return true;
}

void EndInterruptedRun(size_t notDone, size_t count) {
    ClearProgress();
    if (notDone)
        std::fprintf(stderr, "tsle-cli: interrupted; %zu of %zu pages were not processed\n",
                     notDone, count);
    StdoutFailed();
    ExitForInterrupt();
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
      m_diff("diff", "Print a unified diff of each changed page instead of the result lines, "
                     "for 'git apply' or 'patch -p1' in the current folder (paths relative to "
                     "it, with a/ and b/ in front; a page outside it by its absolute path "
                     "without the leading /, as git writes it); failures still go to stderr. "
                     "With --dry-run nothing is written."),
      m_sync("sync", "Wait for each saved page to reach the disk (slower; by default the system "
                     "writes them out in its own time, each page still replaced atomically)."),
      m_normalizeHead(NormalizeHeadOption()),
      m_journal("journal",
                "Keep the journal of the run (what 'tsle-cli undo' needs to put the pages back) "
                "in FILE, a new file; by default it goes to $XDG_STATE_HOME/tsle/journals "
                "(~/.local/state/tsle/journals), where the last 100 runs and those of the last "
                "90 days are kept. See 'tsle-cli undo --list'. When the journal cannot be "
                "written, no page is changed.",
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

CPageSetArguments::CPageSetArguments(const QString& what, bool folders)
    : m_recursive(QStringList{"r", "recursive"},
                  what + " every web page under the folders named (symbolic links met there "
                         "are not followed)."),
      m_fileTypes(
          "file-types",
          "The file types that count as web pages (default \"" +
              QString::fromLatin1(DEFAULT_FILE_TYPES.data(), qsizetype(DEFAULT_FILE_TYPES.size())) +
              "\"; templates never do); " +
              (folders ? "files in folders without one of these extensions are left "
                         "alone."
                       : "other files are left alone."),
          "PATTERNS"),
      m_folders(folders) {}

void CPageSetArguments::AddTo(QCommandLineParser& parser) const {
    if (m_folders)
        parser.addOption(m_recursive);
    parser.addOption(m_fileTypes);
}

CPageSetOptions CPageSetArguments::Options(const QCommandLineParser& parser) const {
    CPageSetOptions options;
    if (parser.isSet(m_fileTypes))
        options.fileTypes = ArgBytes(parser.value(m_fileTypes));
    options.recursive = m_folders && parser.isSet(m_recursive);
    return options;
}

std::unique_ptr<CPageWalker> CPageSetArguments::Walk(const QCommandLineParser& parser,
                                                     const QStringList& paths, const QString& templ,
                                                     const PageFileId* templateId) const {
    auto walker = std::make_unique<CPageWalker>(Options(parser));
    if (templateId)
        walker->ExcludeTemplate(ArgBytes(templ), *templateId);
    for (const QString& path : paths)
        walker->Add(ArgBytes(path));
    return walker;
}
