// What the editor remembers of a file it opened or saved, how the file on disk
// differs from that now, and the rule for saving over it: a file another
// program changed, replaced or deleted is not written over without asking.
//
// A snapshot holds the file's identity (device and inode), size, modification
// time, whether the name was a symbolic link, and the SHA-256 of the bytes the
// editor read or wrote. Comparing stats the file and reads and hashes it only
// when identity, size or time differ: a file rewritten with the same bytes
// (touched, or saved unchanged by another program) counts as unchanged.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "page/page_file.h"
#include "page/user_prompt.h"

enum class DiskChange {
    NONE,     // the file holds what was read or written
    CHANGED,  // another program wrote other bytes into it (or renamed others over it)
    REPLACED, // the name is now a symbolic link where it was none (or the other way),
              // or no regular file at all
    DELETED,  // the name is gone (or a link to nothing)
};

class CDiskSnapshot {
public:
    // Nothing remembered: a page or template that has no file.
    CDiskSnapshot() = default;
    // The file at path as the system describes it now, before its bytes are
    // read (so that a change while reading shows as a change, never as none);
    // SetContent then gives the bytes read or written. An invalid snapshot
    // when there is no file.
    static CDiskSnapshot Stat(const QString& path);
    void SetContent(std::string_view bytes);

    bool IsValid() const { return m_bValid; }
    bool IsLink() const { return m_bLink; }
    // How the file at path differs from this snapshot (NONE for an invalid
    // snapshot and no file). now, when given, gets the file as it is, with
    // its hash when the file was read.
    DiskChange Compare(const QString& path, CDiskSnapshot* now = nullptr) const;

private:
    bool m_bValid = false;
    bool m_bLink = false;
    bool m_bRegular = false;
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
    long long m_size = -1;
    long long m_mtimeNs = 0;
    std::string m_strSha256;
};

// The outcome of SaveOverOpened.
enum class GuardedSave {
    WRITTEN,  // the file held what was expected and now holds the new bytes
    CONFLICT, // another program changed, replaced or deleted it: nothing written
    FAILED,   // the write failed (error says why); the file is as it was
};

// Saves text over the file at path that was read (or last written) as
// expected, in the file's form, under the file's lock, so that no program
// that locks it too can write between the comparison and the save. Another
// program's change, seen under the lock, is not overwritten: change tells what
// it was and now what is there. written gets the file as saved.
GuardedSave SaveOverOpened(const QString& path, std::string_view text, PageFileForm form,
                           const CDiskSnapshot& expected, DiskChange& change, CDiskSnapshot& now,
                           CDiskSnapshot& written, QString& error);
// Puts text, in the given form, in place of whatever is at path now: a
// symbolic link there is replaced itself and its target left as it is. false
// with error set when that fails; written gets the file as saved.
bool ReplaceOpened(const QString& path, std::string_view text, PageFileForm form,
                   CDiskSnapshot& written, QString& error);

// The question asked before a save over a file that changed on disk, and its
// buttons: Reload, Overwrite or Cancel; for a deleted file Save As, Save (in
// its old place) or Cancel. what names the file ("index.html", "the template
// site.mtpl"); edited says whether there are changes a reload would lose.
std::string DiskChangeQuestion(DiskChange change, const std::string& what, bool edited);
IUserPrompt::Buttons DiskChangeButtons(DiskChange change);
// The line the window shows while the file differs from what was read:
// "index.html was changed on disk by another program."; "" for NONE.
std::string DiskChangeNotice(DiskChange change, const std::string& what);
