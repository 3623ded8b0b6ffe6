// The page document: new, open, save, the questions it asks and what it keeps.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include "doc_test_util.h"
#include "document/doc_texts.h"
#include "document/tessel_doc.h"
#include "settings/app_settings.h"

namespace {

using A = IUserPrompt::Answer;

const QByteArray kPage = "<html><HEAD><TITLE>Home</TITLE>\n<META NAME=\"Keywords\" CONTENT=\"a\">"
                         "</head><BODY>Body <B>kept</B></BODY></html>";
const QByteArray kNoMetaPage = "<title>t</title><body>b</body>";

class Doc : public DocFixture {
protected:
    // Opens a page and makes an unsaved edit to it.
    void OpenEdited(const QString& path) {
        ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
        m_doc.SetPageTitle("edited");
        m_doc.SetModifiedFlag();
    }
};

TEST_F(Doc, ANewPageIsUntitledAndEmpty) {
    EXPECT_EQ(m_doc.GetPageText(), NEW_PAGE_TEXT);
    EXPECT_EQ(m_doc.GetPageText(), std::string("<html><head></head><body>Empty file created by  "
                                               "<a href='") +
                                       PROGRAM_HOMEPAGE + "'>TSLE.</a></body></html>");
    EXPECT_EQ(m_doc.GetTitle(), "Untitled");
    EXPECT_EQ(m_doc.GetPageTitle(), "");
    std::string name, content;
    int httpEquiv = 0;
    EXPECT_EQ(m_doc.GetPageMetaAt(0, name, content, httpEquiv), 0);
    EXPECT_EQ(m_doc.IsModified(), 0);

    // The first meta tag goes right after <head>; Save asks for a name and writes it all.
    EXPECT_EQ(m_doc.SetMetaValue("keywords", "  a, b \t", 0), 1);
    m_doc.SetModifiedFlag();
    m_picker.answers = {Path("new.html")};
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(m_picker.requests[0].kind, IFilePicker::SAVE_FILE);
    EXPECT_EQ(m_picker.requests[0].initialName, "Untitled");
    EXPECT_EQ(ReadFile(Path("new.html")).toStdString(),
              "<html><head>\r\n\t<meta name=\"keywords\" content=\"a, b\"/></head>" +
                  std::string(NEW_PAGE_TEXT).substr(19));
    EXPECT_EQ(m_doc.GetPathName(), Path("new.html"));
    EXPECT_EQ(m_doc.GetTitle(), "new.html");
    EXPECT_EQ(m_doc.IsModified(), 0);
}

TEST_F(Doc, OpeningAndSavingKeepsTheBodyAndNormalizesTheHead) {
    const QString path = Write("page.html", kPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
    EXPECT_EQ(m_doc.GetPathName(), path);
    EXPECT_EQ(m_doc.GetPageTitle(), "Home");
    EXPECT_TRUE(m_prompt.messages.empty());
    EXPECT_EQ(m_observer.filesUsed, QStringList{path});
    // A page that replaces another starts the views afresh.
    EXPECT_EQ(m_observer.initialUpdates, 1);
    EXPECT_EQ(m_observer.updates, 0);
    // Saved without a change, the file stays as it is; with one, the head
    // is written normalized.
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(path), kPage);
    m_doc.SetModifiedFlag();
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(path), "<html><head><title>Home</title>\n<meta name=\"Keywords\" "
                              "content=\"a\"></head><BODY>Body <B>kept</B></BODY></html>");
}

