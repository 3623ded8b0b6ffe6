// The common-words list: words the keyword suggestion never offers.
//
// The file "common_words.txt" holds one word per line (a line of several words
// separated by single spaces excludes each of them). It is read into one
// string: a space, then each line as it stands (not trimmed, not lower-cased)
// followed by one space. Only lower-case entries can match, since the words
// of a page are lower-cased before the look-up.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// The common-words string for the bytes of a file: " " + each line + " ".
// Lines end at "\n" or "\r\n"; a last line without a line end counts too.
std::string BuildCommonWords(std::string_view fileText);

// Reads the common-words file at path into commonWords. Returns 1 on success;
// otherwise 0 with commonWords "" and error set to the reason.
int LoadCommonWordsFile(const QString& path, std::string& commonWords, QString& error);

// The common-words file of this installation: "common_words.txt" beside the
// executable, else in the installed data folder. "" (no word excluded) when
// neither can be read; that is not an error.
std::string LoadCommonWords();
