// tsle-cli http-date: the date form of the Expires tag, read and written.
#include <cstdio>

#include "assistants/decimal_number.h"
#include "assistants/http_time.h"
#include "cli/cli_util.h"

int RunHttpDate(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "parse: prints the seconds since 1970-01-01 00:00:00 UTC of an HTTP date such as\n"
        "'Sun, 06 Nov 1994 08:49:37 GMT' (exit 1 when it does not read as a date).\n"
        "format: prints such seconds as an HTTP date, or an empty line outside\n"
        "1970 to 3000.");
    parser.addPositionalArgument("parse|format", "What to do.");
    parser.addPositionalArgument("VALUE", "The date text, or the seconds.");
    // "format -5" is a number, not an option.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    int exitCode = EXIT_OK;
    if (!ParseCommandLine(parser, args, exitCode))
        return exitCode;
    QStringList values = parser.positionalArguments();
    if (values.isEmpty())
        return UsageError("http-date needs 'parse TEXT' or 'format SECONDS'");
    const QString action = values.takeFirst();
    // After the action everything counts as a value, "--" too; it still ends
    // the options there, as in every command ("format -- -1").
    if (!values.isEmpty() && values.first() == QLatin1String("--"))
        values.removeFirst();

    if (action == QLatin1String("parse")) {
        if (values.isEmpty())
            return UsageError("http-date parse needs a date TEXT");
        // An unquoted date arrives as several arguments.
        const QString text = values.join(QLatin1Char(' '));
        CHttpTime time;
        if (!time.ParseHttpDate(ArgBytes(text))) {
            std::fprintf(stderr, "tsle-cli: cannot read '%s' as a date from 1970 to 3000\n",
                         ArgBytes(text).c_str());
            return EXIT_FILE_FAILED;
        }
        std::printf("%lld\n", static_cast<long long>(time.GetTime()));
        return EXIT_OK;
    }

    if (action == QLatin1String("format")) {
        if (values.size() != 1)
            return UsageError("http-date format takes exactly one SECONDS value");
        const std::string text = values.first().toStdString();
        const DecimalNumber seconds = ReadDecimal(text);
        if (!seconds.read || !TrimAscii(std::string_view(text).substr(seconds.end)).empty())
            return UsageError("http-date format: SECONDS must be an integer, got '" +
                              values.first() + "'");
        // A number too long for 64 bits is far out of range: an empty line.
        std::printf("%s\n",
                    seconds.saturated ? "" : CHttpTime(seconds.value).FormatHttpDate().c_str());
        return EXIT_OK;
    }
    return UsageError("http-date: unknown action '" + action + "' (use parse or format)");
}
