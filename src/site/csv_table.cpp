#include "site/csv_table.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t READ_CHUNK = 64 * 1024;

// Whether a spreadsheet would read the cell as a formula (or drop its first
// character), after any apostrophes written before it.
bool StartsLikeAFormula(std::string_view cell) {
    const size_t i = cell.find_first_not_of('\'');
    return i != std::string_view::npos && std::strchr("=+-@\t\r", cell[i]) && cell[i] != '\0';
}

} // namespace

std::string CsvField(std::string_view cell, char /*separator*/) {
    std::string out = "\"";
    // The apostrophe goes before any apostrophes the value has of its own, so
    // that taking one away gives the value back.
    if (StartsLikeAFormula(cell))
        out += '\'';
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

std::string CsvCellValue(std::string cell) {
    if (cell.starts_with('\'') && StartsLikeAFormula(cell))
        cell.erase(0, 1);
    return cell;
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
    CCsvStream stream(
        [&text](char* buffer, size_t size) {
            const size_t n = std::min(size, text.size());
            std::memcpy(buffer, text.data(), n);
            text.remove_prefix(n);
            return static_cast<ssize_t>(n);
        },
        separator);
    std::vector<CCsvRecord> records;
    CCsvRecord record;
    while (stream.Next(record))
        records.push_back(std::move(record));
    return records;
}

CCsvStream::CCsvStream(std::function<ssize_t(char*, size_t)> read, char separator)
    : m_read(std::move(read)), m_separator(separator) {}

bool CCsvStream::Have(size_t n) {
    while (m_buffer.size() - m_pos < n && !m_eof) {
        // Drop what was read, then append a chunk.
        if (m_pos > 0 && m_pos >= m_buffer.size() / 2) {
            m_buffer.erase(0, m_pos);
            m_pos = 0;
        }
        const size_t had = m_buffer.size();
        m_buffer.resize(had + READ_CHUNK);
        ssize_t got;
        do
            got = m_read(m_buffer.data() + had, READ_CHUNK);
        while (got < 0 && errno == EINTR);
        m_buffer.resize(had + static_cast<size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0)
            m_readError = errno ? errno : EIO;
        if (got <= 0)
            m_eof = true;
    }
    return m_buffer.size() - m_pos >= n;
}

bool CCsvStream::Next(CCsvRecord& record) {
    record = CCsvRecord();
    if (m_ended)
        return false;
    if (!m_started) {
        m_started = true;
        Have(READ_CHUNK);
        std::string_view head(m_buffer);
        if (head.starts_with("\xEF\xBB\xBF"))
            m_pos = 3;
        if (!m_separator)
            m_separator = CCsvReader::DetectSeparator(head);
    }
    const char sep = m_separator;
    // Steps over a line break at the read position (CRLF, LF or CR).
    const auto lineBreak = [&] {
        if (Have(1) && At(0) == '\r') {
            m_pos += Have(2) && At(1) == '\n' ? 2 : 1;
            return true;
        }
        if (Have(1) && At(0) == '\n') {
            ++m_pos;
            return true;
        }
        return false;
    };
    while (lineBreak())
        ++m_line; // empty lines
    if (!Have(1)) {
        m_ended = true;
        return false;
    }
    record.line = m_line;
    std::string cell;
    for (;;) {
        cell.clear();
        if (At(0) == '"') {
            // A quoted field: up to the quote not doubled.
            ++m_pos;
            bool closed = false;
            while (Have(1)) {
                // The run up to the next quote or line break, at once.
                size_t run = m_pos;
                const size_t end = m_buffer.size();
                while (run < end && m_buffer[run] != '"' && m_buffer[run] != '\r' &&
                       m_buffer[run] != '\n')
                    ++run;
                if (run > m_pos) {
                    cell.append(m_buffer, m_pos, run - m_pos);
                    m_pos = run;
                    continue;
                }
                const char c = At(0);
                if (c == '"') {
                    if (Have(2) && At(1) == '"') {
                        cell += '"';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    closed = true;
                    break;
                }
                if (c == '\n' || (c == '\r' && !(Have(2) && At(1) == '\n')))
                    ++m_line;
                cell += c;
                ++m_pos;
            }
            if (!closed) {
                record.error = "a quoted field is not closed";
                record.cells.push_back(std::move(cell));
                m_ended = true;
                return true;
            }
            if (Have(1) && At(0) != sep && At(0) != '\r' && At(0) != '\n')
                record.error = "text after the closing quote of a field";
        } else {
            while (Have(1) && At(0) != sep && At(0) != '\r' && At(0) != '\n') {
                size_t run = m_pos;
                const size_t end = m_buffer.size();
                while (run < end && m_buffer[run] != sep && m_buffer[run] != '\r' &&
                       m_buffer[run] != '\n' && m_buffer[run] != '"')
                    ++run;
                if (run == m_pos) { // a quote
                    if (record.error.empty())
                        record.error = "a quote inside a field that does not start with one";
                    ++run;
                }
                cell.append(m_buffer, m_pos, run - m_pos);
                m_pos = run;
            }
        }
        if (!record.error.empty()) {
            // Skip the rest of the physical line.
            while (Have(1) && At(0) != '\r' && At(0) != '\n')
                ++m_pos;
        }
        record.cells.push_back(cell);
        if (Have(1) && At(0) == sep && record.error.empty()) {
            ++m_pos;
            if (!Have(1)) {
                record.cells.emplace_back(); // a separator at the very end
                break;
            }
            continue;
        }
        break;
    }
    if (lineBreak())
        ++m_line;
    return true;
}
