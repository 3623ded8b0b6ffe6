// The main window's rules without widgets: the recent-file list, the command
// line and the first document.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/recent_file_list.h"
#include "app/startup_options.h"
#include "document/doc_test_util.h"
#include "settings/memory_profile.h"

namespace {

TEST(RecentFileList, KeepsSixNewestFirstAndSurvivesTheProfile) {
    CRecentFileList list;
    for (int i = 1; i <= 8; ++i)
        list.Add(QStringLiteral("/site/page%1.html").arg(i));
    list.Add(QStringLiteral("/site/page5.html")); // moves up, no duplicate
    list.Add(QString());                          // ignored
    EXPECT_EQ(list.Files(),
              QStringList({"/site/page5.html", "/site/page8.html", "/site/page7.html",
                           "/site/page6.html", "/site/page4.html", "/site/page3.html"}));
    list.Add(QStringLiteral("/site/PAGE5.html")); // another file on Linux
    EXPECT_EQ(list.At(1), "/site/page5.html");

    // Names beyond ASCII and a removed entry read back as they were.
    list.Add(QString::fromUtf8("/site/caf\xc3\xa9.html"));
    list.Remove(3);
    CMemoryProfile profile;
    list.WriteList(profile);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", "?"),
              std::string("/site/caf\xc3\xa9.html"));
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File6", "?"), "");
    CRecentFileList read;
    read.ReadList(profile);
    EXPECT_EQ(read.Files(), list.Files());
    EXPECT_EQ(read.GetSize(), 5);

    // Gaps and repeats written by hand are skipped.
    CMemoryProfile edited;
    edited.WriteProfileString("Recent File List", "File2", "/a.html");
    edited.WriteProfileString("Recent File List", "File4", "/a.html");
    edited.WriteProfileString("Recent File List", "File6", "/b.html");
    read.ReadList(edited);
    EXPECT_EQ(read.Files(), QStringList({"/a.html", "/b.html"}));
}

TEST(RecentFileList, ShortensLongNamesKeepingTheFileName) {
    struct Case {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/srv/www/index.html", "/srv/www/index.html"},
        {"/home/ann/site/index.html", "~/site/index.html"},
        {"/home/annex/index.html", "/home/annex/index.html"}, // not inside /home/ann
        {"/srv/www/example.org/public/news/index.html", "/.../public/news/index.html"},
        {"/home/ann/projects/example.org/public/news/2024/index.html",
         "~/.../news/2024/index.html"},
        {"/srv/www/a-very-long-file-name-for-a-page.html", "a-very-long-file-name-for-a-page.html"},
        {"/srv/www/exactly-thirty-char.h", "/srv/www/exactly-thirty-char.h"},
    };
    for (const Case& c : cases) {
        const QString shown =
            CRecentFileList::AbbreviatePath(QString::fromUtf8(c.path), "/home/ann", 30);
        EXPECT_EQ(shown.toStdString(), c.shown) << c.path;
    }
}

// --- The command line and the first document ------------------------------------------

struct ParseCase {
    QStringList args;
    int status;
    StartupOptions::Kind kind;
    const char* output;   // part of what is printed
    bool project = false; // the first argument is the project folder
};

