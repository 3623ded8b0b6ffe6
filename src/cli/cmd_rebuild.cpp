// tsle-cli rebuild: a page read into sections and written back, to stdout.
#include "cli/batch_run.h"
#include "cli/cli_util.h"
#include "page/html_page.h"

int RunRebuild(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Reads FILE as the editor reads a page and writes to stdout what a save would write: "
        "the page as read, or with --normalize-head its head normalized.");
    const QCommandLineOption whole("whole", "Rebuild the whole page, the body included.");
    const QCommandLineOption normalizeHead = NormalizeHeadOption();
    parser.addOptions({whole, normalizeHead});
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
    page.SetHeadStyle(HeadStyleOf(parser, normalizeHead));
    page.SetText(std::move(text), parser.isSet(whole) ? BodyMode::REBUILD : BodyMode::PRESERVE);
    WriteStdout(page.GetText());
    return EXIT_OK;
}
