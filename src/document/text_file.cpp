#include "document/text_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "page/utf8.h"

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

QString ToQString(const std::string& reason) {
    return QString::fromLocal8Bit(reason.data(), static_cast<qsizetype>(reason.size()));
}

// --- Temporary files that a signal must not leave behind ------------------------

// The temporary files of the saves in progress, for the signal handler: a
// fixed table, so that the handler needs no lock and no memory.
struct TempSlot {
    std::atomic<int> state{0}; // 0 free, 1 being filled, 2 in use
    int dirFd = -1;
    char name[16] = {};
};
TempSlot g_temps[64];
std::atomic<int> g_interrupt{0};

int RegisterTemp(int dirFd, const char (&name)[16]) {
    for (int i = 0; i < static_cast<int>(std::size(g_temps)); ++i) {
        int expected = 0;
        if (g_temps[i].state.compare_exchange_strong(expected, 1)) {
            g_temps[i].dirFd = dirFd;
            std::memcpy(g_temps[i].name, name, sizeof name);
            g_temps[i].state.store(2);
            return i;
        }
    }
    return -1; // more saves at once than slots: that one is not cleaned up on a signal
}

void UnregisterTemp(int slot) {
    if (slot >= 0)
        g_temps[slot].state.store(0);
}

void OnInterrupt(int signo) {
    int none = 0;
    if (g_interrupt.compare_exchange_strong(none, signo))
        return; // the program finishes the file in hand and stops
    // Asked again: roll back every save in progress and end now.
    for (TempSlot& slot : g_temps) {
        if (slot.state.load() == 2)
            ::unlinkat(slot.dirFd, slot.name, 0);
    }
    ::signal(signo, SIG_DFL);
    ::raise(signo);
}

void IgnoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { ::signal(SIGXFSZ, SIG_IGN); });
}

