// Reading and writing page and template files whole.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Reads the whole file at path. Returns 1 on success; otherwise 0 with error
// set to the reason ("No such file or directory", "Is a directory", ...). A
// file with a zero byte in its first 8000 bytes is refused as not being text.
int LoadTextFile(const QString& path, std::string& text, QString& error);

enum class FileSync {
    // Wait until the new bytes are on the disk before the file is replaced.
    TO_DISK,
    // Leave writing to the disk to the system, for saving many files at once;
    // the replacement is still atomic for every reader and survives a crash
    // of the program.
    LATER,
};

// Replaces the file at path with bytes without ever leaving it half written:
// the bytes go to a temporary file beside it, which takes over the original's
// permissions and is then renamed over it. A symbolic link is saved through to
// its target. Returns 1 on success; otherwise 0 with error set to the reason,
// and the original is untouched.
int SaveTextFile(const QString& path, std::string_view bytes, QString& error,
                 FileSync sync = FileSync::TO_DISK);
