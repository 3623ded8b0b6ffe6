#include "page/page_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pages are addressed with 32-bit lengths; nothing near this size is a web page.
constexpr off_t MAX_PAGE_SIZE = 2047LL * 1024 * 1024;
// Like git and grep, a zero byte near the start marks a file that is not text.
constexpr size_t BINARY_SNIFF_SIZE = 8000;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Why a file of this kind is not read, or "" when it is.
const char* KindRefusal(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return std::strerror(EISDIR);
    if (!S_ISREG(info.st_mode))
        return kNotRegularFile;
    if (info.st_size > MAX_PAGE_SIZE)
        return kFileTooLarge;
    return "";
}

int Fail(std::string& text, std::string& error, const char* reason) {
    text.clear();
    text.shrink_to_fit();
    error = reason;
    return 0;
}

int ReadOpenFile(int fd, std::string& text, std::string& error, PageFileId* id) {
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return Fail(text, error, std::strerror(errno));
    if (const char* refusal = KindRefusal(info); *refusal)
        return Fail(text, error, refusal);
    text.reserve(static_cast<size_t>(info.st_size));
    // Read to the end whatever the size said: the file may have grown.
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Fail(text, error, std::strerror(errno));
        }
        if (got == 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
        if (text.size() > static_cast<size_t>(MAX_PAGE_SIZE))
            return Fail(text, error, kFileTooLarge);
    }
    if (std::memchr(text.data(), '\0', std::min(text.size(), BINARY_SNIFF_SIZE)) != nullptr)
        return Fail(text, error, kNotTextFile);
    if (id)
        *id = {static_cast<unsigned long long>(info.st_dev),
               static_cast<unsigned long long>(info.st_ino)};
    return 1;
}

} // namespace

int ReadPageFd(int fd, std::string& text, std::string& error, PageFileId* id) {
    text.clear();
    error.clear();
    try {
        return ReadOpenFile(fd, text, error, id);
    } catch (const std::bad_alloc&) {
        return Fail(text, error, std::strerror(ENOMEM));
    }
}

int ReadPageFile(const std::string& path, std::string& text, std::string& error, PageFileId* id) {
    text.clear();
    error.clear();
    // Refuse what is not a regular file before opening it: opening a FIFO
    // would wait for a writer, and opening a device may do something.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return Fail(text, error, std::strerror(errno));
    if (const char* refusal = KindRefusal(info); *refusal)
        return Fail(text, error, refusal);
    // Non-blocking, in case the file was replaced by a FIFO meanwhile.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return Fail(text, error, std::strerror(errno));
    return ReadPageFd(fd.get(), text, error, id);
}
