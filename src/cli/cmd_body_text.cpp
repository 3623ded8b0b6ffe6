// tsle-cli body-text: the plain text of a page's body, as the suggestions see it.
#include "cli/cli_util.h"
#include "page/html_page.h"

int RunBodyText(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Prints the plain text of the body of FILE.");
    parser.addPositionalArgument("FILE", "The page to read.");
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1)
        return UsageError("body-text takes exactly one FILE");
    const QString file = parser.positionalArguments().first();
    std::string text;
    if (!ReadPageArgument(file, text)) {
        return EXIT_FILE_FAILED;
    }
    CHtmlPage page;
    page.SetText(std::move(text), BodyMode::PRESERVE);
    WriteStdout(page.GetBodyText());
    WriteStdout("\n");
    return EXIT_OK;
}
