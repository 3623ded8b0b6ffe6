// tsle-cli rebuild: a page read into sections and written back, to stdout.
#include "cli/cli_util.h"
#include "page/html_page.h"

int RunRebuild(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Reads FILE as the editor reads a page and writes the rebuilt text to stdout.");
    const QCommandLineOption whole("whole", "Rebuild the whole page, the body included.");
    parser.addOption(whole);
    parser.addPositionalArgument("FILE", "The page to read.");
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1)
        return UsageError("rebuild takes exactly one FILE");
    const QString file = parser.positionalArguments().first();
    std::string text;
    if (!ReadPageArgument(file, text)) {
        return EXIT_FILE_FAILED;
    }
    CHtmlPage page;
    page.SetText(std::move(text), parser.isSet(whole) ? BodyMode::REBUILD : BodyMode::PRESERVE);
    WriteStdout(page.GetText());
    return EXIT_OK;
}