TEST(StartupOptions, ParsesFilesFoldersAndTheStandardOptions) {
    QCoreApplication::setApplicationName("TSLE");
    QCoreApplication::setApplicationVersion("1.0.1");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ParseCase cases[] = {
        {{"tsle"}, -1, StartupOptions::Kind::NEW_PAGE, ""},
        {{"tsle", "page.html"}, -1, StartupOptions::Kind::OPEN_FILE, ""},
        {{"tsle", "site.mtpl"}, -1, StartupOptions::Kind::OPEN_FILE, ""},
        {{"tsle", dir.path()}, -1, StartupOptions::Kind::OPEN_PROJECT, "", true},
        {{"tsle", dir.path(), "page.html"}, -1, StartupOptions::Kind::OPEN_FILE, "", true},
        {{"tsle", "--help"}, 0, StartupOptions::Kind::NEW_PAGE, "[folder] [file]"},
        {{"tsle", "--help-all"}, 0, StartupOptions::Kind::NEW_PAGE, "[folder] [file]"},
        {{"tsle", "--version"}, 0, StartupOptions::Kind::NEW_PAGE, "TSLE 1.0.1"},
        {{"tsle", "a.html", "b.html"}, 2, StartupOptions::Kind::NEW_PAGE, "a.html is not a folder"},
        {{"tsle", dir.path(), dir.path()}, 2, StartupOptions::Kind::NEW_PAGE, "is a folder"},
        {{"tsle", dir.path(), "a.html", "b.html"},
         2,
         StartupOptions::Kind::NEW_PAGE,
         "Too many arguments"},
        {{"tsle", "--bogus"}, 2, StartupOptions::Kind::NEW_PAGE, "bogus"},
        {{"tsle", "--screenshot", "page"}, 2, StartupOptions::Kind::NEW_PAGE, "SCENE,FILE"},
    };
    for (const ParseCase& c : cases) {
        StartupOptions options;
        QString output;
        const std::string args = c.args.join(' ').toStdString();
        EXPECT_EQ(ParseStartupOptions(c.args, options, output), c.status) << args;
        EXPECT_TRUE(output.contains(QString::fromUtf8(c.output)))
            << args << ": " << output.toStdString();
        if (c.status < 0) {
            EXPECT_EQ(options.kind, c.kind) << args;
            EXPECT_EQ(options.path, c.args.size() > 1 ? c.args.last() : QString()) << args;
            EXPECT_EQ(options.projectDir, c.project ? dir.path() : QString()) << args;
            EXPECT_TRUE(options.splash) << args;
        }
    }

    StartupOptions options;
    QString output;
    ASSERT_EQ(ParseStartupOptions({"tsle", "--screenshot", "template,/tmp/a,b.png", "x.html"},
                                  options, output),
              -1);
    EXPECT_EQ(options.screenshotScene, "template");
    EXPECT_EQ(options.screenshotFile, "/tmp/a,b.png");
    EXPECT_EQ(options.path, "x.html");
    EXPECT_FALSE(options.splash);

    // --site DIR: the site view on DIR, which is the project folder too.
    ASSERT_EQ(ParseStartupOptions({"tsle", "--site", dir.path()}, options, output), -1);
    EXPECT_EQ(options.siteDir, dir.path());
    EXPECT_EQ(options.projectDir, dir.path());
    EXPECT_EQ(options.kind, StartupOptions::Kind::NEW_PAGE);
    EXPECT_EQ(ParseStartupOptions({"tsle", "--site", "a.html"}, options, output), 2);
    EXPECT_TRUE(output.contains("a.html is not a folder")) << output.toStdString();
}

class FirstDocument : public DocFixture {};

TEST_F(FirstDocument, ATemplateOpensOverANewPageAndAFailureLeavesANewPage) {
    const QString page =
        Write("index.html", "<html><head><title>Home</title></head><body>x</body></html>");
    const QString templ =
        Write("site.mtpl", "<html><head><title action=\"1\">T</title></head></html>");

    StartupOptions options;
    options.kind = StartupOptions::Kind::OPEN_FILE;
    options.path = templ;
    EXPECT_TRUE(OpenStartupDocument(m_doc, options));
    EXPECT_EQ(m_doc.IsTemplateOpen(), 1);
    EXPECT_EQ(m_doc.GetTemplateName(), "site");
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_EQ(m_doc.IsModified(), 0);
    EXPECT_GE(m_observer.initialUpdates, 1); // the views know the new page

    CTesselDoc fresh;
    fresh.SetPrompt(&m_prompt);
    options.path = page;
    EXPECT_TRUE(OpenStartupDocument(fresh, options));
    EXPECT_EQ(fresh.GetPathName(), page);
    EXPECT_EQ(fresh.GetPageTitle(), "Home");

    // Upper-case MTPL is a page, and a missing one is reported, leaving a new page.
    CTesselDoc missing;
    missing.SetPrompt(&m_prompt);
    options.path = Path("GONE.MTPL");
    EXPECT_FALSE(OpenStartupDocument(missing, options));
    EXPECT_EQ(missing.IsTemplateOpen(), 0);
    EXPECT_EQ(missing.GetTitle(), "Untitled");
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_TRUE(Contains(m_prompt.messages[0], "Failed to open document."));

    options.kind = StartupOptions::Kind::NEW_PAGE;
    options.path.clear();
    CTesselDoc empty;
    EXPECT_TRUE(OpenStartupDocument(empty, options));
    EXPECT_EQ(empty.GetTitle(), "Untitled");
}

} // namespace