// Saving lower-cases the names in the head's tags, never their values: quoted
// or not, they are data (addresses, file names) the user did not touch.
TEST_F(Doc, SavingKeepsTheValuesOfTheHeadsTags) {
    const QByteArray body = "<BODY CLASS=Main>Body</BODY></html>";
    const QString path = Write("page.html", "<html><HEAD><TITLE>Home</TITLE>\n"
                                            "<META NAME=\"Keywords\" CONTENT='A, b'>\n"
                                            "<META NAME=Author CONTENT=JohnSmith>\n"
                                            "<LINK REL=stylesheet HREF=/Styles/Main.css>\n"
                                            "<SCRIPT SRC=Lib.JS DEFER></SCRIPT></HEAD>" +
                                                body);
    const QByteArray saved = "<html><head><title>Home</title>\n"
                             "<meta name=\"Keywords\" content='A, b'>\n"
                             "<meta name=Author content=JohnSmith>\n"
                             "<link rel=stylesheet href=/Styles/Main.css>\n"
                             "<script src=Lib.JS defer></script></head>" +
                             body;
    ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
    std::string name, content;
    int httpEquiv = 0;
    ASSERT_EQ(m_doc.GetPageMetaAt(0, name, content, httpEquiv), 1);
    EXPECT_EQ(name + "=" + content, "Keywords=A, b");
    ASSERT_EQ(m_doc.GetPageMetaAt(1, name, content, httpEquiv), 1);
    EXPECT_EQ(name + "=" + content, "Author=JohnSmith");
    m_doc.SetModifiedFlag();
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(path).toStdString(), saved.toStdString());
    // Saved again, a head in that form stays byte for byte.
    ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
    m_doc.SetModifiedFlag();
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(path).toStdString(), saved.toStdString());
}

TEST_F(Doc, SetMetaValueTrimsAndRemovesEmptyValues) {
    Write("page.html", kPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("page.html")), 1);
    EXPECT_EQ(m_doc.SetMetaValue("keywords", " \r\n ", 0), 1);
    EXPECT_EQ(m_doc.SetMetaValue("Refresh", " 5 ", 1), 1);
    EXPECT_EQ(m_doc.GetPageText(),
              "<html><head>\r\n\t<meta http-equiv=\"Refresh\" content=\"5\"/><title>Home</title>\n"
              "</head><BODY>Body <B>kept</B></BODY></html>");
    std::string name, content;
    int httpEquiv = 0;
    ASSERT_EQ(m_doc.GetPageMetaAt(0, name, content, httpEquiv), 1);
    EXPECT_EQ(name + "=" + content, "Refresh=5");
    EXPECT_EQ(httpEquiv, 1);
    EXPECT_EQ(m_doc.SetPageTitle("a<b"), 1);
    EXPECT_EQ(m_doc.GetPageTitle(), "a&lt;b");
    EXPECT_EQ(m_doc.GetBodyText(), "Body kept");
    // None of these marks the page modified: the view does.
    EXPECT_EQ(m_doc.IsModified(), 0);
}

TEST_F(Doc, AFileThatCannotBeReadLeavesANewPageAndSaysWhy) {
    Write("binary.html", QByteArray("<html>\0", 7));
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {Path("missing.html"), "No such file or directory"},
        {m_dir.path(), "Is a directory"},
        {Path("binary.html"), "zero bytes"},
    };
    Write("page.html", kPage);
    for (const auto& c : cases) {
        ASSERT_EQ(m_doc.OpenDocumentFile(Path("page.html")), 1);
        m_prompt.messages.clear();
        EXPECT_EQ(m_doc.OpenDocumentFile(c.path), 0);
        ASSERT_EQ(m_prompt.messages.size(), 1u) << c.reason;
        EXPECT_TRUE(Contains(m_prompt.messages[0], "Failed to open document."));
        EXPECT_TRUE(Contains(m_prompt.messages[0], c.path.toStdString()));
        EXPECT_TRUE(Contains(m_prompt.messages[0], c.reason)) << m_prompt.messages[0];
        EXPECT_EQ(m_doc.GetPageText(), NEW_PAGE_TEXT);
        EXPECT_EQ(m_doc.GetPathName(), "");
        EXPECT_EQ(m_doc.GetTitle(), "Untitled");
        EXPECT_EQ(m_doc.IsModified(), 0);
    }
}

TEST_F(Doc, APageWithoutPlaceForMetaIsNeverWritten) {
    const QString path = Write("nometa.html", kNoMetaPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0], "Unable to find correct position for meta-data, no changes "
                                    "will be written to this file.");
    EXPECT_EQ(m_doc.HasNoMetaPosition(), 1);

    // Save: nothing written, the user is told, the page stays modified.
    m_doc.SetPageTitle("changed");
    m_doc.SetModifiedFlag();
    m_prompt.messages.clear();
    EXPECT_EQ(m_doc.FileSave(), 0);
    EXPECT_EQ(ReadFile(path), kNoMetaPage);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_TRUE(Contains(m_prompt.messages[0], "no changes"));
    EXPECT_EQ(m_doc.IsModified(), 1);

    // Save As: no file appears and the document keeps its path.
    m_prompt.messages.clear();
    EXPECT_EQ(m_doc.FileSaveAs(), 0);
    EXPECT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_doc.OnSaveDocument(Path("other.html")), 0);
    EXPECT_FALSE(QFileInfo::exists(Path("other.html")));
    EXPECT_EQ(m_doc.GetPathName(), path);
    EXPECT_EQ(m_doc.IsModified(), 1);

    // A new page lifts the rule.
    m_doc.OnNewDocument();
    EXPECT_EQ(m_doc.HasNoMetaPosition(), 0);
}

