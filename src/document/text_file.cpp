#include "document/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "page/page_file.h"

namespace {

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

int SaveDurably(const QString& path, std::string_view bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return 0;
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        error = file.errorString();
        file.cancelWriting();
        return 0;
    }
    if (!file.commit()) {
        error = file.errorString();
        return 0;
    }
    return 1;
}

bool WriteAll(int fd, std::string_view bytes) {
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

// The same temporary-file-and-rename as QSaveFile, without its wait for the
// disk: that wait costs more than everything else when thousands of pages are
// saved in one go.
int SaveWithoutWaiting(const QString& path, std::string_view bytes, QString& error) {
    QString resolved = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        resolved = info.canonicalFilePath();
        if (resolved.isEmpty()) {
            error = QStringLiteral("Broken symbolic link");
            return 0;
        }
    }
    const std::string target = QFile::encodeName(resolved).toStdString();
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        error = QStringLiteral("Not a regular file");
        return 0;
    }
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = ErrnoText(errno);
        return 0;
    }
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
        // Keeps the owner where we may (as root); elsewhere the file becomes
        // ours, as with any save, so a failure here is no error.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            [[maybe_unused]] const int chowned = ::fchown(fd, st.st_uid, st.st_gid);
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
    int failure = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        error = ErrnoText(failure);
        return 0;
    }
    return 1;
}

constexpr size_t BINARY_SNIFF_SIZE = 8000;

} // namespace

int LoadTextFile(const QString& path, std::string& text, QString& error) {
    std::string reason;
    if (!ReadPageFile(QFile::encodeName(path).toStdString(), text, reason)) {
        text.clear();
        error = QString::fromLocal8Bit(reason);
        return 0;
    }
    // Like git and grep, a zero byte near the start marks an image, an archive
    // or UTF-16 text, none of which can be edited as a page; a stray zero byte
    // further on is kept like any other byte.
    if (std::memchr(text.data(), '\0', std::min(text.size(), BINARY_SNIFF_SIZE)) != nullptr) {
        text.clear();
        error = QStringLiteral("Not a text file (it contains zero bytes)");
        return 0;
    }
    error.clear();
    return 1;
}

int SaveTextFile(const QString& path, std::string_view bytes, QString& error, FileSync sync) {
    const int ok = sync == FileSync::TO_DISK ? SaveDurably(path, bytes, error)
                                             : SaveWithoutWaiting(path, bytes, error);
    if (ok)
        error.clear();
    return ok;
}
