#include "site/undo_journal.h"
#include "document/fingerprint.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/text_file.h"
#include "page/page_file.h"
#include "settings/profile.h"
#include "site/site_page.h"

namespace {

constexpr char kMagic[] = "tsle-journal 1";

std::string Escape(std::string_view bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '%' || c == ',') {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool Unescape(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        const int hi = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (hi < 0 || lo < 0)
            return false;
        bytes += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

bool IsFingerprint(std::string_view text) {
    return text.size() == 64 &&
           std::all_of(text.begin(), text.end(), [](char c) { return HexValue(c) >= 0; });
}

bool ParseNumber(std::string_view text, size_t& value) {
    if (text.empty() || text.size() > 15)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<size_t>(c - '0');
    }
    return true;
}

std::vector<std::string_view> SplitSpaces(std::string_view line) {
    std::vector<std::string_view> words;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string_view::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

bool ParsePageLine(const std::vector<std::string_view>& words, CJournalEntry& entry) {
    if (words.size() < 4 || !Unescape(words[1], entry.path) || entry.path.empty() ||
        !IsFingerprint(words[2]) || !IsFingerprint(words[3]))
        return false;
    entry.oldFingerprint = words[2];
    entry.newFingerprint = words[3];
    for (size_t i = 4; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const size_t c1 = word.find(',');
        const size_t c2 = c1 == std::string_view::npos ? c1 : word.find(',', c1 + 1);
        CByteRange range;
        if (c2 == std::string_view::npos || !ParseNumber(word.substr(0, c1), range.newOffset) ||
            !ParseNumber(word.substr(c1 + 1, c2 - c1 - 1), range.newLength) ||
            !Unescape(word.substr(c2 + 1), range.oldBytes))
            return false;
        entry.ranges.push_back(std::move(range));
    }
    return true;
}

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Syncs the folder that holds path, so that a new entry in it is on the disk.
bool SyncFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : path.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Makes the folder and those above it that are missing, private to the user
// (journals hold pieces of the pages), each on the disk.
bool MakeFolders(const std::string& path, std::string& error) {
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        error = path + ": " + std::strerror(ENOTDIR);
        return false;
    }
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), error))
        return false;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    SyncFolder(path);
    return true;
}

QString TimeText(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

} // namespace

// --- Entries -------------------------------------------------------------------------

CJournalEntry CJournalEntry::For(std::string path, std::string_view oldText,
                                 std::string_view newText) {
    return {std::move(path), PageFingerprint(oldText), PageFingerprint(newText),
            ChangedRanges(oldText, newText)};
}

CJournalEntry::Undo CJournalEntry::Restore(std::string_view current, std::string& oldText) const {
    const std::string now = PageFingerprint(current);
    if (now == oldFingerprint)
        return Undo::ALREADY;
    if (now != newFingerprint)
        return Undo::CHANGED_SINCE;
    if (!RestoreRanges(current, ranges, oldText) || PageFingerprint(oldText) != oldFingerprint)
        return Undo::DAMAGED;
    return Undo::RESTORE;
}

std::string CJournal::Damage() const {
    std::string why;
    if (!damagedLines.empty()) {
        why = damagedLines.size() == 1 ? "line " : "lines ";
        for (size_t i = 0; i < damagedLines.size() && i < 10; ++i)
            why += (i ? ", " : "") + std::to_string(damagedLines[i]);
        if (damagedLines.size() > 10)
            why += " and " + std::to_string(damagedLines.size() - 10) + " more";
        why += damagedLines.size() == 1 ? " is damaged" : " are damaged";
    }
    if (endCount >= 0 && static_cast<size_t>(endCount) != entries.size()) {
        if (!why.empty())
            why += "; ";
        why += "the end line counts " + std::to_string(endCount) + " pages, but " +
               std::to_string(entries.size()) + " are in the journal";
    }
    return why;
}

std::string CJournal::Resolve(const std::string& path) const {
    if (path.starts_with('/') || folder.empty())
        return path;
    return folder.ends_with('/') ? folder + path : folder + "/" + path;
}

// --- Writing ---------------------------------------------------------------------------

CUndoJournal::~CUndoJournal() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString CUndoJournal::Folder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + "/.local/state";
    return state + "/tsle/journals";
}

int CUndoJournal::CreateInFolder(const QString& command, const QStringList& args, QString& error) {
    const QString folder = Folder();
    std::string reason;
    if (!MakeFolders(FileNameBytes(folder), reason)) {
        error = "cannot make the journal folder " + FileNameFromBytes(reason);
        return 0;
    }
    const QString stem =
        folder + "/" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss-zzz") + "-" + command;
    for (int n = 0; n < 100; ++n) {
        const QString path = stem + (n ? "-" + QString::number(n) : QString()) + ".journal";
        if (Create(path, command, args, error)) {
            m_inFolder = true;
            return 1;
        }
        if (QFileInfo::exists(path))
            continue; // made by another run in the same millisecond
        return 0;
    }
    return 0;
}

