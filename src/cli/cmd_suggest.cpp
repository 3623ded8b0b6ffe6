// tsle-cli suggest-description / suggest-keywords: what the "Suggest" buttons
// of the description and keywords fields would propose for a page.
#include "cli/cli_util.h"
#include "document/page_codec.h"
#include "document/page_text.h"
#include "page/html_page.h"
#include "suggestions/common_words.h"
#include "suggestions/description_suggestion.h"
#include "suggestions/keyword_suggestion.h"

namespace {

// Reads the page named file the way the document does and returns 1 with the
// text a reader sees in its body (UTF-8), or reports why it cannot be read and
// returns 0.
int ReadBodyText(const QString& file, std::string& bodyText) {
    std::string text;
    if (!ReadPageArgument(file, text)) {
        return 0;
    }
    CHtmlPage page;
    page.SetText(text, BodyMode::PRESERVE);
    bodyText = PageReaderText(page, CPageCodec::ForPage(text, page)).toStdString();
    return 1;
}

} // namespace

int RunSuggestDescription(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the description proposed for FILE: the opening words of its body text.");
    parser.addPositionalArgument("FILE", "The page to read.");
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1)
        return UsageError("suggest-description takes exactly one FILE");
    std::string bodyText;
    if (!ReadBodyText(parser.positionalArguments().first(), bodyText))
        return EXIT_FILE_FAILED;
    WriteStdout(ProposeDescription(bodyText));
    WriteStdout("\n");
    return EXIT_OK;
}

int RunSuggestKeywords(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the keywords offered for FILE, most frequent first, separated by spaces.");
    parser.addPositionalArgument("FILE", "The page to read.");
    const QCommandLineOption commonWordsOption(
        "common-words",
        "The list of words never offered, one per line (default: common_words.txt "
        "beside tsle-cli, then in the installed data folder).",
        "PATH");
    parser.addOption(commonWordsOption);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1)
        return UsageError("suggest-keywords takes exactly one FILE");

    std::string commonWords;
    if (parser.isSet(commonWordsOption)) {
        // A list the user names must exist; only the default one may be missing.
        const QString path = parser.value(commonWordsOption);
        QString error;
        if (!LoadCommonWordsFile(path, commonWords, error)) {
            FileError(path, error);
            return EXIT_FILE_FAILED;
        }
    } else {
        commonWords = LoadCommonWords();
    }
    std::string bodyText;
    if (!ReadBodyText(parser.positionalArguments().first(), bodyText))
        return EXIT_FILE_FAILED;
    std::string offer = ProposeKeywords(bodyText, commonWords);
    if (!offer.empty())
        offer.pop_back(); // the space after the last word
    WriteStdout(offer);
    WriteStdout("\n");
    return EXIT_OK;
}