TEST_F(Doc, AFailedSaveKeepsTheFileAndTheModifiedMark) {
    const QString path = Write("page.html", kPage);
    OpenEdited(path);
    UnwritableDir locked(QFile::encodeName(m_dir.path()).toStdString());
    if (!locked.ok())
        SKIP_FAULT_TEST("cannot make a read-only folder here");
    EXPECT_EQ(m_doc.FileSave(), 0);
    EXPECT_EQ(ReadFile(path), kPage);
    EXPECT_EQ(m_doc.IsModified(), 1);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_TRUE(Contains(m_prompt.messages[0], "Failed to save document."));
    EXPECT_TRUE(Contains(m_prompt.messages[0], path.toStdString() + ": "));
}

// Every way of replacing a modified page asks first.
TEST_F(Doc, UnsavedEditsAreAskedAboutOnEveryRoad) {
    const QString page = Write("page.html", kPage);
    const QString other = Write("other.html", "<html><head></head><body>o</body></html>");
    const struct {
        const char* road;
        A answer;
        bool replaced;
        QByteArray savedPage;
    } cases[] = {
        {"open", A::ANSWER_CANCEL, false, kPage}, {"open", A::ANSWER_NO, true, kPage},
        {"open", A::ANSWER_YES, true, ""},        {"file-open", A::ANSWER_CANCEL, false, kPage},
        {"file-open", A::ANSWER_NO, true, kPage}, {"file-open", A::ANSWER_YES, true, ""},
        {"new", A::ANSWER_CANCEL, false, kPage},  {"new", A::ANSWER_YES, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.road) + " answered " + std::to_string(c.answer));
        WriteFile(page, kPage);
        OpenEdited(page);
        m_prompt.questions.clear();
        m_prompt.answers = {c.answer};
        int result = 0;
        if (std::string(c.road) == "open") {
            result = m_doc.OpenDocumentFile(other);
        } else if (std::string(c.road) == "file-open") {
            m_picker.answers = {other};
            result = m_doc.FileOpen();
        } else {
            result = m_doc.FileNew();
        }
        ASSERT_EQ(m_prompt.questions.size(), 1u);
        EXPECT_EQ(m_prompt.questions[0], "Save changes to page.html?");
        EXPECT_EQ(m_prompt.buttonsAsked[0], IUserPrompt::YES_NO_CANCEL);
        EXPECT_EQ(result, c.replaced ? 1 : 0);
        if (c.replaced) {
            EXPECT_NE(m_doc.GetPathName(), page);
            EXPECT_EQ(m_doc.IsModified(), 0);
        } else {
            EXPECT_EQ(m_doc.GetPathName(), page);
            EXPECT_EQ(m_doc.GetPageTitle(), "edited");
            EXPECT_EQ(m_doc.IsModified(), 1);
        }
        if (c.savedPage.isEmpty())
            EXPECT_TRUE(ReadFile(page).contains("<title>edited</title>"));
        else
            EXPECT_EQ(ReadFile(page), c.savedPage);
    }
}

TEST_F(Doc, SavingAnUntitledPageOnCloseAsksForAName) {
    m_doc.SetModifiedFlag();
    m_prompt.answers = {A::ANSWER_YES};
    m_picker.answers = {QString()}; // the Save As dialog is cancelled
    EXPECT_EQ(m_doc.CanCloseFrame(), 0);
    EXPECT_EQ(m_prompt.questions.back(), "Save changes to Untitled?");
    m_prompt.answers = {A::ANSWER_NO};
    EXPECT_EQ(m_doc.CanCloseFrame(), 1);
}

