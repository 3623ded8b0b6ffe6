// tsle-cli apply: merge a template into many pages.
#include <QElapsedTimer>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "cli/cli_util.h"
#include "document/template_values.h"
#include "document/text_file.h"
#include "fields/file_types.h"
#include "page/html_page.h"

namespace {

// Folders nested deeper than this are reported, not searched: no site is that
// deep, and a loop of bind mounts would be endless.
constexpr int MAX_FOLDER_DEPTH = 256;

struct Job {
    std::string path;  // bytes
    std::string error; // set when the path was refused before reading it
};

enum class Outcome { CHANGED, UNCHANGED, FAILED };

// Whether a batch run takes a file of this name: its extension (after the last
// ".") is one of the file types. A name without one (a script, LICENSE,
// Makefile) is never a page to rewrite, whatever the file browser lists.
bool IsBatchPageName(std::string_view name, std::string_view fileTypes) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size())
        return false;
    const std::string entry = "*." + std::string(name.substr(dot + 1));
    size_t start = 0;
    while (start <= fileTypes.size()) {
        size_t end = fileTypes.find(';', start);
        if (end == std::string_view::npos)
            end = fileTypes.size();
        if (fileTypes.substr(start, end - start) == entry)
            return true;
        start = end + 1;
    }
    return false;
}

bool IsTemplateName(std::string_view name) {
    return name.ends_with(".mtpl");
}

PageFileId IdOf(const struct stat& info) {
    return {static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino)};
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir.ends_with('/') ? dir + name : dir + "/" + name;
}

// The files a run takes, each at most once (by device and inode), never the
// template itself, with a refusal for every path it cannot take.
class JobCollector {
public:
    JobCollector(std::string_view fileTypes, std::string templatePath, const PageFileId& templateId)
        : m_types(fileTypes), m_templatePath(std::move(templatePath)), m_template(templateId) {}

    // A path named on the command line (followed when it is a link).
    void AddArgument(const std::string& path, bool recursive) {
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) {
            m_jobs.push_back({path, std::strerror(errno)});
            return;
        }
        if (S_ISDIR(info.st_mode)) {
            if (!recursive) {
                m_jobs.push_back({path, "Is a directory (use --recursive)"});
                return;
            }
            std::vector<Job> found;
            Walk(path, 0, found);
            std::sort(found.begin(), found.end(),
                      [](const Job& a, const Job& b) { return a.path < b.path; });
            m_jobs.insert(m_jobs.end(), found.begin(), found.end());
            return;
        }
        const size_t slash = path.rfind('/');
        if (IsTemplateName(slash == std::string::npos ? path : path.substr(slash + 1))) {
            m_jobs.push_back({path, "is a template; templates are not changed"});
        } else if (IsTemplate(IdOf(info))) {
            m_jobs.push_back({path, "is the template of this run; not changed"});
        } else if (FirstVisit(IdOf(info), path)) {
            m_jobs.push_back({path, {}}); // read and refused later if not a regular file
        }
    }

    std::vector<Job>& Jobs() { return m_jobs; }

