// tsle-cli body-text: the plain text of a page's body, as the suggestions see it.
#include "cli/cli_util.h"
#include "document/page_codec.h"
#include "document/page_text.h"
#include "page/html_page.h"

int RunBodyText(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the text a reader sees in the body of FILE, as the suggestions take it: "
        "without scripts, styles, noscript and template content, the main content first.");
    parser.addPositionalArgument("FILE", "The page to read.");
    const QCommandLineOption all("all", "Print all the text of the body as stored, in page order, "
                                        "scripts and character references included.");
    parser.addOption(all);
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
    page.SetText(text, BodyMode::PRESERVE);
    if (parser.isSet(all))
        WriteStdout(page.GetBodyText());
    else
        WriteStdout(PageReaderText(page, CPageCodec::ForPage(text, page)).toStdString());
    WriteStdout("\n");
    return EXIT_OK;
}