TEST_F(Doc, OpenRoutesTemplatesByTheirExactExtension) {
    Write("notes.mtpl", "<html><head><title action=\"1\">T</title></head><body></body></html>");
    Write("NOTES.MTPL", kPage);
    Write("page.html", kPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("page.html")), 1);

    // Recent files or the file browser: the page stays open.
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("notes.mtpl")), 1);
    EXPECT_EQ(m_doc.IsTemplateOpen(), 1);
    EXPECT_EQ(m_doc.GetTemplateName(), "notes");
    EXPECT_EQ(m_doc.GetPathName(), Path("page.html"));

    // File Open resets the page first.
    m_picker.answers = {Path("notes.mtpl")};
    ASSERT_EQ(m_doc.FileOpen(), 1);
    EXPECT_EQ(m_doc.GetPageText(), NEW_PAGE_TEXT);
    EXPECT_EQ(m_doc.GetPathName(), "");

    ASSERT_EQ(m_doc.OpenDocumentFile(Path("NOTES.MTPL")), 1);
    EXPECT_EQ(m_doc.GetPathName(), Path("NOTES.MTPL"));
    EXPECT_EQ(m_doc.GetPageTitle(), "Home");
}

TEST_F(Doc, FileOpenOffersTheFileTypes) {
    EXPECT_EQ(CTesselDoc::OpenFilter("*.htm;*.php"),
              "Web page files (*.htm;*.php)|*.htm;*.php|Meta-tag template files (*.mtpl)|*.mtpl|"
              "All files (*.*)|*.*||");
    EXPECT_EQ(CTesselDoc::OpenFilter(""), "All files (*.*)|*.*||");
    EXPECT_EQ(NameFilters(CTesselDoc::OpenFilter("*.htm;*.php")),
              (QStringList{"Web page files (*.htm *.php)", "Meta-tag template files (*.mtpl)",
                           "All files (*.*)"}));

    // The document reads the one file-types setting at each use.
    CAppSettings settings;
    m_doc.SetSettings(&settings);
    settings.m_strFileTypes = "*.htm";
    m_picker.answers = {QString()};
    EXPECT_EQ(m_doc.FileOpen(), 0);
    ASSERT_EQ(m_picker.requests.size(), 1u);
    EXPECT_EQ(m_picker.requests[0].kind, IFilePicker::OPEN_FILE);
    EXPECT_EQ(m_picker.requests[0].filter, CTesselDoc::OpenFilter("*.htm"));
    EXPECT_EQ(m_picker.requests[0].defaultExtension, "");
}

TEST_F(Doc, BrowseStoresTheFolderWithoutATrailingSlash) {
    const struct {
        QString given;
        QString stored;
    } cases[] = {{"/srv/site/", "/srv/site"}, {"/srv/site", "/srv/site"}, {"/", "/"}};
    for (const auto& c : cases) {
        m_doc.SetProjectDir(c.given);
        EXPECT_EQ(m_doc.GetProjectDir(), c.stored);
    }
    m_picker.answers = {m_dir.path() + "/"};
    ASSERT_EQ(m_doc.OnBrowse(), 1);
    EXPECT_EQ(m_picker.requests[0].kind, IFilePicker::FOLDER);
    EXPECT_EQ(m_picker.requests[0].caption, "Select project directory");
    EXPECT_EQ(m_doc.GetProjectDir(), m_dir.path());
    EXPECT_EQ(m_observer.projectDirChanges, 1);
    m_picker.answers = {QString()};
    EXPECT_EQ(m_doc.OnBrowse(), 0);
    EXPECT_EQ(m_doc.GetProjectDir(), m_dir.path());
}

} // namespace