// --- Saving ------------------------------------------------------------------------

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int Close() {
        const int result = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

// Where a save writes: the real folder and name behind path (symbolic links
// resolved), and what is there now.
struct Target {
    std::string dir;
    std::string name;
    bool exists = false;
    struct stat info;
};

bool SplitPath(const std::string& path, std::string& dir, std::string& name) {
    const size_t slash = path.rfind('/');
    dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    return !name.empty() && name != "." && name != "..";
}

// followLinks false: a symbolic link at path is the target itself (replaced,
// not written through).
bool ResolveTarget(const std::string& path, Target& target, std::string& error,
                   bool followLinks = true) {
    std::string full;
    struct stat own;
    const bool isLink = ::lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
    if (isLink && !followLinks) {
        std::string dir, name;
        char* realDir = SplitPath(path, dir, name) ? ::realpath(dir.c_str(), nullptr) : nullptr;
        if (!realDir) {
            error = ErrnoText(errno);
            return false;
        }
        full = std::string(realDir) + (std::strcmp(realDir, "/") == 0 ? "" : "/") + name;
        std::free(realDir);
    } else if (char* real = ::realpath(path.c_str(), nullptr)) {
        full = real;
        std::free(real);
    } else if (errno == ENOENT) {
        struct stat link;
        if (::lstat(path.c_str(), &link) == 0) {
            error = "broken symbolic link";
            return false;
        }
        // A new file: its folder must exist.
        std::string dir, name;
        if (!SplitPath(path, dir, name)) {
            error = ErrnoText(EISDIR);
            return false;
        }
        char* realDir = ::realpath(dir.c_str(), nullptr);
        if (!realDir) {
            error = ErrnoText(errno);
            return false;
        }
        full = std::string(realDir) + (std::strcmp(realDir, "/") == 0 ? "" : "/") + name;
        std::free(realDir);
    } else {
        error = ErrnoText(errno);
        return false;
    }
    if (!SplitPath(full, target.dir, target.name)) {
        error = ErrnoText(EISDIR);
        return false;
    }
    target.exists = ::lstat(full.c_str(), &target.info) == 0;
    if (!target.exists && errno != ENOENT) {
        error = ErrnoText(errno);
        return false;
    }
    return true;
}

// Why the existing file must not be replaced, or "".
std::string Refusal(const Target& target, const std::string& full) {
    if (S_ISDIR(target.info.st_mode))
        return ErrnoText(EISDIR);
    if (!S_ISREG(target.info.st_mode))
        return kNotRegularFile;
    // Writing through one name and renaming would leave the other names with
    // the old text; writing in place could leave them half written.
    if (target.info.st_nlink > 1) {
        return "the file has " + std::to_string(target.info.st_nlink) +
               " hard links, which saving would separate; not changed";
    }
    // One rule for every save: what the user may not write is not replaced,
    // even where the folder would let a rename through.
    if (::faccessat(AT_FDCWD, full.c_str(), W_OK, AT_EACCESS) != 0)
        return ErrnoText(errno);
    return {};
}

constexpr char kTempPrefix[] = ".tsle-";
constexpr char kTempChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A temporary file not written to for this long, and locked by no program, is
// left over from a save that was killed.
constexpr time_t STALE_TEMP_SECONDS = 60;
// A folder is searched for such files at most this often by one program.
constexpr time_t STALE_SEARCH_INTERVAL = 600;

bool IsTempName(std::string_view name) {
    return name.size() == 12 && name.starts_with(kTempPrefix) &&
           name.find_first_not_of(kTempChars, 6) == std::string_view::npos;
}

// Removes the temporary files in the folder dirFd that saves killed half way
// left behind. A save holds an flock on its temporary file from creating it
// to renaming or removing it, so one that can be locked here has no writer;
// and one written to within the last minute is left alone in any case (a
// save locks its file a moment after creating it).
void RemoveStaleTemps(int dirFd) {
    struct stat folder;
    if (::fstat(dirFd, &folder) != 0)
        return;
    const time_t now = ::time(nullptr);
    {
        static std::mutex mutex;
        static std::map<std::pair<dev_t, ino_t>, time_t> searched;
        std::lock_guard lock(mutex);
        time_t& last = searched[{folder.st_dev, folder.st_ino}];
        if (last && now - last < STALE_SEARCH_INTERVAL)
            return;
        last = now;
    }
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        struct stat info;
        if (!IsTempName(name) || ::fstatat(dirFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || (info.st_uid != me && me != 0) ||
            now - info.st_mtime < STALE_TEMP_SECONDS)
            continue;
        const int fd =
            ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held, again;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            ::fstatat(dirFd, name, &again, AT_SYMLINK_NOFOLLOW) == 0 &&
            held.st_dev == again.st_dev && held.st_ino == again.st_ino)
            ::unlinkat(dirFd, name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Creates a new file with a short random name in the folder dirFd.
int CreateTemp(int dirFd, char (&name)[16], mode_t mode) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
            for (size_t i = 0; i < sizeof random; ++i)
                random[i] = static_cast<unsigned char>((now >> (8 * i)) ^ (attempt * 31 + i));
        }
        std::memcpy(name, kTempPrefix, 6);
        for (size_t i = 0; i < sizeof random; ++i)
            name[6 + i] = kTempChars[random[i] % (sizeof kTempChars - 1)];
        name[12] = '\0';
        const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The save routine of every path. expected: the file a locked read-modify-write
// read, which must still be the one there.
int SaveBytes(const std::string& path, std::string_view bytes, FileSync sync,
              const PageFileId* expected, std::string& error, bool followLinks = true) {
    IgnoreFileSizeSignal();
    Target target;
    if (!ResolveTarget(path, target, error, followLinks))
        return 0;
    const std::string full = target.dir + (target.dir == "/" ? "" : "/") + target.name;
    // A link that is to be replaced is no file to take owner and mode from.
    if (target.exists && S_ISLNK(target.info.st_mode))
        target.exists = false;
    if (target.exists) {
        error = Refusal(target, full);
        if (!error.empty())
            return 0;
    }
    if (expected && (!target.exists || target.info.st_dev != expected->device ||
                     target.info.st_ino != expected->inode)) {
        error = "the file was replaced or removed by another program meanwhile; not saved";
        return 0;
    }

    Fd dir(::open(target.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) {
        error = ErrnoText(errno);
        return 0;
    }
    char temp[16];
    // Private until it takes the original's mode; a new file gets the usual
    // mode through the umask.
    Fd file(CreateTemp(dir.get(), temp, target.exists ? 0600 : 0666));
    if (file.get() < 0) {
        error = "cannot create a temporary file in the folder: " + ErrnoText(errno);
        return 0;
    }
    // Locked until it is renamed or removed (through a second descriptor,
    // so that the first can be closed, and its result checked, before the
    // rename): no other save takes it for one left over.
    ::flock(file.get(), LOCK_EX | LOCK_NB);
    const Fd held(::dup(file.get()));
    const int slot = RegisterTemp(dir.get(), temp);
    int failure = 0;
    if (target.exists) {
        const struct stat& st = target.info;
        // The owner as far as the system permits (all of it as root, the group
        // where we belong to it); the mode after that, as a change of owner
        // clears the set-id bits.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            if (::fchown(file.get(), st.st_uid, st.st_gid) != 0 &&
                ::fchown(file.get(), static_cast<uid_t>(-1), st.st_gid) != 0) {
                // Not permitted: the file becomes ours, as with any save.
            }
        }
        if (::fchmod(file.get(), st.st_mode & 07777) != 0)
            failure = errno;
    }
    if (!failure && !WriteAllBytes(file.get(), bytes))
        failure = errno;
    if (!failure && sync == FileSync::TO_DISK && ::fsync(file.get()) != 0)
        failure = errno;
    if (file.Close() != 0 && !failure)
        failure = errno;
    if (!failure && ::renameat(dir.get(), temp, dir.get(), target.name.c_str()) != 0)
        failure = errno;
    if (failure) {
        ::unlinkat(dir.get(), temp, 0);
        UnregisterTemp(slot);
        error = ErrnoText(failure);
        return 0;
    }
    UnregisterTemp(slot);
    RemoveStaleTemps(dir.get());
    // The new name must reach the disk too before the save counts as done.
    if (sync == FileSync::TO_DISK && ::fsync(dir.get()) != 0) {
        error = "the file was replaced, but the folder could not be written to the disk: " +
                ErrnoText(errno);
        return 0;
    }
    return 1;
}

} // namespace

