// Reading and saving page and template files: the one reading rule and the one
// save routine that the editor and every tsle-cli command use.
//
// What a save guarantees:
// - The file is replaced atomically: the new text goes to a temporary file
//   with a short name (".tsle-XXXXXX") in the same folder, every write, flush
//   and close is checked, and only then is it renamed over the original. On
//   any failure (a full disk, a file-size limit, an I/O error) the temporary
//   file is removed, the original stays exactly as it was, and the reason is
//   given ("No space left on device").
// - The owner and group (where the system permits) and the mode are kept.
// - Only a regular file (or a symbolic link to one, saved through to its
//   target) is written; a file the user may not write is refused, and so is a
//   file with several hard links (replacing it would silently split the links).
// - The file is locked (an advisory flock) while it is written, and for the
//   whole read-modify-write of a CLockedTextFile, so that programs which lock
//   the same way (tsle-cli, the editor) never lose each other's changes.
// - The temporary file is locked too, from its creation until it is renamed
//   or removed. A save removes the temporary files in its folder that a
//   program killed half way left behind: those no program holds locked and
//   that have not been written to for a minute.
//
// File names are bytes on Linux. Paths are QStrings that hold any bytes: see
// FileNameBytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "page/page_file.h"

// A file name's bytes from a QString that holds them losslessly: the
// characters in UTF-8, except that each lone surrogate U+DC80..U+DCFF stands
// for the byte 0x80..0xFF it was made from (as Python's "surrogateescape").
std::string FileNameBytes(const QString& name);
// The QString for a file name's bytes: valid UTF-8 decoded, every other byte
// b as the lone surrogate U+DC00 + b. FileNameBytes gives the bytes back.
QString FileNameFromBytes(std::string_view bytes);

// Reads the whole file at path by the rule of ReadPageFile (form, when given,
// tells how the file holds its text: pass it to SaveTextFile). Returns 1 on
// success; otherwise 0 with error set to the reason ("No such file or
// directory", "Is a directory", "not a regular file", "Not a text file (it
// contains zero bytes)", ...).
int LoadTextFile(const QString& path, std::string& text, QString& error,
                 PageFileForm* form = nullptr);

enum class FileSync {
    // Wait until the new bytes (and the folder's entry) are on the disk.
    TO_DISK,
    // Leave writing to the disk to the system, for saving many files at once;
    // every failure the system reports is still checked, and the replacement
    // is atomic for every reader and survives a crash of the program.
    LATER,
};

// Writes all of bytes to fd, going on after short writes and interruptions;
// false (with errno set) when a write fails.
bool WriteAllBytes(int fd, std::string_view bytes);

// Replaces the file at path with text held in the given form (or creates it),
// as described above, taking the file's lock while it writes (waiting up to a
// few seconds for another program's). Returns 1 on success; otherwise 0 with
// error set to the reason, and the original untouched.
int SaveTextFile(const QString& path, std::string_view text, QString& error,
                 FileSync sync = FileSync::TO_DISK, PageFileForm form = PageFileForm::BYTES);

// Replaces what is at path with a regular file holding bytes, as SaveTextFile
// does, except that a symbolic link there is replaced itself: its target is
// left as it is.
int ReplaceLinkWithTextFile(const QString& path, std::string_view bytes, QString& error);

// One file's read-modify-write under its lock: Open locks and reads it, Save
// replaces it, and the lock is released when the object goes. Another program
// that replaced the file meanwhile (without locking) is noticed, and the save
// refused rather than its change lost.
class CLockedTextFile {
public:
    CLockedTextFile() = default;
    ~CLockedTextFile();
    CLockedTextFile(const CLockedTextFile&) = delete;
    CLockedTextFile& operator=(const CLockedTextFile&) = delete;

    // Opens the file at path (a regular file, or a link to one), waits for its
    // lock (waitMs milliseconds at most; -1: as long as it takes, or until an
    // interrupt, see InstallInterruptHandling) and reads it by the rule of
    // LoadTextFile. Returns 1, or 0 with error set.
    int Open(const QString& path, std::string& text, QString& error, int waitMs = -1);
    // Opens and locks the file as Open does, but reads whatever bytes it
    // holds (zero bytes too), for a caller that knows by other means (a
    // fingerprint) what it must hold.
    int OpenBytes(const QString& path, std::string& bytes, QString& error, int waitMs = -1);
    // Only opens and locks the file, as Open does.
    int Lock(const QString& path, QString& error, int waitMs = -1);
    // The file that was opened.
    const PageFileId& GetId() const { return m_id; }
    // How the file opened holds its text (BYTES after Lock).
    PageFileForm GetForm() const { return m_form; }
    // Replaces the file opened with text, in the form it was read in, as
    // SaveTextFile does.
    int Save(std::string_view text, QString& error, FileSync sync);

private:
    int LockPath(const std::string& path, std::string& error, int waitMs);
    void Close();

    int m_fd = -1;
    std::string m_path;
    PageFileId m_id;
    PageFileForm m_form = PageFileForm::BYTES;
};

// For programs that save files and should stop cleanly when asked: the first
// SIGINT or SIGTERM is only noted (InterruptSignal), so that the program can
// finish the file it is saving and stop; a second one removes every temporary
// file of a save in progress (leaving the originals untouched) and ends the
// program at once. Also ignores SIGXFSZ, so that a file-size limit fails a
// save with "File too large" instead of killing the program (every save does
// that on its own too).
void InstallInterruptHandling();
// The signal that asked the program to stop, or 0.
int InterruptSignal();
// Ends the program by the signal noted, as it would have ended without the
// handlers (for the shell's "killed by a signal" status).
[[noreturn]] void ExitForInterrupt();
