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

int ReadOpenFile(int fd, std::string& text, std::string& error, PageFileId* id,
                 PageFileForm* form) {
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
    PageFileForm read = PageFileForm::BYTES;
    if (text.size() >= 2 && (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))) {
        read = text[0] == '\xFE' ? PageFileForm::UTF16BE : PageFileForm::UTF16LE;
        std::string utf8;
        if (!Utf16ToPageText(text, read == PageFileForm::UTF16BE, utf8))
            return Fail(text, error, kOddUtf16);
        text = std::move(utf8);
    }
    if (std::memchr(text.data(), '\0', std::min(text.size(), BINARY_SNIFF_SIZE)) != nullptr)
        return Fail(text, error, kNotTextFile);
    if (form)
        *form = read;
    if (id)
        *id = {static_cast<unsigned long long>(info.st_dev),
               static_cast<unsigned long long>(info.st_ino)};
    return 1;
}

} // namespace

int ReadPageFd(int fd, std::string& text, std::string& error, PageFileId* id, PageFileForm* form) {
    text.clear();
    error.clear();
    try {
        return ReadOpenFile(fd, text, error, id, form);
    } catch (const std::bad_alloc&) {
        return Fail(text, error, std::strerror(ENOMEM));
    }
}

int ReadPageFile(const std::string& path, std::string& text, std::string& error, PageFileId* id,
                 PageFileForm* form) {
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
    return ReadPageFd(fd.get(), text, error, id, form);
}

bool Utf16ToPageText(std::string_view bytes, bool bigEndian, std::string& text) {
    if (bytes.size() % 2 != 0)
        return false;
    text.clear();
    text.reserve(bytes.size() + bytes.size() / 2);
    const auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    const auto put = [&](char32_t c, int length) {
        static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        char out[4];
        for (int k = length - 1; k > 0; --k) {
            out[k] = static_cast<char>(0x80 | (c & 0x3F));
            c >>= 6;
        }
        out[0] = static_cast<char>(kLead[length] | c);
        text.append(out, static_cast<size_t>(length));
    };
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), 4);
                i += 2;
                continue;
            }
        }
        put(u, u < 0x80 ? 1 : u < 0x800 ? 2 : 3);
    }
    return true;
}

bool PageTextToFile(std::string_view text, PageFileForm form, std::string& bytes) {
    if (form == PageFileForm::BYTES) {
        bytes.assign(text);
        return true;
    }
    std::string out;
    out.reserve(text.size() * 2);
    const auto unit = [&](char32_t u) {
        const auto hi = static_cast<char>(u >> 8);
        const auto lo = static_cast<char>(u & 0xFF);
        out += form == PageFileForm::UTF16BE ? hi : lo;
        out += form == PageFileForm::UTF16BE ? lo : hi;
    };
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = byte(i);
        // UTF-8, and the three-byte forms of lone surrogates that a UTF-16
        // file was read with.
        size_t length;
        char32_t code;
        if (c < 0x80) {
            length = 1;
            code = c;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80)
                return false;
            code = code << 6 | (byte(i + k) & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kMin[length] || code > 0x10FFFF)
            return false;
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
        i += length;
    }
    bytes = std::move(out);
    return true;
}
