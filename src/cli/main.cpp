// tsle-cli: the page model, documents and templates from the command line.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "cli/cli_util.h"

int RunRebuild(const QStringList& args);
int RunShow(const QStringList& args);
int RunBodyText(const QStringList& args);
int RunSet(const QStringList& args);
int RunApply(const QStringList& args);
int RunHttpDate(const QStringList& args);
int RunSuggestDescription(const QStringList& args);
int RunSuggestKeywords(const QStringList& args);

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
};

void PrintUsage(FILE* out) {
    std::fputs("Usage: tsle-cli COMMAND [OPTIONS] ARGS...\n\n"
               "Edits the title and meta tags of web pages.\n\nCommands:\n",
               out);
    for (const CliCommand& c : kCommands)
        std::fprintf(out, "  %-22s %s\n", c.name, c.summary);
    std::fputs("\nRun 'tsle-cli COMMAND --help' for the options of a command.\n", out);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tsle-cli");
    QCoreApplication::setApplicationVersion(TSLE_VERSION);
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        PrintUsage(stderr);
        return EXIT_BAD_USAGE;
    }
    const QString name = args.at(1);
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return EXIT_OK;
    }
    if (name == "--version" || name == "-v") {
        std::printf("tsle-cli %s\n", TSLE_VERSION);
        return EXIT_OK;
    }
    for (const CliCommand& c : kCommands) {
        if (name == QLatin1String(c.name)) {
            args.removeAt(1);
            args[0] = QStringLiteral("tsle-cli ") + name;
            return c.run(args);
        }
    }
    std::fprintf(stderr, "tsle-cli: unknown command '%s'\n", qPrintable(name));
    PrintUsage(stderr);
    return EXIT_BAD_USAGE;
}
