// tsle-cli suggest-description and suggest-keywords, run as a user would.
#include <gtest/gtest.h>

#include "cli_runner.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using SuggestCommand = CliTest;

TEST_F(SuggestCommand, ProposesFromTheBodyText) {
    const QString page =
        Write("page.html", "<html><head><title>Not this</title></head><body>\n"
                           "<h1>Rose gardens</h1><p>Our ro<b>ses</b> grow in the garden.\n"
                           "The Garden, the roses (and) it!</p></body></html>");
    const QString common = Write("common.txt", "the\r\nour\n");

    CliResult run = RunCli({"suggest-description", page});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "Rose gardens Our roses grow in the garden.\n");

    run = RunCli({"suggest-keywords", page, "--common-words", common});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "roses garden rose gardens grow and\n");

    // Without the option, the list copied beside tsle-cli excludes "and" too.
    run = RunCli({"suggest-keywords", page});
    EXPECT_EQ(run.out, "roses garden rose gardens grow\n");
}

// A real page (Javadoc, as Debian ships it): the suggestions come from what a
// reader sees, not from its scripts, its notice for browsers without
// JavaScript or its character references.
TEST_F(SuggestCommand, ProposesFromWhatAReaderSeesOnARealPage) {
    const QString page = "/usr/share/doc/libargparse4j-java/api/net/sourceforge/argparse4j/"
                         "annotation/Arg.html";
    if (!QFile::exists(page))
        GTEST_SKIP() << "libargparse4j-java-doc is not installed (scripts/install-deps.sh)";
    CliResult run = RunCli({"suggest-description", page});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.startsWith("Package net.sourceforge.argparse4j.annotation Annotation Type "
                                   "Arg"))
        << run.out.constData();
    EXPECT_FALSE(run.out.contains("JavaScript")) << run.out.constData();
    run = RunCli({"suggest-keywords", page});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.contains("annotation")) << run.out.constData();
    for (const char* hidden : {"javascript", "&", "var ", "-->", "location"})
        EXPECT_FALSE(run.out.contains(hidden)) << hidden << ": " << run.out.constData();
}

TEST_F(SuggestCommand, ReportsFilesThatCannotBeRead) {
    const QString missing = m_dir.filePath("missing.html");
    for (const char* command : {"suggest-description", "suggest-keywords"}) {
        const CliResult run = RunCli({command, missing});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_TRUE(run.out.isEmpty()) << command;
        EXPECT_TRUE(run.err.startsWith("tsle-cli: " + missing.toUtf8() + ": ")) << run.err.data();
    }
    const QString page = Write("page.html", "<body>words</body>");
    const CliResult run = RunCli({"suggest-keywords", page, "--common-words", missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(SuggestCommand, PageWithoutBodyGivesEmptyLines) {
    const QString page = Write("head.html", "<html><head><title>Only a head</title></head>");
    EXPECT_EQ(RunCli({"suggest-description", page}).out, "\n");
    EXPECT_EQ(RunCli({"suggest-keywords", page}).out, "\n");
}

} // namespace
