#include "site/table_import.h"

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "document/text_file.h"
#include "page/html_page.h"
#include "site/csv_table.h"
#include "site/page_walk.h"
#include "site/site_page.h"

namespace {

// Rows imported at a time: the table is read in such slices, so that only
// a slice of it is in memory at once.
constexpr size_t SLICE_ROWS = 1024;

std::string Real(const std::string& path) {
    std::string out;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        out = real;
        std::free(real);
    }
    return out;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The first control character of bytes (but tab, carriage return and line
// feed), as "U+0001", or "".
std::string ControlByte(const std::string& bytes) {
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7F) {
            char text[8];
            std::snprintf(text, sizeof text, "U+%04X", u);
            return text;
        }
    }
    return {};
}

// A path for a message: control characters as "?".
std::string Printable(std::string path) {
    for (char& c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            c = '?';
    }
    return path;
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

struct CTableImport::Data {
    int fd = -1;
    std::string file;
    CImportOptions options;
    std::string rootReal;
    CSiteColumns columns;
    char separator = 0;
    struct stat tableInfo {};
    // One per page the usable rows name.
    struct Page {
        std::string openPath; // the path as opened: the root's, for a relative one
        PageFileId id;
        int firstLine = 0;
        std::string named; // as the first row names it
        int rows = 0;
    };
    std::vector<Page> pages;
    // The usable rows, in table order: their lines and pages.
    std::vector<std::pair<int, size_t>> rows;
    size_t usable = 0;

    ~Data() {
        if (fd >= 0)
            ::close(fd);
    }
    CCsvStream Stream() {
        ::lseek(fd, 0, SEEK_SET);
        const int in = fd;
        return CCsvStream([in](char* buffer, size_t size) { return ::read(in, buffer, size); },
                          separator);
    }
    // Why the row's page is not taken, or "" with page filled in.
    std::string Place(const std::string& path, Page& page) const;
};

std::string CTableImport::Data::Place(const std::string& path, Page& page) const {
    const std::string control = ControlByte(path);
    if (!control.empty())
        return "the path holds the control character " + control;
    const std::string name = BaseName(path);
    if (name.ends_with(".mtpl"))
        return "is a template; templates are not changed";
    if (!CPageWalker::IsBatchPageName(name, options.fileTypes))
        return "not a page (its name does not end in one of the file types " + options.fileTypes +
               "); not changed";
    page.openPath =
        path.starts_with('/') || options.root.empty() ? path : options.root + "/" + path;
    const std::string real = Real(page.openPath);
    if (real.empty())
        return std::strerror(errno);
    const std::string realName = BaseName(real);
    if (realName.ends_with(".mtpl") || !CPageWalker::IsBatchPageName(realName, options.fileTypes))
        return "leads to " + real + ", which is not a page; not changed";
    if (!(rootReal == "/" || real.starts_with(rootReal + "/")))
        return "not in the folder " + rootReal + " (--root DIR names another); not changed";
    struct stat info;
    if (::stat(real.c_str(), &info) != 0)
        return std::strerror(errno);
    if (!S_ISREG(info.st_mode))
        return kNotRegularFile;
    page.id = {static_cast<unsigned long long>(info.st_dev),
               static_cast<unsigned long long>(info.st_ino)};
    return {};
}

CTableImport::CTableImport() : m_data(std::make_unique<Data>()) {}
CTableImport::~CTableImport() = default;

const CSiteColumns& CTableImport::Columns() const {
    return m_data->columns;
}

size_t CTableImport::Rows() const {
    return m_data->usable;
}

bool CTableImport::Open(const std::string& file, const CImportOptions& options, std::string& error,
                        int& errorLine) {
    Data& d = *m_data;
    errorLine = 0;
    d.options = options;
    d.file = file;
    const std::string root = options.root.empty() ? "." : options.root;
    d.rootReal = Real(root);
    if (d.rootReal.empty() || !IsDirectory(d.rootReal)) {
        error = "the root folder " + root + ": " +
                (d.rootReal.empty() ? std::strerror(errno) : std::strerror(ENOTDIR));
        return false;
    }
    d.fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (d.fd < 0 || ::fstat(d.fd, &d.tableInfo) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(d.tableInfo.st_mode)) {
        error = S_ISDIR(d.tableInfo.st_mode) ? std::strerror(EISDIR) : kNotRegularFile;
        return false;
    }
    CCsvStream stream = d.Stream();
    CCsvRecord header;
    if (!stream.Next(header)) {
        error = stream.ReadError() ? std::strerror(stream.ReadError())
                                   : "the table is empty (no header row)";
        return false;
    }
    d.separator = stream.Separator();
    errorLine = header.line;
    if (!header.error.empty()) {
        error = header.error;
        return false;
    }
    for (std::string& cell : header.cells) {
        cell = CsvCellValue(std::move(cell));
        const std::string control = ControlByte(cell);
        if (!control.empty()) {
            error = "a header cell holds the control character " + control;
            return false;
        }
    }
    QString why;
    if (!d.columns.ReadHeader(header.cells, why)) {
        error = why.toStdString();
        return false;
    }
    errorLine = 0;
    return true;
}

bool CTableImport::Check(const std::function<void(const CImportProblem&)>& problem,
                         std::string& error) {
    Data& d = *m_data;
    CCsvStream stream = d.Stream();
    CCsvRecord record;
    stream.Next(record); // the header
    const size_t width = d.columns.Columns().size();
    const size_t pathColumn = static_cast<size_t>(d.columns.PathColumn());
    std::unordered_map<std::string, size_t> byKey;
    std::string lastPath, lastWhy;
    Data::Page lastPage;
    d.pages.clear();
    d.rows.clear();
    while (stream.Next(record)) {
        const auto complain = [&](const std::string& message) { problem({record.line, message}); };
        if (!record.error.empty()) {
            complain("malformed row: " + record.error);
            continue;
        }
        if (record.cells.size() != width) {
            complain(std::to_string(record.cells.size()) + " fields, but the header has " +
                     std::to_string(width) + "; row not used");
            continue;
        }
        bool utf8 = true;
        for (size_t c = 0; c < width; ++c) {
            if (c != pathColumn && !QByteArray::fromStdString(record.cells[c]).isValidUtf8())
                utf8 = false;
        }
        if (!utf8) {
            complain("the values are not UTF-8 text (save the table as CSV in UTF-8); row not "
                     "used");
            continue;
        }
        const std::string path = CsvCellValue(std::move(record.cells[pathColumn]));
        if (path.empty()) {
            complain("no path; row not used");
            continue;
        }
        // A path named again on the next row is not looked up again.
        Data::Page page;
        if (path != lastPath) {
            lastPath = path;
            lastWhy = d.Place(path, lastPage);
        }
        page = lastPage;
        const std::string& why = lastWhy;
        if (!why.empty()) {
            complain(Printable(path) + ": " + why + "; row not used");
            continue;
        }
        const std::string key =
            std::to_string(page.id.device) + ":" + std::to_string(page.id.inode);
        const auto [it, added] = byKey.emplace(key, d.pages.size());
        if (added) {
            page.firstLine = record.line;
            page.named = path;
            d.pages.push_back(std::move(page));
        }
        ++d.pages[it->second].rows;
        d.rows.push_back({record.line, it->second});
    }
    if (stream.ReadError()) {
        error = std::strerror(stream.ReadError());
        return false;
    }
    // Each page named twice or more: once, at its first line.
    d.usable = 0;
    for (const Data::Page& page : d.pages) {
        if (page.rows == 1) {
            ++d.usable;
            continue;
        }
        problem({page.firstLine, page.named + ": the page is named on " +
                                     std::to_string(page.rows) + " rows (the first on line " +
                                     std::to_string(page.firstLine) + "); none of them is used"});
    }
    return true;
}

bool CTableImport::Run(const PageWriteOptions& write, const CRunControl& control,
                       const std::function<void(const CImportResult&)>& result, size_t& notDone,
                       std::string& error) {
    Data& d = *m_data;
    notDone = 0;
    struct stat now;
    if (::fstat(d.fd, &now) != 0 || now.st_size != d.tableInfo.st_size ||
        now.st_mtim.tv_sec != d.tableInfo.st_mtim.tv_sec ||
        now.st_mtim.tv_nsec != d.tableInfo.st_mtim.tv_nsec) {
        error = "the table was changed while it was read; nothing was imported";
        return false;
    }
    CCsvStream stream = d.Stream();
    CCsvRecord record;
    stream.Next(record); // the header
    const size_t pathColumn = static_cast<size_t>(d.columns.PathColumn());
    const int fingerprint = d.columns.FingerprintColumn();
    struct Row {
        int line;
        const Data::Page* page;
        std::string path;
        std::vector<std::string> cells;
        CImportResult result;
    };
    std::vector<Row> slice;
    size_t next = 0; // in d.rows
    bool stopped = false;
    const auto importRow = [&](Row& row) {
        CImportResult& out = row.result;
        out.line = row.line;
        out.path = row.path;
        const PageEditor edit = [&](CHtmlPage& page, const std::string& text, std::string& detail) {
            CPageValues values;
            values.Read(text, page, d.columns.MetaNames());
            if (fingerprint >= 0) {
                const std::string& expected = row.cells[static_cast<size_t>(fingerprint)];
                if (!expected.empty() && QByteArray::fromStdString(expected).trimmed().toLower() !=
                                             QByteArray::fromStdString(values.fingerprint)) {
                    detail = "the page changed since the table was made; not changed";
                    return PageOutcome::CONFLICT;
                }
            }
            QStringList changed;
            QString why;
            if (!ImportRow(page, values, d.columns, row.cells, changed, why)) {
                detail = FileNameBytes(why) + "; nothing was written";
                return PageOutcome::FAILED;
            }
            detail = FileNameBytes(changed.join(", "));
            return changed.isEmpty() ? PageOutcome::UNCHANGED : PageOutcome::CHANGED;
        };
        // Checked again now: the file that is there now is the one written,
        // and it must still be a page under the root.
        Data::Page now;
        const std::string why = d.Place(row.path, now);
        if (!why.empty()) {
            out.outcome = PageOutcome::FAILED;
            out.detail = why;
            return;
        }
        CPageEdit edited = EditPage(now.openPath, write, edit, &now.id);
        out.outcome = edited.outcome;
        out.detail = std::move(edited.detail);
        out.diff = std::move(edited.diff);
    };
    const auto runSlice = [&] {
        notDone += RunInOrder(
            slice.size(), [&](size_t i) { importRow(slice[i]); },
            [&](size_t i) { result(slice[i].result); }, control);
        stopped = stopped || control.StopRequested();
        slice.clear();
    };
    while (!stopped && next < d.rows.size() && stream.Next(record)) {
        if (record.line != d.rows[next].first)
            continue;
        const Data::Page& page = d.pages[d.rows[next].second];
        ++next;
        if (page.rows != 1)
            continue;
        Row row{record.line, &page, {}, std::move(record.cells), {}};
        for (std::string& cell : row.cells)
            cell = CsvCellValue(std::move(cell));
        row.path = row.cells[pathColumn];
        slice.push_back(std::move(row));
        if (slice.size() == SLICE_ROWS)
            runSlice();
    }
    if (!slice.empty())
        runSlice();
    if (stopped) {
        for (; next < d.rows.size(); ++next)
            notDone += d.pages[d.rows[next].second].rows == 1;
    }
    if (stream.ReadError()) {
        error = std::strerror(stream.ReadError());
        return false;
    }
    return true;
}
