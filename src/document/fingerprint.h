// Fingerprints of file contents, to tell whether a file changed since it was read.
#pragma once

#include <string>
#include <string_view>

// The SHA-256 of bytes as 64 lower-case hex digits.
std::string PageFingerprint(std::string_view bytes);
