// Reading a page file whole, with a reason when it cannot be read.
#pragma once

#include <string>

// Reads the whole file at path into text, bytes as they are (zero bytes too).
// Returns 1 on success; otherwise 0 with error set to a short reason such as
// "No such file or directory" or "Is a directory".
int ReadPageFile(const std::string& path, std::string& text, std::string& error);
