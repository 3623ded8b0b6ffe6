// CUndoJournal: what a batch run (tsle-cli apply, import) changed, kept so
// that the run can be undone, also after it was interrupted or killed.
//
// The journal is a text file of lines; bytes outside printable ASCII, and "%"
// and ",", are written as %XX:
//
//   tsle-journal 1
//   created 2024-05-01T12:00:00.123+02:00
//   command apply
//   folder /home/me/site                  (where relative paths start)
//   args t.mtpl pages -r
//   page PATH OLD-SHA256 NEW-SHA256 OFFSET,LENGTH,OLD-BYTES ...
//   end complete 12                       (or "end interrupted 12")
//   undone 2024-05-01T12:10:00.000+02:00  (added by a complete undo)
//
// A page line says: the page at PATH, whose text had the fingerprint OLD,
// was replaced by a text with the fingerprint NEW, in which LENGTH bytes at
// OFFSET were OLD-BYTES before. Only the changed ranges are kept, so a
// journal stays small however large the pages are.
//
// The header is on the disk, and the file's folder too, before the first page
// is changed, and each page line is on the disk before its page is replaced:
// whatever stops the run, every page it changed is in the journal. A line cut
// short by a crash ends without a line break and is passed over (its page was
// not changed). Any other line that is not understood makes the journal
// damaged: an undo then says which lines, and does not mark the run undone.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "site/text_diff.h"

struct CJournalEntry {
    std::string path; // bytes, as the run named the page
    std::string oldFingerprint;
    std::string newFingerprint;
    std::vector<CByteRange> ranges;

    // The entry for a page whose text oldText became newText.
    static CJournalEntry For(std::string path, std::string_view oldText, std::string_view newText);

    enum class Undo {
        RESTORE,       // the page holds the run's text: oldText is what it had
        ALREADY,       // the page holds the text it had before the run
        CHANGED_SINCE, // the page holds another text
        DAMAGED,       // the ranges do not give the old text back
    };
    // What undoing the entry does to a page whose text is now current.
    Undo Restore(std::string_view current, std::string& oldText) const;
};

// A journal as read back.
struct CJournal {
    QString file;
    QDateTime created;
    QString command;
    std::string folder;
    QStringList args;
    std::vector<CJournalEntry> entries;
    int finished = 0;              // has an "end" line
    int complete = 0;              // "end complete"
    long long endCount = -1;       // the pages the end line counts
    int undone = 0;                // has an "undone" line
    bool cutShort = false;         // the last line has no line break (a crash)
    std::vector<int> damagedLines; // lines not understood, from 1

    // Why the journal cannot be trusted to hold every page the run changed
    // (lines not understood, an end line counting other pages than are
    // read), or "".
    std::string Damage() const;

    // The path of an entry as it can be opened from anywhere: relative paths
    // start at the run's folder.
    std::string Resolve(const std::string& path) const;
};

class IProfile;

// How long journals are kept: the last keepRuns runs, and every run of the
// last keepDays days.
struct CJournalRetention {
    int keepRuns = 100;
    int keepDays = 90;
    // The user's choice in the profile (section "Journals", entries
    // "KeepRuns" and "KeepDays"), else the defaults.
    static CJournalRetention FromProfile(const IProfile& profile);
};

class CUndoJournal {
public:
    CUndoJournal() = default;
    ~CUndoJournal();
    CUndoJournal(const CUndoJournal&) = delete;
    CUndoJournal& operator=(const CUndoJournal&) = delete;

    // Where journals go: $XDG_STATE_HOME/tsle/journals, or
    // ~/.local/state/tsle/journals.
    static QString Folder();
    // Creates a new journal in Folder(), named after the time and command.
    int CreateInFolder(const QString& command, const QStringList& args, QString& error);
    // Whether the journal at path is in Folder() and belongs to the user
    // (and no one else may write it): "" when it is, else why it is not.
    // Only such a journal is undone without being asked to.
    static std::string Distrust(const QString& path);
    // Removes the journals in Folder() that are neither among the newest
    // keepRuns nor younger than keepDays (by the time in their names, else the
    // file's). Returns the number removed.
    static size_t Prune(const CJournalRetention& retention);
    // Creates the journal at path (which must not exist yet), writes the
    // header and waits until it and the folder's entry are on the disk.
    // Returns 1, or 0 with error set.
    int Create(const QString& path, const QString& command, const QStringList& args,
               QString& error);
    // Adds a page's entry and returns once it is on the disk. Safe to call
    // from several threads: entries that arrive together share one sync.
    // Returns 1, or 0 with error set (then no later entry is taken either).
    int Add(const CJournalEntry& entry, QString& error);
    // Writes the end line and closes the journal. A journal made in Folder()
    // that holds no entry is removed.
    int Finish(bool complete, QString& error);

    const QString& Path() const { return m_path; }
    size_t Entries() const;

    // Reads the journal at path. Returns 1, or 0 with error set (not a
    // journal, cannot be read).
    static int Read(const QString& path, CJournal& journal, QString& error);
    // Adds an "undone" line to the journal at path.
    static int MarkUndone(const QString& path, QString& error);
    // The journals in Folder(), oldest first.
    static std::vector<CJournal> List();

private:
    int Open(const QString& path, bool exclusive, QString& error);

    int m_fd = -1;
    QString m_path;
    bool m_inFolder = false;
    mutable std::mutex m_mutex;
    std::condition_variable m_synced;
    std::string m_pending;
    unsigned long long m_added = 0;
    unsigned long long m_durable = 0;
    bool m_flushing = false;
    QString m_failure;
};
