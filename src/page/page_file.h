// Reading a page file whole, by the one rule every reader of pages follows:
// the editor's document, templates, and every tsle-cli command.
#pragma once

#include <string>

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

// Reads the whole file at path (bytes, as the system takes them) into text.
// Only a regular file, or a symbolic link to one, is read: a directory gives
// "Is a directory" and anything else (a FIFO, a device, a socket) "not a
// regular file", at once and without blocking. A file of 2 GiB or more is too
// large, and one with a zero byte in its first 8000 bytes (an image, an
// archive, UTF-16 text) is not text; a stray zero byte further on is kept like
// any other byte. Returns 1 on success, with id set when given; otherwise 0
// with text empty and error set to a short reason. Never throws: running out of
// memory gives "Cannot allocate memory".
int ReadPageFile(const std::string& path, std::string& text, std::string& error,
                 PageFileId* id = nullptr);
// The same for a file already open for reading.
int ReadPageFd(int fd, std::string& text, std::string& error, PageFileId* id = nullptr);