private:
    // Every page under dir, without following symbolic links.
    void Walk(const std::string& dir, int depth, std::vector<Job>& found) {
        if (InterruptSignal())
            return; // asked to stop: no page is taken, so nothing is left half done
        if (depth > MAX_FOLDER_DEPTH) {
            found.push_back({dir, "folders nested more than " + std::to_string(MAX_FOLDER_DEPTH) +
                                      " deep; not searched"});
            return;
        }
        const int fd =
            ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (depth > 0 ? O_NOFOLLOW : 0));
        std::vector<std::string> names;
        if (fd < 0 || !ListFolder(fd, names)) {
            found.push_back({dir, std::strerror(errno)});
            if (fd >= 0)
                ::close(fd);
            return;
        }
        std::vector<std::string> folders;
        for (const std::string& name : names) {
            const std::string path = Join(dir, name);
            struct stat info;
            if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                // Removed since the listing: nothing to do.
                if (errno != ENOENT)
                    found.push_back({path, std::strerror(errno)});
                continue;
            }
            if (S_ISDIR(info.st_mode)) {
                folders.push_back(path);
                continue;
            }
            // Links met in a folder are not followed: they may lead out of the
            // tree, or to a page reached another way.
            if (S_ISLNK(info.st_mode) || !IsBatchPageName(name, m_types) || IsTemplateName(name) ||
                IsTemplate(IdOf(info)))
                continue;
            if (!S_ISREG(info.st_mode))
                found.push_back({path, kNotRegularFile});
            else if (FirstVisit(IdOf(info), path))
                found.push_back({path, {}});
        }
        ::close(fd);
        for (const std::string& folder : folders)
            Walk(folder, depth + 1, found);
    }

    // Reads the names in the folder open as fd (but "." and ".."). The whole
    // listing comes from one call of the system, which sees the folder as it
    // is at one moment: a listing read in several calls can miss a name that
    // another program (another tsle-cli apply, say) replaces between them.
    static bool ListFolder(int fd, std::vector<std::string>& names) {
        std::vector<char> buffer;
        char probe[4096];
        for (size_t size = 256 * 1024;; size *= 4) {
            buffer.resize(size);
            if (::lseek(fd, 0, SEEK_SET) != 0)
                return false;
            const ssize_t got = ::getdents64(fd, buffer.data(), buffer.size());
            if (got < 0)
                return false;
            const ssize_t more = ::getdents64(fd, probe, sizeof probe);
            if (more < 0)
                return false;
            if (more > 0)
                continue; // did not fit: again, with room for all
            names.clear();
            for (ssize_t at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + at);
                const std::string_view name = entry->d_name;
                if (name != "." && name != "..")
                    names.emplace_back(name);
                at += entry->d_reclen;
            }
            return true;
        }
    }

    // Whether the file id, met at path, is met for the first time. Another run
    // replacing pages meanwhile frees their inodes, and a new page may get one
    // of those numbers: the file met first under an id is looked at again, and
    // only when it still has that id is the second one the same file.
    bool FirstVisit(const PageFileId& id, const std::string& path) {
        const auto [it, inserted] = m_seen.emplace(id, path);
        if (inserted)
            return true;
        struct stat info;
        if (::stat(it->second.c_str(), &info) == 0 && IdOf(info) == id)
            return false;
        it->second = path;
        return true;
    }

    // The template file has this id (unless it was replaced since it was read,
    // and its inode number went to another file).
    bool IsTemplate(const PageFileId& id) const {
        struct stat info;
        return id == m_template && ::stat(m_templatePath.c_str(), &info) == 0 &&
               IdOf(info) == m_template;
    }

    std::string m_types;
    std::string m_templatePath;
    PageFileId m_template;
    struct IdLess {
        bool operator()(const PageFileId& a, const PageFileId& b) const {
            return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
        }
    };
    std::map<PageFileId, std::string, IdLess> m_seen;
    std::vector<Job> m_jobs;
};

// Reads one page under its lock, applies the template and saves the page when
// a value changed.
Outcome ApplyToFile(const CTemplateValues& values, const std::string& path, bool dryRun,
                    FileSync sync, std::string& reason) {
    try {
        CLockedTextFile file;
        std::string text;
        QString error;
        if (!file.Open(FileNameFromBytes(path), text, error)) {
            reason = ArgBytes(error);
            return Outcome::FAILED;
        }
        CHtmlPage page;
        page.SetText(text, 1);
        if (!page.HasMetaPosition()) {
            reason = "no place for meta tags (no head and no meta tag)";
            return Outcome::FAILED;
        }
        values.ApplyTo(page);
        // A page whose values stay as they are is not written at all, however
        // its tags are written.
        if (page.GetChangeCount() == 0 || page.GetText() == text)
            return Outcome::UNCHANGED;
        if (!dryRun && !file.Save(page.GetText(), error, sync)) {
            reason = ArgBytes(error);
            return Outcome::FAILED;
        }
        return Outcome::CHANGED;
    } catch (const std::bad_alloc&) {
        reason = std::strerror(ENOMEM);
        return Outcome::FAILED;
    }
}

