// Reading and writing CSV tables (RFC 4180) as byte strings.
//
// Writing: fields are quoted when they hold the separator, a quote, a line
// break or spaces at either end; rows end with CRLF.
// Reading: what spreadsheet programs save is taken too: a UTF-8 byte-order
// mark at the start, rows ending with CRLF, LF or CR, quoted fields holding
// separators, doubled quotes and line breaks (kept as they are), and a
// semicolon or tab as the separator when the caller asks for it. Every record
// carries the line its row starts on, for messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One field as written into a CSV row.
std::string CsvField(std::string_view cell, char separator = ',');
// Appends the cells as one row, ended with CRLF.
void AppendCsvRow(std::string& out, const std::vector<std::string>& cells, char separator = ',');

struct CCsvRecord {
    int line = 0; // where the row starts, from 1
    std::vector<std::string> cells;
    // Why the row could not be read ("" when it was): a quote inside an
    // unquoted field, text after a closing quote, a quoted field never closed.
    std::string error;
};

class CCsvReader {
public:
    // The separator of a table whose header row is given: the character after
    // its first field when that is a semicolon or a tab (as spreadsheets save
    // in some languages), else a comma.
    static char DetectSeparator(std::string_view text);
    // The text without a UTF-8 byte-order mark at its start.
    static std::string_view SkipByteOrderMark(std::string_view text);
    // Splits text (after any byte-order mark) into records. Empty lines are
    // skipped. A malformed row becomes a record with error set and the reading
    // goes on at the next line; a quoted field that is never closed ends the
    // table.
    static std::vector<CCsvRecord> Read(std::string_view text, char separator = ',');
};
