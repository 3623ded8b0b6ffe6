// Reading and writing page and template files whole.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Reads the whole file at path. Returns 1 on success; otherwise 0 with error
// set to the reason ("No such file or directory", "Is a directory", ...). A
// file holding zero bytes is refused as not being text: the page model would
// write it back mangled.
int LoadTextFile(const QString& path, std::string& text, QString& error);

// Replaces the file at path with bytes without ever leaving it half written:
// the bytes go to a temporary file beside it that is renamed over the original
// (whose permissions it takes over). Returns 1 on success; otherwise 0 with
// error set to the reason, and the original is untouched.
int SaveTextFile(const QString& path, std::string_view bytes, QString& error);
