// Running one piece of work per page on several threads, for the commands
// that work on many pages (apply, audit, export, import, undo).
#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <string>

#include "document/text_file.h"
#include "page/html_page.h"

class CUndoJournal;
class QCommandLineParser;

// What a run that changes pages does besides changing them.
struct PageWriteOptions {
    bool dryRun = false;
    bool diff = false;
    HeadStyle headStyle = HeadStyle::KEEP;
    FileSync sync = FileSync::LATER;
    CUndoJournal* journal = nullptr; // null: none (a dry run, or --no-journal)
};

// --normalize-head: how a command that writes pages (set, apply, import) or
// shows what a save would write (rebuild) writes the head.
QCommandLineOption NormalizeHeadOption();
HeadStyle HeadStyleOf(const QCommandLineParser& parser, const QCommandLineOption& normalizeHead);

// The options of every command that changes many pages: --dry-run, --diff,
// --sync, --normalize-head, --journal FILE and --no-journal.
class CPageWriteArguments {
public:
    CPageWriteArguments();
    void AddTo(QCommandLineParser& parser) const;
    // After parsing: false, with the usage error said, when they contradict
    // each other.
    bool Check(const QCommandLineParser& parser, int& exitCode) const;
    // The options as given. Unless it is a dry run or --no-journal was given,
    // journal is opened for command (args: the command's arguments) and put in
    // options; false, said on stderr, when it cannot be written.
    bool Resolve(const QCommandLineParser& parser, const QString& command, const QStringList& args,
                 CUndoJournal& journal, PageWriteOptions& options) const;

private:
    QCommandLineOption m_dryRun, m_diff, m_sync, m_normalizeHead, m_journal, m_noJournal;
};

// Writes a page of the run that changed from before to after: its unified
// diff into diff when asked; then, unless a dry run, its journal entry on the
// disk first and the page under its lock. Returns false with reason set when
// the page was not written.
bool WriteChangedPage(CLockedTextFile& file, const std::string& path, const std::string& before,
                      const std::string& after, const PageWriteOptions& options, std::string& diff,
                      std::string& reason);

// What one page's work gives: the text for stdout, and when it failed, the
// message for stderr ("tsle-cli: PATH: reason\n").
struct BatchOutcome {
    std::string out;
    bool failed = false;
    std::string error;
};

struct BatchTotals {
    bool anyFailed = false;
    size_t notDone = 0; // pages not started because of an interrupt
};

// How many workers a run of count pages uses: pages wait mostly for the file
// system, so a few more than the processors; cpuBound: as many as processors.
size_t BatchWorkers(size_t count, bool cpuBound = false);

// Runs work(i) for every page i < count on workers threads. Each page's
// output is printed in page order as soon as it and all pages before it are
// done, and flushed at once, so that an interrupted run has told about every
// page it finished. After an interrupt (see InstallInterruptHandling) no new
// page is started. On a terminal, stderr shows the progress.
BatchTotals RunBatch(size_t count, size_t workers, const std::function<BatchOutcome(size_t)>& work);

// Runs work(i) for every page i < count on workers threads and returns when
// all are done (or an interrupt stopped the run: then not every page was
// worked on). On a terminal, stderr shows the progress.
void RunEach(size_t count, size_t workers, const std::function<void(size_t)>& work);

// Opens the journal of a run that changes pages: at file when one is named (a
// new file), else a new one in the journal folder. Returns false, said on
// stderr, when it cannot be written.
bool OpenJournal(CUndoJournal& journal, const QString& file, const QString& command,
                 const QStringList& args);
// Ends the journal (complete: the run was not interrupted) and, on a terminal,
// says how to undo the run. Returns false, said on stderr, when the journal
// could not be written.
bool FinishJournal(CUndoJournal& journal, bool complete);
