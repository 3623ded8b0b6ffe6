// Reading and writing CSV tables (RFC 4180) as byte strings.
//
// Writing: every field is quoted, so that a spreadsheet told to take quoted
// fields as text ("Format quoted field as text" in LibreOffice Calc) keeps
// every value as it stands ("0012", "March 5"); and a value that a
// spreadsheet would take for a formula (starting with "=", "+", "-", "@", a
// tab or a carriage return) gets an apostrophe in front, which CsvCellValue
// removes again. Rows end with CRLF.
// Reading: what spreadsheet programs save is taken too: a UTF-8 byte-order
// mark at the start, rows ending with CRLF, LF or CR, quoted fields holding
// separators, doubled quotes and line breaks (kept as they are), and a
// semicolon or tab as the separator. Every record carries the line its row
// starts on, for messages. A table is read as a stream, a row at a time.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// One field as written into a CSV row.
std::string CsvField(std::string_view cell, char separator = ',');
// Appends the cells as one row, ended with CRLF.
void AppendCsvRow(std::string& out, const std::vector<std::string>& cells, char separator = ',');
// The value a cell of a table written by CsvField stands for: without the
// apostrophe that kept a spreadsheet from reading a formula. Every other cell
// is its value as it stands.
std::string CsvCellValue(std::string cell);

struct CCsvRecord {
    int line = 0; // where the row starts, from 1
    std::vector<std::string> cells;
    // Why the row could not be read ("" when it was): a quote inside an
    // unquoted field, text after a closing quote, a quoted field never closed.
    std::string error;
};

// A table read a row at a time from a source of bytes.
class CCsvStream {
public:
    // read: fills the buffer with up to size bytes and returns how many (0 at
    // the end; -1 on an error, with errno set). separator: 0 to take it from
    // the header row (see DetectSeparator).
    explicit CCsvStream(std::function<ssize_t(char* buffer, size_t size)> read, char separator = 0);
    // The next record (empty lines are skipped). A malformed row gives a
    // record with error set and the reading goes on at the next line; a
    // quoted field that is never closed ends the table. Returns false at the
    // end of the table, or when the source failed (then ReadError is set).
    bool Next(CCsvRecord& record);
    // The errno of a failed read, or 0.
    int ReadError() const { return m_readError; }
    char Separator() const { return m_separator; }

private:
    // Makes at least n bytes from the read position available when the
    // source has them; returns whether it has.
    bool Have(size_t n);
    char At(size_t k) const { return m_buffer[m_pos + k]; }

    std::function<ssize_t(char*, size_t)> m_read;
    std::string m_buffer;
    size_t m_pos = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_ended = false;
    int m_readError = 0;
    int m_line = 1;
    char m_separator;
};

class CCsvReader {
public:
    // The separator of a table whose header row is given: the character after
    // its first field when that is a semicolon or a tab (as spreadsheets save
    // in some languages), else a comma.
    static char DetectSeparator(std::string_view text);
    // The text without a UTF-8 byte-order mark at its start.
    static std::string_view SkipByteOrderMark(std::string_view text);
    // Every record of text, as CCsvStream reads them.
    static std::vector<CCsvRecord> Read(std::string_view text, char separator = ',');
};