std::string ResultLine(const std::string& path, Outcome outcome, const std::string& reason) {
    switch (outcome) {
    case Outcome::CHANGED:
        return "changed " + path + "\n";
    case Outcome::UNCHANGED:
        return "unchanged " + path + "\n";
    case Outcome::FAILED:
        break;
    }
    return "failed " + path + ": " + reason + "\n";
}

// A progress line on a terminal, at most ten times a second.
class Progress {
public:
    explicit Progress(size_t total) : m_total(total), m_shown(isatty(2) && total > 1) {
        m_timer.start();
    }
    void Step(size_t done) {
        if (!m_shown || m_timer.elapsed() < 100 * m_updates)
            return;
        ++m_updates;
        std::fprintf(stderr, "\r%zu/%zu pages", done, m_total);
        std::fflush(stderr);
        m_drawn = true;
    }
    // Takes the line away, so that a result line on the same terminal starts clean.
    void Clear() {
        if (m_drawn)
            std::fputs("\r\033[K", stderr);
        m_drawn = false;
    }
    ~Progress() { Clear(); }

private:
    size_t m_total;
    bool m_shown;
    bool m_drawn = false;
    qint64 m_updates = 5; // nothing for the first half second
    QElapsedTimer m_timer;
};

// The result of each page, printed in page order as soon as a page and all
// before it are done, each line flushed at once: an interrupted run has told
// about every page it changed.
class Results {
public:
    explicit Results(size_t count) : m_lines(count), m_state(count, PENDING) {}
    void Done(size_t i, std::string line, bool failed, std::string error) {
        {
            std::lock_guard lock(m_mutex);
            m_lines[i] = std::move(line);
            m_errors.push_back(std::move(error));
            m_state[i] = failed ? FAILED : DONE;
        }
        m_ready.notify_one();
    }
    void WorkerFinished() {
        {
            std::lock_guard lock(m_mutex);
            ++m_finishedWorkers;
        }
        m_ready.notify_one();
    }
    // Prints until every page is done, or every worker has stopped.
    void PrintAll(size_t workers, Progress& progress) {
        const bool stdoutIsTerminal = isatty(1);
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_ready.wait_for(lock, std::chrono::milliseconds(100));
            const bool stopped = m_finishedWorkers == workers;
            std::string out;
            for (; m_printed < m_state.size(); ++m_printed) {
                if (m_state[m_printed] == PENDING) {
                    // Stopped early (an interrupt): what was done still counts.
                    if (!stopped)
                        break;
                    continue;
                }
                out += m_lines[m_printed];
                m_failed = m_failed || m_state[m_printed] == FAILED;
                std::string().swap(m_lines[m_printed]);
            }
            std::vector<std::string> errors;
            errors.swap(m_errors);
            lock.unlock();
            for (const std::string& error : errors) {
                if (!error.empty())
                    std::fputs(error.c_str(), stderr);
            }
            if (!out.empty()) {
                if (stdoutIsTerminal)
                    progress.Clear();
                WriteStdout(out, true);
            }
            progress.Step(m_printed);
            lock.lock();
            if (m_printed == m_state.size() && (stopped || m_finishedWorkers == workers))
                return;
        }
    }
    bool AnyFailed() const { return m_failed; }
    size_t NotDone() const { return std::count(m_state.begin(), m_state.end(), PENDING); }

private:
    enum State : char { PENDING, DONE, FAILED };
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<std::string> m_lines;
    std::vector<State> m_state;
    std::vector<std::string> m_errors;
    size_t m_printed = 0;
    size_t m_finishedWorkers = 0;
    bool m_failed = false;
};

} // namespace

