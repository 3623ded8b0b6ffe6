// The page document: new, open, save, the questions it asks and what it keeps.
#include <gtest/gtest.h>

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
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(path).toStdString(), saved.toStdString());
    // Saved again, a head in that form stays byte for byte.
    ASSERT_EQ(m_doc.OpenDocumentFile(path), 1);
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
