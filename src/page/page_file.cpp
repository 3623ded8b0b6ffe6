#include "page/page_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pages are addressed with 32-bit lengths; nothing near this size is a web page.
constexpr off_t MAX_PAGE_SIZE = 2047LL * 1024 * 1024;

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

} // namespace

int ReadPageFile(const std::string& path, std::string& text, std::string& error) {
    text.clear();
    error.clear();
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = std::strerror(errno);
        return 0;
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0) {
        error = std::strerror(errno);
        return 0;
    }
    if (S_ISDIR(info.st_mode)) {
        error = std::strerror(EISDIR);
        return 0;
    }
    if (S_ISREG(info.st_mode)) {
        if (info.st_size > MAX_PAGE_SIZE) {
            error = "File too large";
            return 0;
        }
        text.reserve(static_cast<size_t>(info.st_size));
    }
    // Read to the end whatever the size said: the file may grow or be a pipe.
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = std::strerror(errno);
            text.clear();
            return 0;
        }
        if (got == 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
        if (text.size() > static_cast<size_t>(MAX_PAGE_SIZE)) {
            error = "File too large";
            text.clear();
            return 0;
        }
    }
    return 1;
}