int RunApply(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Applies a meta-tag template to web pages. Prints one line per page: "
        "'changed PATH', 'unchanged PATH' or 'failed PATH: REASON' (the reason on stderr too). "
        "Every page is read, changed and saved under its lock and replaced atomically; a page "
        "whose values stay the same is not written. On SIGINT or SIGTERM the pages being "
        "saved are finished, the run stops and reports what it did; a second signal stops at "
        "once, leaving every page in hand as it was.");
    parser.addPositionalArgument("TEMPLATE", "The template file (.mtpl).");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const QCommandLineOption recursive(
        QStringList{"r", "recursive"},
        "Apply to every web page under the folders named (symbolic links met there are not "
        "followed).");
    const QCommandLineOption dryRun("dry-run", "Change no file; report what would change.");
    const QCommandLineOption fileTypes(
        "file-types",
        "The file types that count as web pages in folders (default \"" +
            QString::fromLatin1(DEFAULT_FILE_TYPES.data(), qsizetype(DEFAULT_FILE_TYPES.size())) +
            "\"); files without one of these extensions are left alone.",
        "PATTERNS");
    const QCommandLineOption syncOption(
        "sync", "Wait for each saved page to reach the disk (slower; by default the system "
                "writes them out in its own time, each page still replaced atomically).");
    parser.addOptions({recursive, dryRun, fileTypes, syncOption});
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    QStringList paths = parser.positionalArguments();
    if (paths.size() < 2)
        return UsageError("apply expects a TEMPLATE and at least one PATH");
    const QString templatePath = paths.takeFirst();
    const std::string types = parser.isSet(fileTypes) ? ArgBytes(parser.value(fileTypes))
                                                      : std::string(DEFAULT_FILE_TYPES);
    InstallInterruptHandling();

    std::string templateText, reason;
    PageFileId templateId;
    if (!ReadPageFile(ArgBytes(templatePath), templateText, reason, &templateId)) {
        FileError(templatePath, reason);
        return EXIT_FILE_FAILED;
    }
    CHtmlPage templ;
    templ.SetText(std::move(templateText), 0);
    CTemplateValues values;
    values.Read(templ);

    JobCollector collector(types, ArgBytes(templatePath), templateId);
    for (const QString& path : paths)
        collector.AddArgument(ArgBytes(path), parser.isSet(recursive));
    const std::vector<Job>& jobs = collector.Jobs();
    const bool dry = parser.isSet(dryRun);
    const FileSync sync = parser.isSet(syncOption) ? FileSync::TO_DISK : FileSync::LATER;

    // Pages are independent, and most of the time of each goes to waiting for
    // the file system, so several workers take pages in turn.
    const size_t count = jobs.size();
    Results results(count);
    std::atomic<size_t> next{0};
    QThreadPool pool;
    const size_t workers = std::max<size_t>(
        1, std::min<size_t>(count, std::clamp(2 * QThread::idealThreadCount(), 2, 16)));
    pool.setMaxThreadCount(static_cast<int>(workers));
    for (size_t k = 0; k < workers; ++k) {
        pool.start([&] {
            // A first interrupt lets the page in hand finish, then stops.
            for (size_t i; !InterruptSignal() && (i = next.fetch_add(1)) < count;) {
                const Job& job = jobs[i];
                std::string why = job.error;
                const Outcome outcome = job.error.empty()
                                            ? ApplyToFile(values, job.path, dry, sync, why)
                                            : Outcome::FAILED;
                std::string error;
                if (outcome == Outcome::FAILED)
                    error = "tsle-cli: " + job.path + ": " + why + "\n";
                results.Done(i, ResultLine(job.path, outcome, why), outcome == Outcome::FAILED,
                             std::move(error));
            }
            results.WorkerFinished();
        });
    }
    Progress progress(count);
    results.PrintAll(workers, progress);
    pool.waitForDone();
    progress.Clear();
    if (InterruptSignal()) {
        if (const size_t left = results.NotDone()) {
            std::fprintf(stderr, "tsle-cli: interrupted; %zu of %zu pages were not processed\n",
                         left, count);
        }
        StdoutFailed();
        ExitForInterrupt();
    }
    return results.AnyFailed() ? EXIT_FILE_FAILED : EXIT_OK;
}
