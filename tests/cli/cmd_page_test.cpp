// tsle-cli rebuild, show and body-text, run as a user would.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli_runner.h"

namespace {

using PageCommands = CliTest;

TEST_F(PageCommands, RebuildWritesThePageByteForByte) {
    // A zero byte after the first 8000 bytes is kept like any other.
    const QByteArray body = "<BODY>" + QByteArray(8000, ' ') +
                            QByteArray("\0\xff<P>kept  AS is</BODY>\r\n<unterminated", 38);
    const QString page = Write("p.html", "<HTML><HEAD><TITLE>T</TITLE></HEAD>" + body);
    // As a save writes it: in the page's own style the page as read; the head
    // normalized with --normalize-head.
    CliResult run = RunCli({"rebuild", page});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "<HTML><HEAD><TITLE>T</TITLE></HEAD>" + body);
    run = RunCli({"rebuild", "--normalize-head", page});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "<html><head><title>T</title></head>" + body);
    run = RunCli({"rebuild", "--whole", "--normalize-head", page});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("<html><head><title>T</title></head><body>"));
    EXPECT_TRUE(run.out.endsWith("<unterminated"));

    // A head written in normal form is written back as it stands: the case of
    // unquoted values (addresses, file names) included.
    const QByteArray clean =
        "<!DOCTYPE html>\r\n<html lang=en-GB><head>\r\n"
        "<meta name=Author content=JohnSmith>\r\n"
        "<meta http-equiv=\"Content-Type\" content='text/html; charset=UTF-8'>\r\n"
        "<link rel=stylesheet href=/Styles/Main.css>\r\n"
        "<base href=http://Example.org/Docs/>\r\n"
        "<script src=Lib.JS defer></script>\r\n"
        "<title>T</title></head><body class=Main>x</body></html>\r\n";
    const QString cleanPage = Write("clean.html", clean);
    for (const QStringList& args :
         {QStringList{"rebuild", "--normalize-head", cleanPage},
          QStringList{"rebuild", "--whole", "--normalize-head", cleanPage}}) {
        run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, clean) << args.join(' ').toStdString();
    }
}

// Titles and values as a reader sees them (the page declares UTF-8, so its
// stray byte is a replacement character); --raw gives the bytes, escaped in
// JSON where they are not UTF-8. The charset is no nameless tag, and a
// property tag is listed among the properties.
TEST_F(PageCommands, ShowPresentsTextAsReadAndBytesOnRequest) {
    const QString page =
        Write("p.html", "<head><title>A &amp; B &#8212; Caf\xc3\xa9 \xe9 \"q\"</title>"
                        "<meta charset=utf-8>"
                        "<META HTTP-EQUIV=Refresh CONTENT=5>"
                        "<meta property=og:title content=OG>"
                        "<meta name=a\\b content='tab\there &lt;x&gt;'></head><body>");
    const QByteArray file = "[{\"file\": \"" + page.toUtf8() + "\", ";
    const QByteArray meta =
        // Unquoted values keep their case, as quoted ones do.
        "{\"name\": \"Refresh\", \"http_equiv\": true, \"content\": \"5\"}, "
        "{\"name\": \"a\\\\b\", \"http_equiv\": false, \"content\": \"tab here ";
    CliResult run = RunCli({"show", "--json", page});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, file +
                           "\"encoding\": \"UTF-8\", \"charset\": \"utf-8\", \"title\": "
                           "\"A & B \xe2\x80\x94 Caf\xc3\xa9 \xef\xbf\xbd \\\"q\\\"\", "
                           "\"lang\": null, \"properties\": [{\"property\": \"og:title\", "
                           "\"content\": \"OG\"}], \"links\": [], \"meta\": [" +
                           meta + "<x>\"}], \"meta_position\": true}]\n");
    run = RunCli({"show", "--json", "--raw", page});
    EXPECT_EQ(run.out, file +
                           "\"encoding\": \"UTF-8\", \"charset\": \"utf-8\", \"title\": "
                           "\"A &amp; B &#8212; Caf\xc3\xa9 \\u00E9 \\\"q\\\"\", \"lang\": null, "
                           "\"properties\": [{\"property\": \"og:title\", \"content\": \"OG\"}], "
                           "\"links\": [], \"meta\": [" +
                           meta + "&lt;x&gt;\"}], \"meta_position\": true}]\n");
    run = RunCli({"show", page});
    EXPECT_TRUE(run.out.contains("\n  title                 A & B \xe2\x80\x94 Caf\xc3\xa9 "))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("\n  charset               utf-8\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("\n  og:title (property)   OG\n")) << run.out.toStdString();
}

TEST_F(PageCommands, ShowTellsWhenAPageHasNoPlaceForMetaTags) {
    const QString page = Write("p.html", "<title>t</title><body>b</body>");
    CliResult run = RunCli({"show", "--json", page});
    EXPECT_TRUE(run.out.contains("\"meta_position\": false"));
    run = RunCli({"show", page});
    EXPECT_TRUE(run.out.contains("no place for meta tags"));
}

TEST_F(PageCommands, ShowNamesTheActionsOfATemplate) {
    const QString templ = Write("t.mtpl", "<head><title action=7>T</title>"
                                          "<meta name=a content=x action=\"5\">"
                                          "<meta name=b content=y></head>");
    const CliResult run = RunCli({"show", templ});
    EXPECT_TRUE(run.out.contains("title  T  [Add this data before existing data]\n"));
    EXPECT_TRUE(run.out.contains("a      x  [Always remove this tag]\n"));
    EXPECT_TRUE(run.out.contains("b      y  [no action]\n"));
}

TEST_F(PageCommands, BodyText) {
    const QString page = Write("p.html", "<body><nav>Menu</nav><main><p>Hello <b>big</b>world "
                                         "&amp; more</p></main><script>var x;</script></body>");
    CliResult run = RunCli({"body-text", page});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Hello big world & more Menu\n");
    run = RunCli({"body-text", "--all", page});
    EXPECT_EQ(run.out, "Menu Hello big world &amp; more var x;\n");
}

TEST_F(PageCommands, ExitCodes) {
    const QString page = Write("p.html", "<head></head>");
    const struct {
        QStringList args;
        int exitCode;
        const char* err;
    } cases[] = {
        {{"show", m_dir.filePath("missing.html")}, 1, "missing.html: No such file or directory"},
        {{"show", page, m_dir.filePath("missing.html")}, 1, "No such file"},
        {{"rebuild", m_dir.path()}, 1, "Is a directory"},
        {{"rebuild"}, 2, "exactly one FILE"},
        {{"body-text", page, page}, 2, "exactly one FILE"},
        {{"show", "--bogus", page}, 2, "bogus"},
        {{"no-such-command"}, 2, "unknown command"},
        {{}, 2, "Usage"},
        {{"--version"}, 0, ""},
        {{"show", "--help"}, 0, ""},
    };
    for (const auto& c : cases) {
        const CliResult run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
    }
}

} // namespace
