// The options and the terminal side of the commands that work on many pages
// (apply, audit, export, import, undo); the work itself is the site engine's
// (src/site).
#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "site/page_batch.h"
#include "site/page_edit.h"
#include "site/page_walk.h"

class CUndoJournal;
class QCommandLineParser;

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

// The options that make a set of pages from the paths named: -r/--recursive
// and --file-types (--file-types alone for commands that take no folders).
class CPageSetArguments {
public:
    // what: how the command's help ends "-r: ... every web page under the
    // folders named", e.g. "Apply to".
    explicit CPageSetArguments(const QString& what, bool folders = true);
    void AddTo(QCommandLineParser& parser) const;
    CPageSetOptions Options(const QCommandLineParser& parser) const;
    // The walker over the paths, as the options say (templ: the template of
    // the run, never taken).
    std::unique_ptr<CPageWalker> Walk(const QCommandLineParser& parser, const QStringList& paths,
                                      const QString& templ = {},
                                      const PageFileId* templateId = nullptr) const;

private:
    QCommandLineOption m_recursive, m_fileTypes;
    bool m_folders;
};

// The control of a run from the terminal: stops at an interrupt (see
// InstallInterruptHandling), and on a terminal shows "N/M pages" on stderr.
// Clear the line (ClearProgress) before printing on the same terminal.
CRunControl TerminalRunControl();
void ClearProgress();

// Opens the journal of a run that changes pages: at file when one is named (a
// new file), else a new one in the journal folder. Returns false, said on
// stderr, when it cannot be written.
bool OpenJournal(CUndoJournal& journal, const QString& file, const QString& command,
                 const QStringList& args);
// Ends the journal (complete: the run was not interrupted), prunes the
// journal folder as the profile says and, on a terminal, says how to undo the
// run. Returns false, said on stderr, when the journal could not be written.
bool FinishJournal(CUndoJournal& journal, bool complete);

// After an interrupted run: says how many of count pages were not processed,
// and ends the program by the signal.
[[noreturn]] void EndInterruptedRun(size_t notDone, size_t count);
