#include "document/disk_state.h"

#include <sys/stat.h>

#include "document/fingerprint.h"
#include "document/text_file.h"
#include "page/page_file.h"

CDiskSnapshot CDiskSnapshot::Stat(const QString& path) {
    CDiskSnapshot snapshot;
    const std::string name = FileNameBytes(path);
    struct stat own;
    if (::lstat(name.c_str(), &own) != 0)
        return snapshot;
    snapshot.m_bLink = S_ISLNK(own.st_mode);
    struct stat info;
    if (::stat(name.c_str(), &info) != 0)
        return snapshot; // a link to nothing is no file
    snapshot.m_bValid = true;
    snapshot.m_bRegular = S_ISREG(info.st_mode);
    snapshot.m_device = info.st_dev;
    snapshot.m_inode = info.st_ino;
    snapshot.m_size = info.st_size;
    snapshot.m_mtimeNs =
        static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return snapshot;
}

void CDiskSnapshot::SetContent(std::string_view bytes) {
    m_strSha256 = PageFingerprint(bytes);
}

DiskChange CDiskSnapshot::Compare(const QString& path, CDiskSnapshot* now) const {
    CDiskSnapshot disk = Stat(path);
    DiskChange change = DiskChange::NONE;
    if (!disk.m_bValid) {
        change = m_bValid ? DiskChange::DELETED : DiskChange::NONE;
    } else if (!m_bValid) {
        change = DiskChange::CHANGED; // a file where there was none
    } else if (disk.m_bLink != m_bLink || !disk.m_bRegular) {
        change = DiskChange::REPLACED;
    } else if (disk.m_device != m_device || disk.m_inode != m_inode || disk.m_size != m_size ||
               disk.m_mtimeNs != m_mtimeNs) {
        // Something wrote there: the bytes tell whether anything changed.
        std::string text, reason;
        if (!ReadPageFile(FileNameBytes(path), text, reason)) {
            change = Stat(path).IsValid() ? DiskChange::CHANGED : DiskChange::DELETED;
        } else {
            disk.SetContent(text);
            change = disk.m_strSha256 == m_strSha256 ? DiskChange::NONE : DiskChange::CHANGED;
        }
    } else {
        disk.m_strSha256 = m_strSha256;
    }
    if (now)
        *now = disk;
    return change;
}

namespace {

// The bytes the file holds for text in its form (a UTF-16 page stays UTF-16).
bool FileBytes(std::string_view text, PageFileForm form, std::string& encoded, QString& error) {
    if (form == PageFileForm::BYTES) {
        encoded.assign(text);
        return true;
    }
    if (PageTextToFile(text, form, encoded))
        return true;
    error = QStringLiteral("The text cannot be written as UTF-16: it is not valid UTF-8");
    return false;
}

} // namespace

GuardedSave SaveOverOpened(const QString& path, std::string_view text, PageFileForm form,
                           const CDiskSnapshot& expected, DiskChange& change, CDiskSnapshot& now,
                           CDiskSnapshot& written, QString& error) {
    std::string bytes;
    if (!FileBytes(text, form, bytes, error))
        return GuardedSave::FAILED;
    // The lock first, then the comparison: a program that locks the file too
    // cannot write between the two. There is nothing to lock where the file
    // is gone or is no regular file; the comparison then tells.
    CLockedTextFile locked;
    const bool isLocked = locked.Lock(path, error, 10000);
    change = expected.Compare(path, &now);
    if (change != DiskChange::NONE)
        return GuardedSave::CONFLICT;
    int ok = 0;
    if (isLocked)
        ok = locked.Save(bytes, error, FileSync::TO_DISK); // a locked file takes bytes as they are
    else if (!now.IsValid())                               // expected no file either: a new one
        ok = SaveTextFile(path, bytes, error);
    if (!ok)
        return GuardedSave::FAILED;
    written = CDiskSnapshot::Stat(path);
    written.SetContent(text);
    return GuardedSave::WRITTEN;
}

bool ReplaceOpened(const QString& path, std::string_view text, PageFileForm form,
                   CDiskSnapshot& written, QString& error) {
    std::string bytes;
    if (!FileBytes(text, form, bytes, error) || !ReplaceLinkWithTextFile(path, bytes, error))
        return false;
    written = CDiskSnapshot::Stat(path);
    written.SetContent(text);
    return true;
}

std::string DiskChangeQuestion(DiskChange change, const std::string& what, bool edited) {
    const std::string lose = edited ? "Reload reads it again and your changes here are lost; "
                                    : "Reload reads it again; ";
    switch (change) {
    case DiskChange::CHANGED:
        return what + " was changed on disk by another program since it was read here.\n\n" + lose +
               "Overwrite replaces the other program's changes with this version.";
    case DiskChange::REPLACED:
        return what +
               " was replaced on disk by another program since it was read here (it is now a "
               "link or no regular file).\n\n" +
               lose +
               "Overwrite puts this version in its place and leaves what the link points to "
               "as it is.";
    case DiskChange::DELETED:
        return what + " was deleted from disk by another program since it was read here.\n\n"
                      "Save As saves this version under a name you choose; Save writes it again "
                      "where it was.";
    case DiskChange::NONE:
        break;
    }
    return {};
}

IUserPrompt::Buttons DiskChangeButtons(DiskChange change) {
    return change == DiskChange::DELETED ? IUserPrompt::SAVE_AS_SAVE_CANCEL
                                         : IUserPrompt::RELOAD_OVERWRITE_CANCEL;
}

std::string DiskChangeNotice(DiskChange change, const std::string& what) {
    switch (change) {
    case DiskChange::CHANGED:
        return what + " was changed on disk by another program.";
    case DiskChange::REPLACED:
        return what + " was replaced on disk by another program.";
    case DiskChange::DELETED:
        return what + " was deleted from disk.";
    case DiskChange::NONE:
        break;
    }
    return {};
}