bool WriteAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// --- File names ----------------------------------------------------------------------

std::string FileNameBytes(const QString& name) {
    std::string out;
    out.reserve(static_cast<size_t>(name.size()));
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            out += QStringView(name).mid(runStart, end - runStart).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name.at(i).unicode();
        const bool escaped = unit >= 0xDC80 && unit <= 0xDCFF &&
                             (i == 0 || !QChar::isHighSurrogate(name.at(i - 1).unicode()));
        if (!escaped)
            continue;
        flush(i);
        out += static_cast<char>(unit - 0xDC00);
        runStart = i + 1;
    }
    flush(name.size());
    return out;
}

QString FileNameFromBytes(std::string_view bytes) {
    QString out;
    size_t runStart = 0;
    const auto flush = [&](size_t end) {
        if (end > runStart)
            out +=
                QString::fromUtf8(bytes.data() + runStart, static_cast<qsizetype>(end - runStart));
    };
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = Utf8SequenceLength(bytes, i);
        if (len > 0) {
            i += len;
            continue;
        }
        flush(i);
        out += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i])));
        runStart = ++i;
    }
    flush(bytes.size());
    return out;
}

// --- Reading and saving --------------------------------------------------------------

int LoadTextFile(const QString& path, std::string& text, QString& error, PageFileForm* form) {
    std::string reason;
    if (!ReadPageFile(FileNameBytes(path), text, reason, nullptr, form)) {
        error = ToQString(reason);
        return 0;
    }
    error.clear();
    return 1;
}

int SaveTextFile(const QString& path, std::string_view text, QString& error, FileSync sync,
                 PageFileForm form) {
    std::string bytes;
    if (!PageTextToFile(text, form, bytes)) {
        error = QStringLiteral("The text cannot be written as UTF-16: it is not valid UTF-8");
        return 0;
    }
    const std::string file = FileNameBytes(path);
    struct stat info;
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        // Nothing there to lock (a new file), or nothing that may be written.
        std::string reason;
        const int ok = SaveBytes(file, bytes, sync, nullptr, reason);
        error = ok ? QString() : ToQString(reason);
        return ok;
    }
    // While it is written the file is locked, so that no program that locks
    // it too reads it half way through a read-modify-write of its own.
    CLockedTextFile locked;
    return locked.Lock(path, error, 10000) && locked.Save(bytes, error, sync);
}

int ReplaceLinkWithTextFile(const QString& path, std::string_view bytes, QString& error) {
    std::string reason;
    const int ok = SaveBytes(FileNameBytes(path), bytes, FileSync::TO_DISK, nullptr, reason, false);
    error = ok ? QString() : ToQString(reason);
    return ok;
}

// --- Locked read-modify-write --------------------------------------------------------------

CLockedTextFile::~CLockedTextFile() {
    Close();
}

void CLockedTextFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
    m_fd = -1;
}