int CUndoJournal::Open(const QString& path, bool exclusive, QString& error) {
    const std::string file = FileNameBytes(path);
    m_fd = ::open(file.c_str(),
                  O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | (exclusive ? O_CREAT | O_EXCL : 0),
                  0600);
    if (m_fd < 0) {
        error = path + ": " + ErrnoText(errno);
        return 0;
    }
    m_path = path;
    return 1;
}

int CUndoJournal::Create(const QString& path, const QString& command, const QStringList& args,
                         QString& error) {
    if (!Open(path, true, error))
        return 0;
    std::string header = std::string(kMagic) + "\n";
    header += "created " + TimeText(QDateTime::currentDateTime()).toStdString() + "\n";
    header += "command " + Escape(FileNameBytes(command)) + "\n";
    header += "folder " + Escape(FileNameBytes(QDir::currentPath())) + "\n";
    header += "args";
    for (const QString& arg : args)
        header += " " + Escape(FileNameBytes(arg));
    header += "\n";
    const std::string file = FileNameBytes(path);
    if (!WriteAllBytes(m_fd, header) || ::fsync(m_fd) != 0 || !SyncFolder(file)) {
        error = path + ": " + ErrnoText(errno);
        ::close(m_fd);
        m_fd = -1;
        ::unlink(file.c_str());
        return 0;
    }
    return 1;
}

int CUndoJournal::Add(const CJournalEntry& entry, QString& error) {
    std::string line =
        "page " + Escape(entry.path) + " " + entry.oldFingerprint + " " + entry.newFingerprint;
    for (const CByteRange& range : entry.ranges) {
        line += " " + std::to_string(range.newOffset) + "," + std::to_string(range.newLength) +
                "," + Escape(range.oldBytes);
    }
    line += "\n";
    std::unique_lock lock(m_mutex);
    if (m_fd < 0 || !m_failure.isEmpty()) {
        error = m_failure.isEmpty() ? QStringLiteral("the journal is not open") : m_failure;
        return 0;
    }
    m_pending += line;
    const unsigned long long mine = ++m_added;
    while (m_durable < mine) {
        if (!m_failure.isEmpty()) {
            error = m_failure;
            return 0;
        }
        if (m_flushing) {
            m_synced.wait(lock);
            continue;
        }
        // This thread writes what has gathered, for every thread waiting.
        m_flushing = true;
        std::string batch;
        batch.swap(m_pending);
        const unsigned long long upTo = m_added;
        lock.unlock();
        const bool ok = WriteAllBytes(m_fd, batch) && ::fdatasync(m_fd) == 0;
        const int why = errno;
        lock.lock();
        m_flushing = false;
        if (ok)
            m_durable = upTo;
        else
            m_failure = "the journal " + m_path + " could not be written: " + ErrnoText(why);
        m_synced.notify_all();
    }
    return 1;
}

size_t CUndoJournal::Entries() const {
    std::lock_guard lock(m_mutex);
    return static_cast<size_t>(m_durable);
}

int CUndoJournal::Finish(bool complete, QString& error) {
    if (m_fd < 0)
        return 1;
    const size_t entries = Entries();
    if (m_inFolder && entries == 0) {
        ::close(m_fd);
        m_fd = -1;
        const std::string file = FileNameBytes(m_path);
        ::unlink(file.c_str());
        return 1;
    }
    const std::string line = std::string("end ") + (complete ? "complete " : "interrupted ") +
                             std::to_string(entries) + "\n";
    const bool ok = WriteAllBytes(m_fd, line) && ::fdatasync(m_fd) == 0;
    const int why = errno;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!ok || !closed) {
        error = "the journal " + m_path + " could not be written: " + ErrnoText(ok ? errno : why);
        return 0;
    }
    return 1;
}

// --- Reading ---------------------------------------------------------------------------

int CUndoJournal::Read(const QString& path, CJournal& journal, QString& error) {
    journal = CJournal();
    journal.file = path;
    std::string text, reason;
    if (!ReadPageFile(FileNameBytes(path), text, reason)) {
        error = path + ": " + QString::fromLocal8Bit(reason.c_str());
        return 0;
    }
    if (!text.starts_with(std::string(kMagic) + "\n")) {
        error = path + ": not a tsle-cli journal";
        return 0;
    }
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        ++number;
        if (nl == std::string::npos) {
            // Cut short by a crash while it was written: its page was never
            // changed. After the end line only whole lines are written.
            if (journal.finished || journal.undone)
                journal.damagedLines.push_back(number);
            else
                journal.cutShort = true;
            break;
        }
        const std::string_view line(text.data() + start, nl - start);
        start = nl + 1;
        if (number == 1)
            continue; // the magic line
        const std::vector<std::string_view> words = SplitSpaces(line);
        const std::string_view key = words.front();
        size_t count = 0;
        std::string value;
        const auto first = [&]() { return words.size() > 1 && Unescape(words[1], value); };
        if (key == "page") {
            CJournalEntry entry;
            if (ParsePageLine(words, entry) && !journal.finished)
                journal.entries.push_back(std::move(entry));
            else
                journal.damagedLines.push_back(number);
        } else if (key == "created" && words.size() > 1) {
            journal.created = QDateTime::fromString(
                QString::fromLatin1(words[1].data(), qsizetype(words[1].size())),
                Qt::ISODateWithMs);
        } else if (key == "command" && first()) {
            journal.command = FileNameFromBytes(value);
        } else if (key == "folder" && first()) {
            journal.folder = value;
        } else if (key == "args") {
            for (size_t i = 1; i < words.size(); ++i) {
                if (Unescape(words[i], value))
                    journal.args << FileNameFromBytes(value);
            }
        } else if (key == "end" && !journal.finished && words.size() == 3 &&
                   (words[1] == "complete" || words[1] == "interrupted") &&
                   ParseNumber(words[2], count)) {
            journal.finished = 1;
            journal.complete = words[1] == "complete";
            journal.endCount = static_cast<long long>(count);
        } else if (key == "undone") {
            journal.undone = 1;
        } else if (key != "created" && key != "command" && key != "folder" && key != "args") {
            journal.damagedLines.push_back(number);
        }
    }
    return 1;
}

