// The main window's rules without widgets: command states, the recent-file
// list, the command line and the first document.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/command_states.h"
#include "app/recent_file_list.h"
#include "app/startup_options.h"
#include "document/doc_test_util.h"
#include "resource_ids.h"
#include "settings/memory_profile.h"

namespace {

struct StateCase {
    const char* name;
    FrameState state;
    int id;
    bool enabled;
    bool checked;
};

FrameState Template(bool open, bool editing, bool modified) {
    FrameState s;
    s.templateOpen = open;
    s.editingTemplate = editing;
    s.templateModified = modified;
    return s;
}

FrameState Clipboard(bool undo, bool cut, bool copy, bool paste) {
    FrameState s;
    s.canUndo = undo;
    s.canCut = cut;
    s.canCopy = copy;
    s.canPaste = paste;
    return s;
}

FrameState Bars(bool toolBar, bool statusBar, bool displayAll, int recent) {
    FrameState s;
    s.toolBarVisible = toolBar;
    s.statusBarVisible = statusBar;
    s.displayAll = displayAll;
    s.recentFileCount = recent;
    return s;
}

TEST(CommandStates, FollowTheTemplateTheViewAndTheBars) {
    const StateCase cases[] = {
        {"no template: only new and open", Template(false, false, false), ID_TEMPLATE_NEW, 1, 0},
        {"", Template(false, false, false), ID_TEMPLATE_OPEN, 1, 0},
        {"", Template(false, false, false), ID_TEMPLATE_SAVE, 0, 0},
        {"", Template(false, false, true), ID_TEMPLATE_SAVE, 0, 0},
        {"", Template(false, false, false), ID_TEMPLATE_SAVE_AS, 0, 0},
        {"", Template(false, false, false), ID_TEMPLATE_CLOSE, 0, 0},
        {"", Template(false, true, false), ID_TEMPLATE_EDIT, 0, 0},
        {"", Template(false, false, false), ID_TEMPLATE_APPLY, 0, 0},
        {"open template, unchanged", Template(true, false, false), ID_TEMPLATE_SAVE, 0, 0},
        {"", Template(true, false, true), ID_TEMPLATE_SAVE, 1, 0},
        {"", Template(true, false, false), ID_TEMPLATE_SAVE_AS, 1, 0},
        {"", Template(true, false, false), ID_TEMPLATE_CLOSE, 1, 0},
        {"edit is checked while editing", Template(true, false, false), ID_TEMPLATE_EDIT, 1, 0},
        {"", Template(true, true, false), ID_TEMPLATE_EDIT, 1, 1},
        {"apply only when not editing", Template(true, false, false), ID_TEMPLATE_APPLY, 1, 0},
        {"", Template(true, true, true), ID_TEMPLATE_APPLY, 0, 0},
        {"clipboard from the view", Clipboard(1, 0, 0, 0), ID_EDIT_UNDO, 1, 0},
        {"", Clipboard(0, 1, 1, 1), ID_EDIT_UNDO, 0, 0},
        {"", Clipboard(0, 1, 0, 0), ID_EDIT_CUT, 1, 0},
        {"", Clipboard(1, 0, 1, 1), ID_EDIT_CUT, 0, 0},
        {"", Clipboard(0, 0, 1, 0), ID_EDIT_COPY, 1, 0},
        {"", Clipboard(0, 0, 0, 1), ID_EDIT_PASTE, 1, 0},
        {"", Clipboard(1, 1, 1, 0), ID_EDIT_PASTE, 0, 0},
        {"bars and modes are checks", Bars(1, 0, 0, 0), ID_VIEW_TOOLBAR, 1, 1},
        {"", Bars(0, 1, 0, 0), ID_VIEW_TOOLBAR, 1, 0},
        {"", Bars(0, 1, 0, 0), ID_VIEW_STATUS_BAR, 1, 1},
        {"", Bars(1, 0, 1, 0), ID_VIEW_STATUS_BAR, 1, 0},
        {"", Bars(1, 1, 1, 0), ID_VIEW_ALL_FIELDS, 1, 1},
        {"", Bars(1, 1, 0, 0), ID_VIEW_ALL_FIELDS, 1, 0},
        {"recent entries that exist", Bars(1, 1, 0, 2), ID_FILE_MRU_FILE1 + 1, 1, 0},
        {"", Bars(1, 1, 0, 2), ID_FILE_MRU_FILE1 + 2, 0, 0},
        {"", Bars(1, 1, 0, 6), ID_FILE_MRU_FILE1 + 5, 1, 0},
        {"always there", FrameState{}, ID_FILE_SAVE, 1, 0},
        {"", FrameState{}, ID_FILE_BROWSE, 1, 0},
        {"", FrameState{}, ID_OPTIONS, 1, 0},
        {"", FrameState{}, ID_NEXT_PANE, 1, 0},
        {"served by panes that come later", FrameState{}, ID_FILE_PRINT, 0, 0},
        {"", FrameState{}, ID_VIEW_WEBPAGE, 0, 0},
        {"", FrameState{}, ID_VIEW_SPLIT, 0, 0},
        {"unknown ids", FrameState{}, 12345, 0, 0},
    };
    const char* group = "";
    for (const StateCase& c : cases) {
        if (*c.name)
            group = c.name;
        const CommandState s = CommandStateOf(c.id, c.state);
        EXPECT_EQ(s.enabled, c.enabled) << group << ": id " << c.id;
        EXPECT_EQ(s.checked, c.checked) << group << ": id " << c.id;
    }
}

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
        {{"tsle"}, -1, StartupOptions::NEW_PAGE, ""},
        {{"tsle", "page.html"}, -1, StartupOptions::OPEN_FILE, ""},
        {{"tsle", "site.mtpl"}, -1, StartupOptions::OPEN_FILE, ""},
        {{"tsle", dir.path()}, -1, StartupOptions::OPEN_PROJECT, "", true},
        {{"tsle", dir.path(), "page.html"}, -1, StartupOptions::OPEN_FILE, "", true},
        {{"tsle", "--help"}, 0, StartupOptions::NEW_PAGE, "[folder] [file]"},
        {{"tsle", "--version"}, 0, StartupOptions::NEW_PAGE, "TSLE 1.0.1"},
        {{"tsle", "a.html", "b.html"}, 2, StartupOptions::NEW_PAGE, "a.html is not a folder"},
        {{"tsle", dir.path(), dir.path()}, 2, StartupOptions::NEW_PAGE, "is a folder"},
        {{"tsle", dir.path(), "a.html", "b.html"},
         2,
         StartupOptions::NEW_PAGE,
         "Too many arguments"},
        {{"tsle", "--bogus"}, 2, StartupOptions::NEW_PAGE, "bogus"},
        {{"tsle", "--screenshot", "page"}, 2, StartupOptions::NEW_PAGE, "SCENE,FILE"},
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
}

