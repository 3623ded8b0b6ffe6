// Fingerprints of file contents, to tell whether a file changed since it was read.
#pragma once

#include <string>
#include <string_view>

// The SHA-256 of bytes as 64 lower-case hex digits.
std::string PageFingerprint(std::string_view bytes);
// Frees what hashing keeps for the calling thread. A worker calls it before
// it ends: left to the thread's own end, it may come after the program has
// ended, and leak checkers report it.
void EndFingerprintThread();
