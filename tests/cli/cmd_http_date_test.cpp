// tsle-cli http-date, run as a user would.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace {

CliResult RunHttpDate(const QStringList& args) {
    return RunCli(QStringList{"http-date"} + args);
}

TEST(HttpDateCommand, ParsesAndFormats) {
    const struct {
        QStringList args;
        int exitCode;
        QByteArray out;
    } cases[] = {
        {{"parse", "Sun, 06 Nov 1994 08:49:37 GMT"}, 0, "784111777\n"},
        {{"parse", "Sun", "Nov", "6", "08:49:37", "1994"}, 0, "784111777\n"}, // unquoted
        {{"parse", "Mon, 06 Nov 1994 08:49:37 GMT"}, 1, ""},
        {{"parse", "01 Jan 1970 00:00:00 +0100"}, 1, ""}, // before 1970 UTC
        {{"format", "784111777"}, 0, "Sun, 06 Nov 1994 08:49:37 GMT\n"},
        {{"format", "0"}, 0, "Thu, 01 Jan 1970 00:00:00 GMT\n"},
        {{"format", "-5"}, 0, "\n"},
        {{"format", "32535216000"}, 0, "\n"},
        {{"format", "99999999999999999999999"}, 0, "\n"},
        // "--" ends the options, before the action or after it.
        {{"format", "--", "-5"}, 0, "\n"},
        {{"--", "format", "0"}, 0, "Thu, 01 Jan 1970 00:00:00 GMT\n"},
        {{"parse", "--", "Sun, 06 Nov 1994 08:49:37 GMT"}, 0, "784111777\n"},
        {{"format", "12x"}, 2, ""},
        {{"format"}, 2, ""},
        {{"parse"}, 2, ""},
        {{"convert", "1"}, 2, ""},
        {{}, 2, ""},
    };
    for (const auto& c : cases) {
        const CliResult run = RunHttpDate(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.out, c.out) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.err.isEmpty(), c.exitCode == 0) << c.args.join(' ').toStdString();
    }
}

} // namespace
