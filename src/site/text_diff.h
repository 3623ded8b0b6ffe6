// What changed between two versions of a page: unified diffs for people and
// patch tools, and the changed byte ranges that an undo journal keeps.
//
// Pages change only in a few tags, so both start from the common beginning
// and end of the two texts and compare lines only in between (Myers' diff),
// falling back to one block when the middle differs too much to be worth it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One changed range: newLength bytes at newOffset of the new text were
// oldBytes in the old text.
struct CByteRange {
    size_t newOffset = 0;
    size_t newLength = 0;
    std::string oldBytes;
    bool operator==(const CByteRange&) const = default;
};

// The ranges that turn newText back into oldText, in text order, as few and as
// short as the line comparison finds.
std::vector<CByteRange> ChangedRanges(std::string_view oldText, std::string_view newText);
// oldText rebuilt from newText and the ranges ChangedRanges gave. Returns
// false when the ranges do not fit newText (out of order or past its end).
bool RestoreRanges(std::string_view newText, const std::vector<CByteRange>& ranges,
                   std::string& oldText);

// A page's path as a diff names it, for the folder cwd (an absolute path, as
// bytes): relative to cwd when the page is inside it, with "." and ".." and
// repeated slashes resolved as written ("./site//a.html" is "site/a.html");
// a page outside cwd by its absolute path without the leading "/", as git
// names such files ("/srv/www/a.html" is "srv/www/a.html").
std::string DiffPath(std::string_view path, std::string_view cwd);
// A path as the file name of a diff header: prefix + path, in double quotes
// with C escapes (as git writes and reads them) when it holds spaces, quotes,
// backslashes, control characters or bytes outside ASCII.
std::string DiffFileName(std::string_view prefix, std::string_view path);
// The unified diff ("diff -u" format, three lines of context) that turns
// oldText into newText, with the header lines "--- oldName" and "+++ newName"
// (names as DiffFileName gives them); "" when the texts are equal. A last
// line without a line break is marked "\ No newline at end of file".
std::string UnifiedDiff(std::string_view oldText, std::string_view newText,
                        std::string_view oldName, std::string_view newName, int context = 3);
