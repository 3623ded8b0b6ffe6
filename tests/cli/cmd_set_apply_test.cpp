// tsle-cli set, apply and show on templates, run as a user would.
#include <gtest/gtest.h>

#include "cli_runner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

const QByteArray kPage = "<html><head><title>Old</title><meta name=\"keywords\" content=\"a\">"
                         "</head><body>Body</body></html>";
const QByteArray kNoMeta = "<title>t</title><body>b</body>";
const QByteArray kTemplate = "<html><head><meta name=\"keywords\" content=\"k\" action=\"1\"/>"
                             "<title action=\"3\">Site</title></head><body></body></html>";

using CliCommand = CliTest;

TEST_F(CliCommand, SetAppliesTheOptionsInCommandLineOrder) {
    const QString page = Write("p.html", kPage);
    const struct {
        QStringList options;
        QByteArray head;
    } cases[] = {
        {{"--meta", "keywords=x", "--remove", "keywords"}, "<title>Old</title>"},
        {{"--remove", "keywords", "--meta", "keywords=x"},
         "\r\n\t<meta name=\"keywords\" content=\"x\"/><title>Old</title>"},
        {{"--title=A <b>", "--meta", "keywords=  "}, "<title>A &lt;b&gt;</title>"},
        {{"--http-equiv", "Refresh=5", "--meta=description=d=e"},
         "<title>Old</title><meta name=\"keywords\" content=\"a\">\r\n\t"
         "<meta http-equiv=\"Refresh\" content=\"5\"/>\r\n\t"
         "<meta name=\"description\" content=\"d=e\"/>"},
    };
    for (const auto& c : cases) {
        Write("p.html", kPage);
        const CliResult run = RunCli(QStringList{"set", "--normalize-head", page} + c.options);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(Read("p.html").toStdString(),
                  ("<html><head>" + c.head + "</head><body>Body</body></html>").toStdString())
            << c.options.join(' ').toStdString();
    }
}

TEST_F(CliCommand, SetDryRunPrintsThePageAndTouchesNothing) {
    const QString page = Write("p.html", kPage);
    const CliResult run = RunCli({"set", page, "--dry-run", "--title", "New"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "<html><head><title>New</title><meta name=\"keywords\" content=\"a\">"
                       "</head><body>Body</body></html>");
    EXPECT_EQ(Read("p.html"), kPage);
}

TEST_F(CliCommand, SetRefusesPagesItCannotChange) {
    const QString noMeta = Write("nometa.html", kNoMeta);
    CliResult run = RunCli({"set", noMeta, "--title", "x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Unable to find correct position for meta-data"))
        << run.err.constData();
    EXPECT_EQ(Read("nometa.html"), kNoMeta);

    run = RunCli({"set", m_dir.filePath("missing.html"), "--title", "x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("No such file or directory"));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("missing.html")));

    run = RunCli({"set", Write("p.html", kPage), "--meta", "novalue"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(Read("p.html"), kPage);
}

TEST_F(CliCommand, ApplyReportsEveryPageAndRewritesOnlyChangedOnes) {
    const QString templ = Write("t.mtpl", kTemplate);
    const QByteArray done = "<html><head><title>Old</title><meta name=\"keywords\" content=\"k\"/>"
                            "</head><body>Body</body></html>";
    const QString changed = Write("site/a.html", kPage);
    const QString same = Write("site/sub/b.htm", done);
    const QString noMeta = Write("site/c.php", kNoMeta);
    Write("site/notes.txt", kPage);
    Write("site/other.mtpl", kPage);
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(same).constData(), &before), 0);

    // A dry run reports and changes nothing.
    CliResult run =
        RunCli({"apply", "--normalize-head", templ, m_dir.filePath("site"), "-r", "--dry-run"});
    EXPECT_EQ(run.exitCode, 1);
    const QByteArray expected = "changed " + changed.toUtf8() + "\nfailed " + noMeta.toUtf8() +
                                ": no place for meta tags (no head and no meta tag)\n"
                                "unchanged " +
                                same.toUtf8() + "\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(Read("site/a.html"), kPage);

    run = RunCli({"apply", "--normalize-head", templ, m_dir.filePath("site"), "--recursive"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(Read("site/a.html"), done);
    EXPECT_EQ(Read("site/c.php"), kNoMeta);
    EXPECT_EQ(Read("site/notes.txt"), kPage);
    EXPECT_EQ(Read("site/other.mtpl"), kPage);
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(same).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // not rewritten

    // Named pages, the file-types option, and a folder without --recursive.
    run = RunCli({"apply", templ, changed, m_dir.filePath("site"), "--file-types", "*.txt"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "unchanged " + changed.toUtf8() + "\nfailed " +
                           m_dir.filePath("site").toUtf8() +
                           ": Is a directory (use --recursive)\n");
    run = RunCli({"apply", templ, m_dir.filePath("site"), "-r", "--file-types", "*.txt"});
    EXPECT_EQ(run.exitCode, 0) << run.out.constData();
    EXPECT_EQ(run.out, "changed " + m_dir.filePath("site/notes.txt").toUtf8() + "\n");
}

TEST_F(CliCommand, ApplyFailsOnAnUnreadableTemplate) {
    const QString page = Write("p.html", kPage);
    const CliResult run = RunCli({"apply", m_dir.filePath("none.mtpl"), page});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("none.mtpl: No such file or directory")) << run.err.constData();
    EXPECT_EQ(Read("p.html"), kPage);
}

TEST_F(CliCommand, ApplyKeepsOrderAcrossManyPages) {
    const QString templ = Write("t.mtpl", kTemplate);
    QByteArray expected;
    for (int i = 0; i < 300; ++i) {
        const QString path =
            Write(QString("site/p%1.html").arg(i, 3, 10, QChar('0')), i % 3 ? kPage : kNoMeta);
        expected += (i % 3 ? "changed " : "failed ") + path.toUtf8() +
                    (i % 3 ? "\n" : ": no place for meta tags (no head and no meta tag)\n");
    }
    const CliResult run = RunCli({"apply", templ, m_dir.filePath("site"), "-r"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, expected);
    // Each failure on stderr too, and no progress line off a terminal.
    EXPECT_EQ(run.err.count("\n"), 100);
    EXPECT_EQ(run.err.count("tsle-cli: "), 100);
}

TEST_F(CliCommand, ShowListsTheActionsOfATemplate) {
    const QString templ =
        Write("t.mtpl", "<html><head><meta name=\"a\" content=\"1\" action=\"05\">"
                        "<meta name=\"b\" content=\"2\"><title>T</title>"
                        "</head><body></body></html>");
    const CliResult run = RunCli({"show", "--json", templ});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("\"title\": \"T\", \"title_action\": 0")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("\"content\": \"1\", \"action\": 5"));
    EXPECT_TRUE(run.out.contains("\"content\": \"2\", \"action\": -1"));
    // Pages have no actions.
    const CliResult page = RunCli({"show", "--json", Write("p.html", kPage)});
    EXPECT_FALSE(page.out.contains("action"));
}

} // namespace
