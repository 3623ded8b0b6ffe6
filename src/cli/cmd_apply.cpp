// tsle-cli apply: merge a template into many pages.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "cli/cli_util.h"
#include "document/template_values.h"
#include "document/tessel_doc.h"
#include "document/text_file.h"
#include "fields/file_types.h"
#include "page/html_page.h"

namespace {

enum class Outcome { CHANGED, UNCHANGED, FAILED };

struct Job {
    QString path;
    QString error; // set when the path was refused before reading it
};

// Reads one page, applies the template and saves the page when its text changed.
Outcome ApplyToFile(const CTemplateValues& values, const QString& path, bool dryRun,
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
    if (!dryRun && !SaveTextFile(path, result, reason))
        return Outcome::FAILED;
    return Outcome::CHANGED;
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
    parser.addOptions({recursive, dryRun, fileTypes});
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
    bool anyFailed = false;
    Progress progress(jobs.size());
    const bool stdoutIsTerminal = isatty(1);
    std::string out;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const Job& job = jobs[i];
        reason = job.error;
        const Outcome outcome =
            job.error.isEmpty() ? ApplyToFile(values, job.path, dry, reason) : Outcome::FAILED;
        const std::string path = QFile::encodeName(job.path).toStdString();
        switch (outcome) {
        case Outcome::CHANGED:
            out = "changed " + path + "\n";
            break;
        case Outcome::UNCHANGED:
            out = "unchanged " + path + "\n";
            break;
        case Outcome::FAILED:
            anyFailed = true;
            out = "failed " + path + ": " + reason.toStdString() + "\n";
            break;
        }
        if (stdoutIsTerminal)
            progress.Clear();
        WriteStdout(out);
        progress.Step(i + 1);
    }
    return anyFailed ? EXIT_FILE_FAILED : EXIT_OK;
}
