// tsle-cli apply: merge a template into many pages.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

#include "cli/cli_util.h"
#include "document/template_values.h"
#include "document/tessel_doc.h"
#include "document/text_file.h"
#include "fields/file_types.h"
#include "page/html_page.h"

namespace {

struct Job {
    QString path;
    QString error; // set when the path was refused before reading it
};

enum class Outcome { CHANGED, UNCHANGED, FAILED };

// Reads one page, applies the template and saves the page when its text changed.
Outcome ApplyToFile(const CTemplateValues& values, const QString& path, bool dryRun, FileSync sync,
                    QString& reason) {
    std::string text;
    if (!LoadTextFile(path, text, reason))
        return Outcome::FAILED;
    CHtmlPage page;
    page.SetText(text, 1);
    if (!page.HasMetaPosition()) {
        reason = QStringLiteral("no place for meta tags (no head and no meta tag)");
        return Outcome::FAILED;
    }
    values.ApplyTo(page);
    const std::string& result = page.GetText();
    if (result == text)
        return Outcome::UNCHANGED;
    if (!dryRun && !SaveTextFile(path, result, reason, sync))
        return Outcome::FAILED;
    return Outcome::CHANGED;
}

std::string ResultLine(const QString& file, Outcome outcome, const QString& reason) {
    const std::string path = QFile::encodeName(file).toStdString();
    switch (outcome) {
    case Outcome::CHANGED:
        return "changed " + path + "\n";
    case Outcome::UNCHANGED:
        return "unchanged " + path + "\n";
    case Outcome::FAILED:
        break;
    }
    return "failed " + path + ": " + reason.toStdString() + "\n";
}

// The pages named on the command line, folders expanded when recursive.
std::vector<Job> CollectJobs(const QStringList& paths, bool recursive, const std::string& types) {
    std::vector<Job> jobs;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            // A template named among the pages is left as it is.
            if (IsTemplateFileName(info.fileName()))
                jobs.push_back({path, QStringLiteral("is a template; templates are not changed")});
            else
                jobs.push_back({path, {}});
            continue;
        }
        if (!recursive) {
            jobs.push_back({path, QStringLiteral("Is a directory (use --recursive)")});
            continue;
        }
        std::vector<Job> found;
        QDirIterator it(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const std::string name = QFile::encodeName(it.fileName()).toStdString();
            if (IsWebPageName(name, types) && !IsTemplateFileName(it.fileName()))
                found.push_back({file, {}});
        }
        std::sort(found.begin(), found.end(),
                  [](const Job& a, const Job& b) { return a.path < b.path; });
        jobs.insert(jobs.end(), found.begin(), found.end());
    }
    return jobs;
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

} // namespace

int RunApply(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Applies a meta-tag template to web pages. Prints one line per page: "
        "'changed PATH', 'unchanged PATH' or 'failed PATH: REASON'.");
    parser.addPositionalArgument("TEMPLATE", "The template file (.mtpl).");
    parser.addPositionalArgument("PATH", "Pages, or folders with --recursive.", "PATH...");
    const QCommandLineOption recursive(QStringList{"r", "recursive"},
                                       "Apply to every web page under the folders named.");
    const QCommandLineOption dryRun("dry-run", "Change no file; report what would change.");
    const QCommandLineOption fileTypes(
        "file-types",
        "The file types that count as web pages (default \"" +
            QString::fromLatin1(DEFAULT_FILE_TYPES.data(), qsizetype(DEFAULT_FILE_TYPES.size())) +
            "\").",
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
    const std::string types = parser.isSet(fileTypes) ? parser.value(fileTypes).toStdString()
                                                      : std::string(DEFAULT_FILE_TYPES);

    std::string templateText;
    QString reason;
    if (!LoadTextFile(templatePath, templateText, reason)) {
        FileError(templatePath, reason);
        return EXIT_FILE_FAILED;
    }
    CHtmlPage templ;
    templ.SetText(std::move(templateText), 0);
    CTemplateValues values;
    values.Read(templ);

    const std::vector<Job> jobs = CollectJobs(paths, parser.isSet(recursive), types);
    const bool dry = parser.isSet(dryRun);
    const FileSync sync = parser.isSet(syncOption) ? FileSync::TO_DISK : FileSync::LATER;

    // Pages are independent, and most of the time of each goes to waiting for
    // the file system, so several workers take pages in turn. The results are
    // printed in page order as soon as a page and all before it are done.
    const size_t count = jobs.size();
    std::vector<std::string> lines(count);
    std::vector<char> done(count, 0);
    std::vector<char> failed(count, 0);
    std::mutex mutex;
    std::condition_variable ready;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i; (i = next.fetch_add(1)) < count;) {
            const Job& job = jobs[i];
            QString why = job.error;
            const Outcome outcome = job.error.isEmpty()
                                        ? ApplyToFile(values, job.path, dry, sync, why)
                                        : Outcome::FAILED;
            std::string line = ResultLine(job.path, outcome, why);
            {
                std::lock_guard lock(mutex);
                lines[i] = std::move(line);
                failed[i] = outcome == Outcome::FAILED;
                done[i] = 1;
            }
            ready.notify_one();
        }
    };
    const size_t workers =
        std::min<size_t>(count, std::clamp<size_t>(2 * std::thread::hardware_concurrency(), 2, 16));
    std::vector<std::thread> threads;
    for (size_t k = 1; k < workers; ++k)
        threads.emplace_back(work);
    if (threads.empty())
        work(); // a single page: no helper

    bool anyFailed = false;
    Progress progress(count);
    const bool stdoutIsTerminal = isatty(1);
    std::string out;
    for (size_t printed = 0; printed < count;) {
        {
            std::unique_lock lock(mutex);
            ready.wait_for(lock, std::chrono::milliseconds(100), [&] { return done[printed]; });
            for (; printed < count && done[printed]; ++printed) {
                out += lines[printed];
                anyFailed = anyFailed || failed[printed];
                std::string().swap(lines[printed]);
            }
        }
        if (!out.empty()) {
            if (stdoutIsTerminal)
                progress.Clear();
            WriteStdout(out);
            out.clear();
        }
        progress.Step(printed);
    }
    for (std::thread& t : threads)
        t.join();
    return anyFailed ? EXIT_FILE_FAILED : EXIT_OK;
}
