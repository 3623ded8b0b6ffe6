// tsle-cli: the page model, documents and templates from the command line.
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "cli/cli_util.h"
#include "cli/search_font_loader.h"
#include "document/text_file.h"

int RunRebuild(const QStringList& args);
int RunShow(const QStringList& args);
int RunBodyText(const QStringList& args);
int RunSet(const QStringList& args);
int RunApply(const QStringList& args);
int RunHttpDate(const QStringList& args);
int RunSuggestDescription(const QStringList& args);
int RunSuggestKeywords(const QStringList& args);
int RunAudit(const QStringList& args);
int RunExport(const QStringList& args);
int RunImport(const QStringList& args);
int RunUndo(const QStringList& args);

namespace {

const CliCommand kCommands[] = {
    {"rebuild", "Write a page rebuilt from its sections to stdout", RunRebuild},
    {"show", "Show the title and meta tags of pages", RunShow},
    {"body-text", "Print the plain text of a page's body", RunBodyText},
    {"set", "Set the title and meta tags of a page in place", RunSet},
    {"apply", "Apply a meta-tag template to pages", RunApply},
    {"http-date", "Parse or format the date of an Expires tag", RunHttpDate},
    {"suggest-description", "Print the description proposed from a page's text",
     RunSuggestDescription},
    {"suggest-keywords", "Print the keywords offered from a page's text", RunSuggestKeywords},
    {"audit", "Check the titles and descriptions of many pages", RunAudit},
    {"export", "Write the titles and meta tags of pages as a CSV table", RunExport},
    {"import", "Write a CSV table of titles and meta tags back to the pages", RunImport},
    {"undo", "Put back the pages an apply or import run changed", RunUndo},
};

// Whether the command measures titles and descriptions in pixels.
bool CommandMeasuresText(const char* name) {
    return std::strcmp(name, "audit") == 0 || std::strcmp(name, "export") == 0;
}

std::string Usage() {
    std::string text = "Usage: tsle-cli COMMAND [OPTIONS] ARGS...\n\n"
                       "Edits the title and meta tags of web pages.\n\nCommands:\n";
    char line[128];
    for (const CliCommand& c : kCommands) {
        std::snprintf(line, sizeof line, "  %-22s %s\n", c.name, c.summary);
        text += line;
    }
    return text + "\nRun 'tsle-cli help COMMAND' or 'tsle-cli COMMAND --help' for the options "
                  "of a command.\n";
}

const CliCommand* FindCommand(const QString& name) {
    for (const CliCommand& c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

int RunCommand(QStringList args) {
    if (args.size() < 2) {
        std::fputs(Usage().c_str(), stderr);
        return EXIT_BAD_USAGE;
    }
    const QString name = args.at(1);
    const bool help = name == QLatin1String("--help") || name == QLatin1String("-h") ||
                      name == QLatin1String("--help-all") || name == QLatin1String("help");
    if (help && args.size() == 2) {
        WriteStdout(Usage());
        return EXIT_OK;
    }
    if (help) {
        // "help set" and "--help set": the help of that command.
        const CliCommand* command = FindCommand(args.at(2));
        if (!command)
            return UsageError("no command '" + args.at(2) + "'; run 'tsle-cli help'");
        return command->run({QStringLiteral("tsle-cli ") + args.at(2), QStringLiteral("--help")});
    }
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        WriteStdout("tsle-cli " TSLE_VERSION "\n");
        return EXIT_OK;
    }
    if (const CliCommand* command = FindCommand(name)) {
        args.removeAt(1);
        args[0] = QStringLiteral("tsle-cli ") + name;
        return command->run(args);
    }
    std::fprintf(stderr, "tsle-cli: unknown command '%s'\n\n%s", ArgBytes(name).c_str(),
                 Usage().c_str());
    return EXIT_BAD_USAGE;
}

} // namespace

int main(int argc, char* argv[]) {
    // The arguments as the bytes they are (file names and values need not be
    // UTF-8), taken before Qt sees them.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << FileNameFromBytes(argv[i]);
    // The commands that measure text in pixels need QtGui's fonts: they start
    // without an application object, and the search font's module makes an
    // offscreen one when widths are first measured (while pages are read).
    // The others start with QtCore alone.
    std::unique_ptr<QCoreApplication> app;
    if (argc < 2 || !CommandMeasuresText(argv[1]))
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName("tsle-cli");
    QCoreApplication::setApplicationVersion(TSLE_VERSION);
    // A file-size limit makes a write fail with "File too large" instead of
    // killing the program half way.
    std::signal(SIGXFSZ, SIG_IGN);
    int exitCode;
    try {
        exitCode = RunCommand(args);
    } catch (const std::bad_alloc&) {
        std::fputs("tsle-cli: out of memory\n", stderr);
        exitCode = EXIT_FILE_FAILED;
    }
    CloseSearchFont();
    // Output that could not be written (a full disk, a closed pipe) is a failure.
    if (StdoutFailed() && exitCode == EXIT_OK)
        exitCode = EXIT_FILE_FAILED;
    return exitCode;
}