class FirstDocument : public DocFixture {};

TEST_F(FirstDocument, ATemplateOpensOverANewPageAndAFailureLeavesANewPage) {
    const QString page =
        Write("index.html", "<html><head><title>Home</title></head><body>x</body></html>");
    const QString templ =
        Write("site.mtpl", "<html><head><title action=\"1\">T</title></head></html>");

    StartupOptions options;
    options.kind = StartupOptions::OPEN_FILE;
    options.path = templ;
    EXPECT_EQ(OpenStartupDocument(m_doc, options), 1);
    EXPECT_EQ(m_doc.IsTemplateOpen(), 1);
    EXPECT_EQ(m_doc.GetTemplateName(), "site");
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_EQ(m_doc.IsModified(), 0);
    EXPECT_GE(m_observer.initialUpdates, 1); // the views know the new page

    CTesselDoc fresh;
    fresh.SetPrompt(&m_prompt);
    options.path = page;
    EXPECT_EQ(OpenStartupDocument(fresh, options), 1);
    EXPECT_EQ(fresh.GetPathName(), page);
    EXPECT_EQ(fresh.GetPageTitle(), "Home");

    // Upper-case MTPL is a page, and a missing one is reported, leaving a new page.
    CTesselDoc missing;
    missing.SetPrompt(&m_prompt);
    options.path = Path("GONE.MTPL");
    EXPECT_EQ(OpenStartupDocument(missing, options), 0);
    EXPECT_EQ(missing.IsTemplateOpen(), 0);
    EXPECT_EQ(missing.GetTitle(), "Untitled");
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_TRUE(Contains(m_prompt.messages[0], "Failed to open document."));

    options.kind = StartupOptions::NEW_PAGE;
    options.path.clear();
    CTesselDoc empty;
    EXPECT_EQ(OpenStartupDocument(empty, options), 1);
    EXPECT_EQ(empty.GetTitle(), "Untitled");
}

} // namespace
