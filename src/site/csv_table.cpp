#include "site/csv_table.h"

std::string CsvField(std::string_view cell, char separator) {
    const bool quote =
        cell.find_first_of(std::string{'"', '\r', '\n', separator}) != std::string_view::npos ||
        (!cell.empty() && (cell.front() == ' ' || cell.back() == ' ' || cell.front() == '\t' ||
                           cell.back() == '\t'));
    if (!quote)
        return std::string(cell);
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

void AppendCsvRow(std::string& out, const std::vector<std::string>& cells, char separator) {
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i)
            out += separator;
        out += CsvField(cells[i], separator);
    }
    out += "\r\n";
}

std::string_view CCsvReader::SkipByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

char CCsvReader::DetectSeparator(std::string_view text) {
    text = SkipByteOrderMark(text);
    size_t i = 0;
    if (!text.empty() && text[0] == '"') {
        // A quoted first field: skip to its closing quote.
        for (i = 1; i < text.size(); ++i) {
            if (text[i] == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
        }
    } else {
        while (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != '\t' &&
               text[i] != '\r' && text[i] != '\n')
            ++i;
    }
    if (i < text.size() && (text[i] == ';' || text[i] == '\t'))
        return text[i];
    return ',';
}

std::vector<CCsvRecord> CCsvReader::Read(std::string_view text, char separator) {
    text = SkipByteOrderMark(text);
    std::vector<CCsvRecord> records;
    const size_t n = text.size();
    size_t p = 0;
    int line = 1;
    // Steps over a line break at p (CRLF, LF or CR); returns whether there was one.
    const auto lineBreak = [&](size_t& at) {
        if (at < n && text[at] == '\r') {
            at += at + 1 < n && text[at + 1] == '\n' ? 2 : 1;
            return true;
        }
        if (at < n && text[at] == '\n') {
            ++at;
            return true;
        }
        return false;
    };
    while (p < n) {
        if (lineBreak(p)) {
            ++line; // an empty line
            continue;
        }
        CCsvRecord record;
        record.line = line;
        std::string cell;
        bool rowDone = false;
        while (!rowDone) {
            cell.clear();
            if (p < n && text[p] == '"') {
                // A quoted field: up to the quote not doubled.
                ++p;
                bool closed = false;
                while (p < n) {
                    const char c = text[p];
                    if (c == '"') {
                        if (p + 1 < n && text[p + 1] == '"') {
                            cell += '"';
                            p += 2;
                            continue;
                        }
                        ++p;
                        closed = true;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && !(p + 1 < n && text[p + 1] == '\n')))
                        ++line;
                    cell += c;
                    ++p;
                }
                if (!closed) {
                    record.error = "a quoted field is not closed";
                    record.cells.push_back(std::move(cell));
                    records.push_back(std::move(record));
                    return records;
                }
                if (p < n && text[p] != separator && text[p] != '\r' && text[p] != '\n') {
                    record.error = "text after the closing quote of a field";
                }
            } else {
                while (p < n && text[p] != separator && text[p] != '\r' && text[p] != '\n') {
                    if (text[p] == '"' && record.error.empty())
                        record.error = "a quote inside a field that does not start with one";
                    cell += text[p++];
                }
            }
            if (!record.error.empty()) {
                // Skip the rest of the physical line.
                while (p < n && text[p] != '\r' && text[p] != '\n')
                    ++p;
            }
            record.cells.push_back(cell);
            if (p < n && text[p] == separator && record.error.empty()) {
                ++p;
                continue;
            }
            rowDone = true;
        }
        if (lineBreak(p))
            ++line;
        records.push_back(std::move(record));
    }
    return records;
}