int CUndoJournal::MarkUndone(const QString& path, QString& error) {
    CUndoJournal journal;
    if (!journal.Open(path, false, error))
        return 0;
    // A line a crash cut short (its page never changed) is dropped, so that
    // the new line starts on a line of its own.
    std::string text, reason;
    if (ReadPageFile(FileNameBytes(path), text, reason) && !text.empty() && !text.ends_with('\n')) {
        const size_t nl = text.rfind('\n');
        if (::ftruncate(journal.m_fd, static_cast<off_t>(nl == std::string::npos ? 0 : nl + 1)) !=
            0) {
            error = path + ": " + ErrnoText(errno);
            return 0;
        }
    }
    const std::string line =
        "undone " + TimeText(QDateTime::currentDateTime()).toStdString() + "\n";
    if (!WriteAllBytes(journal.m_fd, line) || ::fdatasync(journal.m_fd) != 0) {
        error = path + ": " + ErrnoText(errno);
        return 0;
    }
    return 1;
}

std::vector<CJournal> CUndoJournal::List() {
    std::vector<CJournal> journals;
    const QDir folder(Folder());
    for (const QString& name : folder.entryList({"*.journal"}, QDir::Files, QDir::Name)) {
        CJournal journal;
        QString error;
        if (Read(folder.filePath(name), journal, error))
            journals.push_back(std::move(journal));
    }
    std::stable_sort(journals.begin(), journals.end(),
                     [](const CJournal& a, const CJournal& b) { return a.created < b.created; });
    return journals;
}

CJournalRetention CJournalRetention::FromProfile(const IProfile& profile) {
    CJournalRetention retention;
    retention.keepRuns =
        std::max(0, profile.GetProfileInt("Journals", "KeepRuns", retention.keepRuns));
    retention.keepDays =
        std::max(0, profile.GetProfileInt("Journals", "KeepDays", retention.keepDays));
    return retention;
}

std::string CUndoJournal::Distrust(const QString& path) {
    const std::string file = FileNameBytes(path);
    struct stat info;
    if (::lstat(file.c_str(), &info) != 0)
        return std::strerror(errno);
    if (!S_ISREG(info.st_mode))
        return "the journal is not a regular file";
    if (info.st_uid != ::geteuid())
        return "the journal belongs to another user";
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return "other users may write the journal";
    const QFileInfo journal(path);
    const QString folder = QFileInfo(Folder()).canonicalFilePath();
    if (folder.isEmpty() || journal.canonicalPath() != folder)
        return "the journal is not in the journal folder " + FileNameBytes(Folder());
    return {};
}

size_t CUndoJournal::Prune(const CJournalRetention& retention) {
    const QDir folder(Folder());
    struct Found {
        QDateTime time;
        QString path;
    };
    std::vector<Found> journals;
    for (const QFileInfo& info : folder.entryInfoList({"*.journal"}, QDir::Files | QDir::Hidden)) {
        struct stat st;
        const std::string file = FileNameBytes(info.filePath());
        if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        // Names start with the time the run began: yyyyMMdd-HHmmss-zzz.
        QDateTime time = QDateTime::fromString(info.fileName().left(19), "yyyyMMdd-HHmmss-zzz");
        if (!time.isValid())
            time = info.lastModified();
        journals.push_back({time, info.filePath()});
    }
    std::sort(journals.begin(), journals.end(),
              [](const Found& a, const Found& b) { return a.time > b.time; });
    const QDateTime limit = QDateTime::currentDateTime().addDays(-retention.keepDays);
    size_t removed = 0;
    for (size_t i = static_cast<size_t>(std::max(retention.keepRuns, 0)); i < journals.size();
         ++i) {
        if (journals[i].time >= limit)
            continue;
        const std::string file = FileNameBytes(journals[i].path);
        removed += ::unlink(file.c_str()) == 0;
    }
    return removed;
}