// What another program did to the open page's or template's file, what the
// save asks, and what each answer leaves on disk and in the document. Both
// files are guarded alike.
TEST_F(Doc, ASaveNeverWritesOverAnotherProgramsChangeWithoutAsking) {
    const QByteArray theirs = "<html><head><title>Theirs</title></head><body>new</body></html>";
    enum Done { NOTHING, TOUCHED, REWRITTEN, RENAMED_OVER, LINKED, DELETED };
    enum Holds { ORIGINAL, OURS, THEIRS, NONE };
    const struct {
        const char* name;
        bool edited; // an unsaved edit before the save
        Done done;
        std::vector<A> answers; // empty: no question
        int saved;              // the save's result
        Holds fileHolds;
        const char* titleAfter; // the document's title afterwards
    } cases[] = {
        {"unedited, untouched: nothing written", false, NOTHING, {}, 1, ORIGINAL, "Home"},
        {"unedited, changed: asked, Cancel",
         false,
         REWRITTEN,
         {A::ANSWER_CANCEL},
         0,
         THEIRS,
         "Home"},
        {"same bytes written again", true, TOUCHED, {}, 1, OURS, "edited"},
        {"changed, Cancel", true, REWRITTEN, {A::ANSWER_CANCEL}, 0, THEIRS, "edited"},
        {"changed, Overwrite", true, REWRITTEN, {A::ANSWER_OVERWRITE}, 1, OURS, "edited"},
        {"changed, Reload", true, REWRITTEN, {A::ANSWER_RELOAD}, 0, THEIRS, "Theirs"},
        {"renamed over (sed -i), Overwrite",
         true,
         RENAMED_OVER,
         {A::ANSWER_OVERWRITE},
         1,
         OURS,
         "edited"},
        {"replaced by a link, Cancel", true, LINKED, {A::ANSWER_CANCEL}, 0, THEIRS, "edited"},
        {"replaced by a link, Overwrite", true, LINKED, {A::ANSWER_OVERWRITE}, 1, OURS, "edited"},
        {"deleted, Cancel", true, DELETED, {A::ANSWER_CANCEL}, 0, NONE, "edited"},
        {"deleted, Save", true, DELETED, {A::ANSWER_OVERWRITE}, 1, OURS, "edited"},
        {"deleted, Save As", true, DELETED, {A::ANSWER_SAVE_AS}, 1, NONE, "edited"},
    };
    // The same for the page and for the template.
    struct Kind {
        const char* fileName;
        const char* what; // how the question names the file
        std::function<void(const QString&)> open;
        std::function<void()> edit;
        std::function<int()> save;
        std::function<std::string()> title;
        std::function<bool()> modified;
    };
    const Kind kinds[] = {
        {"page.html", "The page page.html was ",
         [this](const QString& path) { ASSERT_EQ(m_doc.OpenDocumentFile(path), 1); },
         [this] {
             m_doc.SetPageTitle("edited");
             m_doc.SetModifiedFlag();
         },
         [this] { return m_doc.FileSave(); }, [this] { return m_doc.GetPageTitle(); },
         [this] { return m_doc.IsModified() != 0; }},
        {"t.mtpl", "The template t.mtpl was ",
         [this](const QString& path) { ASSERT_EQ(m_doc.ReadTemplateFile(path), 1); },
         [this] {
             m_doc.SetTemplateTitle("edited", 1);
             m_doc.SetTemplateModified();
         },
         [this] { return m_doc.SaveTemplate(); },
         [this] {
             std::string title;
             int action = 0;
             m_doc.GetTemplateTitle(title, action);
             return title;
         },
         [this] { return m_doc.IsTemplateModified() != 0; }},
    };
    for (const Kind& kind : kinds) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(kind.fileName) + ": " + c.name);
            QTemporaryDir dir;
            const QString path = dir.filePath(kind.fileName);
            const QString target = dir.filePath("target.html");
            const QString elsewhere = dir.filePath(QString("elsewhere-") + kind.fileName);
            WriteFile(path, kPage);
            kind.open(path);
            if (c.edited)
                kind.edit();
            const QFileInfo before(path);
            switch (c.done) {
            case NOTHING:
                break;
            case TOUCHED:
                WriteFile(path, kPage);
                break;
            case REWRITTEN:
                WriteFile(path, theirs);
                break;
            case RENAMED_OVER:
                WriteFile(dir.filePath("tmp"), theirs);
                ASSERT_EQ(::rename(QFile::encodeName(dir.filePath("tmp")), QFile::encodeName(path)),
                          0);
                break;
            case LINKED:
                WriteFile(target, theirs);
                ASSERT_TRUE(QFile::remove(path));
                ASSERT_TRUE(QFile::link(target, path));
                break;
            case DELETED:
                ASSERT_TRUE(QFile::remove(path));
                break;
            }
            m_prompt.answers.assign(c.answers.begin(), c.answers.end());
            m_prompt.questions.clear();
            m_prompt.buttonsAsked.clear();
            m_picker.answers.clear();
            if (!c.answers.empty() && c.answers[0] == A::ANSWER_SAVE_AS)
                m_picker.answers = {elsewhere};

            EXPECT_EQ(kind.save(), c.saved);
            ASSERT_EQ(m_prompt.questions.size(), c.answers.size());
            if (!c.answers.empty()) {
                EXPECT_TRUE(Contains(m_prompt.questions[0], kind.what)) << m_prompt.questions[0];
                EXPECT_EQ(m_prompt.buttonsAsked[0], c.done == DELETED
                                                        ? IUserPrompt::SAVE_AS_SAVE_CANCEL
                                                        : IUserPrompt::RELOAD_OVERWRITE_CANCEL);
            }
            switch (c.fileHolds) {
            case ORIGINAL:
                EXPECT_EQ(ReadFile(path), kPage);
                EXPECT_EQ(QFileInfo(path).lastModified(), before.lastModified());
                EXPECT_EQ(QFileInfo(path).fileTime(QFile::FileMetadataChangeTime),
                          before.fileTime(QFile::FileMetadataChangeTime));
                break;
            case OURS:
                EXPECT_TRUE(ReadFile(path).contains(">edited</title>")) << ReadFile(path).data();
                break;
            case THEIRS:
                EXPECT_EQ(ReadFile(path), theirs);
                break;
            case NONE:
                EXPECT_FALSE(QFileInfo::exists(path));
                break;
            }
            const bool savedAs = !c.answers.empty() && c.answers[0] == A::ANSWER_SAVE_AS;
            EXPECT_EQ(ReadFile(elsewhere).contains(">edited</title>"), savedAs);
            // The link's target is never written through.
            if (c.done == LINKED) {
                EXPECT_EQ(ReadFile(target), theirs);
                EXPECT_EQ(QFileInfo(path).isSymLink(), c.fileHolds == THEIRS);
            }
            EXPECT_EQ(kind.title(), c.titleAfter);
            EXPECT_EQ(kind.modified(),
                      c.edited && c.saved == 0 && c.titleAfter != std::string("Theirs"));
            m_doc.SetTemplateModified(0);
            m_doc.CloseTemplate();
            m_doc.OnNewDocument();
        }
    }
}