int CLockedTextFile::LockPath(const std::string& path, std::string& error, int waitMs) {
    Close();
    m_path = path;
    const auto start = std::chrono::steady_clock::now();
    // A program that saved meanwhile replaced the file that was opened: then
    // the lock is taken again on the file that is there now.
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) {
            error = ErrnoText(errno);
            return 0;
        }
        if (S_ISDIR(info.st_mode) || !S_ISREG(info.st_mode)) {
            error = S_ISDIR(info.st_mode) ? ErrnoText(EISDIR) : kNotRegularFile;
            return 0;
        }
        m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0) {
            error = ErrnoText(errno);
            return 0;
        }
        auto pause = std::chrono::milliseconds(1);
        while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                break; // no locks here (some network file systems): go on without
            if (InterruptSignal()) {
                error = "interrupted while waiting for another program's lock on the file";
                Close();
                return 0;
            }
            const auto waited = std::chrono::steady_clock::now() - start;
            if (waitMs >= 0 && waited > std::chrono::milliseconds(waitMs)) {
                error = "the file is locked by another program";
                Close();
                return 0;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds(50));
        }
        struct stat opened, now;
        if (::fstat(m_fd, &opened) != 0) {
            error = ErrnoText(errno);
            Close();
            return 0;
        }
        if (::stat(path.c_str(), &now) == 0 && now.st_dev == opened.st_dev &&
            now.st_ino == opened.st_ino) {
            m_id = {static_cast<unsigned long long>(opened.st_dev),
                    static_cast<unsigned long long>(opened.st_ino)};
            return 1;
        }
        Close();
    }
    error = "the file keeps being replaced by another program";
    return 0;
}

int CLockedTextFile::Open(const QString& path, std::string& text, QString& error, int waitMs) {
    text.clear();
    std::string reason;
    m_form = PageFileForm::BYTES;
    if (!LockPath(FileNameBytes(path), reason, waitMs) ||
        !ReadPageFd(m_fd, text, reason, &m_id, &m_form)) {
        Close();
        error = ToQString(reason);
        return 0;
    }
    error.clear();
    return 1;
}

int CLockedTextFile::OpenBytes(const QString& path, std::string& bytes, QString& error,
                               int waitMs) {
    bytes.clear();
    std::string reason;
    if (!LockPath(FileNameBytes(path), reason, waitMs)) {
        error = ToQString(reason);
        return 0;
    }
    try {
        struct stat info;
        if (::fstat(m_fd, &info) != 0) {
            reason = ErrnoText(errno);
        } else {
            bytes.reserve(static_cast<size_t>(info.st_size));
            char buffer[65536];
            for (;;) {
                const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0)
                    reason = ErrnoText(errno);
                if (got <= 0)
                    break;
                bytes.append(buffer, static_cast<size_t>(got));
                if (bytes.size() > static_cast<size_t>(INT_MAX)) {
                    reason = kFileTooLarge;
                    break;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        reason = ErrnoText(ENOMEM);
    }
    if (!reason.empty()) {
        bytes.clear();
        Close();
        error = ToQString(reason);
        return 0;
    }
    error.clear();
    return 1;
}

int CLockedTextFile::Lock(const QString& path, QString& error, int waitMs) {
    std::string reason;
    if (!LockPath(FileNameBytes(path), reason, waitMs)) {
        error = ToQString(reason);
        return 0;
    }
    error.clear();
    return 1;
}

int CLockedTextFile::Save(std::string_view text, QString& error, FileSync sync) {
    std::string reason;
    if (m_fd < 0) {
        error = QStringLiteral("the file is not open");
        return 0;
    }
    std::string encoded;
    if (m_form != PageFileForm::BYTES && !PageTextToFile(text, m_form, encoded)) {
        error = QStringLiteral("The text cannot be written as UTF-16: it is not valid UTF-8");
        return 0;
    }
    const std::string_view bytes = m_form == PageFileForm::BYTES ? text : encoded;
    if (!SaveBytes(m_path, bytes, sync, &m_id, reason)) {
        error = ToQString(reason);
        return 0;
    }
    error.clear();
    return 1;
}

// --- Interrupts --------------------------------------------------------------------------

void InstallInterruptHandling() {
    IgnoreFileSizeSignal();
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int InterruptSignal() {
    return g_interrupt.load();
}

void ExitForInterrupt() {
    const int signo = g_interrupt.load();
    ::signal(signo ? signo : SIGTERM, SIG_DFL);
    ::raise(signo ? signo : SIGTERM);
    std::_Exit(128 + (signo ? signo : SIGTERM));
}
