// Reading a page file whole, by the one rule every reader of pages follows:
// the editor's document, templates, and every tsle-cli command.
#pragma once

#include <string>
#include <string_view>

// Which file was read: its device and inode.
struct PageFileId {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const PageFileId&) const = default;
};

// The reasons a file is not read as a page, besides those of the system
// ("No such file or directory", "Permission denied", ...).
inline constexpr char kNotRegularFile[] = "not a regular file";
inline constexpr char kNotTextFile[] = "Not a text file (it contains zero bytes)";
inline constexpr char kFileTooLarge[] = "File too large";
inline constexpr char kOddUtf16[] = "Not a text file (UTF-16 with an odd number of bytes)";

// How a page file holds its text. The page model reads bytes in which markup
// is ASCII; a UTF-16 file (one that starts with its byte-order mark) is read
// as UTF-8 and has to be written back as UTF-16.
enum class PageFileForm { BYTES, UTF16LE, UTF16BE };

// Reads the whole file at path (bytes, as the system takes them) into text.
// Only a regular file, or a symbolic link to one, is read: a directory gives
// "Is a directory" and anything else (a FIFO, a device, a socket) "not a
// regular file", at once and without blocking. A file of 2 GiB or more is too
// large. A file that starts with a UTF-16 byte-order mark is read as UTF-8
// text that starts with the UTF-8 mark (see Utf16ToPageText) and form, when
// given, tells which; otherwise a file with a zero byte in its first 8000
// bytes (an image, an archive, UTF-16 text without its mark) is not text, and
// a stray zero byte further on is kept like any other byte. Returns 1 on
// success, with id set when given; otherwise 0 with text empty and error set
// to a short reason. Never throws: running out of memory gives "Cannot
// allocate memory".
int ReadPageFile(const std::string& path, std::string& text, std::string& error,
                 PageFileId* id = nullptr, PageFileForm* form = nullptr);
// The same for a file already open for reading.
int ReadPageFd(int fd, std::string& text, std::string& error, PageFileId* id = nullptr,
               PageFileForm* form = nullptr);

// The UTF-8 text of UTF-16 bytes (the file's mark is taken as the character
// U+FEFF, so the text starts with the UTF-8 mark). A surrogate without its
// partner becomes its three-byte form, so that PageTextToFile gives back the
// very bytes. False for an odd number of bytes.
bool Utf16ToPageText(std::string_view bytes, bool bigEndian, std::string& text);
// The bytes a file of that form holds for text. False when the text cannot
// be held (UTF-16 from bytes that are not UTF-8).
bool PageTextToFile(std::string_view text, PageFileForm form, std::string& bytes);