// The window's notice follows the file on disk; Save As answers for a deleted
// page; a page saved without changes is not written at all.
TEST_F(Doc, ChangesOnDiskAreNoticedUntilReloadedOrSavedOver) {
    const QString path = Write("page.html", kPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
    const QDateTime written = QFileInfo(path).lastModified();
    EXPECT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
    EXPECT_TRUE(m_prompt.questions.empty());

    WriteFile(path, "<html><head><title>Theirs</title></head></html>");
    m_doc.CheckDisk();
    EXPECT_EQ(m_doc.GetPageDiskChange(), DiskChange::CHANGED);
    EXPECT_EQ(m_doc.GetDiskNotice(), "The page page.html was changed on disk by another program.");
    // Unmodified: reloaded without a question.
    EXPECT_EQ(m_doc.ReloadPage(), 1);
    EXPECT_EQ(m_doc.GetPageTitle(), "Theirs");
    EXPECT_EQ(m_doc.GetPageDiskChange(), DiskChange::NONE);
    EXPECT_EQ(m_doc.GetDiskNotice(), "");

    // Deleted: Save As writes elsewhere and the document follows.
    m_doc.SetPageTitle("mine");
    m_doc.SetModifiedFlag();
    ASSERT_TRUE(QFile::remove(path));
    m_doc.CheckDisk();
    EXPECT_EQ(m_doc.GetDiskNotice(), "The page page.html was deleted from disk.");
    m_prompt.answers = {A::ANSWER_SAVE_AS};
    m_picker.answers = {Path("elsewhere.html")};
    EXPECT_EQ(m_doc.FileSave(), 1);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(ReadFile(Path("elsewhere.html")).contains("<title>mine</title>"));
    EXPECT_EQ(m_doc.GetPathName(), Path("elsewhere.html"));
    EXPECT_EQ(m_doc.IsModified(), 0);
    EXPECT_EQ(m_doc.GetDiskNotice(), "");
}
