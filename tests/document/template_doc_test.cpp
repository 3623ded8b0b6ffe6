// Template commands of the document: new, open, save, close, edit, apply.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "doc_test_util.h"
#include "document/doc_texts.h"
#include "document/tessel_doc.h"

namespace {

using A = IUserPrompt::Answer;

const QByteArray kPage = "<html><head><title>Home</title><meta name=\"keywords\" content=\"a\">"
                         "<meta name=\"empty\" content=\"\">"
                         "<meta http-equiv=\"Refresh\" content=\"5\"></head><body>b</body></html>";
const QByteArray kTemplate = "<html><head><meta name=\"keywords\" content=\"k\" action=\"6\"/>"
                             "<meta name=\"robots\" content=\"noindex\" action=\"3\"/>"
                             "<title action=\"7\">Site</title></head><body></body></html>";

class TemplateDoc : public DocFixture {
protected:
    // An open template with an unsaved edit.
    void OpenModified(const QString& path) {
        ASSERT_EQ(m_doc.ReadTemplateFile(path), 1);
        m_doc.SetTemplateMeta("author", "me", 0, 1);
        m_doc.SetTemplateModified();
    }
};

TEST_F(TemplateDoc, ANewTemplateRoundTripsThroughItsFile) {
    // An empty page: no question about basing the template on it.
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    EXPECT_TRUE(m_prompt.questions.empty());
    EXPECT_EQ(m_doc.IsTemplateOpen(), 1);
    EXPECT_EQ(m_doc.IsEditingTemplate(), 1);
    EXPECT_EQ(m_doc.IsTemplateModified(), 0);
    EXPECT_EQ(m_doc.GetTemplateName(), "unnamed template");
    EXPECT_EQ(m_doc.GetTemplateText(), NEW_TEMPLATE_TEXT);

    m_doc.SetTemplateMeta("keywords", "a, b", 0, 3);
    m_doc.SetTemplateMeta("description", "x", 0, 4);
    m_doc.SetTemplateMeta("Expires", "0", 1, 5);
    m_doc.SetTemplateTitle("Home", 6);
    m_doc.SetTemplateModified();

    // Save without a path asks for one.
    m_picker.answers = {Path("site.mtpl")};
    ASSERT_EQ(m_doc.SaveTemplate(), 1);
    const IFilePicker::Request& request = m_picker.requests.at(0);
    EXPECT_EQ(request.kind, IFilePicker::SAVE_FILE);
    EXPECT_EQ(request.defaultExtension, "mtpl");
    EXPECT_EQ(request.initialName, "unnamed template");
    EXPECT_EQ(request.filter, "Templates (*.mtpl)|*.mtpl|All files (*.*)|*.*||");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(m_doc.GetTemplateName(), "site");
    EXPECT_EQ(m_doc.IsTemplateModified(), 0);
    EXPECT_EQ(ReadFile(Path("site.mtpl")).toStdString(),
              "<html><head><meta name=\"keywords\" content=\"a, b\" action=\"3\"/>"
              "<meta name=\"description\" content=\"x\" action=\"4\"/>"
              "<meta http-equiv=\"Expires\" content=\"0\" action=\"5\"/>"
              "<title action=\"6\">Home</title></head>" +
                  std::string(NEW_TEMPLATE_TEXT).substr(19));

    ASSERT_EQ(m_doc.CloseTemplate(), 1);
    EXPECT_EQ(m_doc.IsTemplateOpen(), 0);
    EXPECT_EQ(m_doc.IsEditingTemplate(), 0);
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("site.mtpl")), 1);

    std::string title;
    int action = 0;
    ASSERT_EQ(m_doc.GetTemplateTitle(title, action), 1);
    EXPECT_EQ(title, "Home");
    EXPECT_EQ(action, 6);
    const struct {
        const char* name;
        const char* content;
        int httpEquiv;
        int action;
    } expected[] = {{"keywords", "a, b", 0, 3}, {"description", "x", 0, 4}, {"Expires", "0", 1, 5}};
    std::string name, content;
    int httpEquiv = 0;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(m_doc.GetTemplateMetaAt(i, name, content, httpEquiv, action), 1);
        EXPECT_EQ(name, expected[i].name);
        EXPECT_EQ(content, expected[i].content);
        EXPECT_EQ(httpEquiv, expected[i].httpEquiv);
        EXPECT_EQ(action, expected[i].action);
    }
    EXPECT_EQ(m_doc.GetTemplateMetaAt(3, name, content, httpEquiv, action), 0);
    EXPECT_EQ(m_doc.GetTemplatePath(), Path("site.mtpl"));
}

TEST_F(TemplateDoc, ANewTemplateCanCopyThePage) {
    WriteFile(Path("page.html"), kPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("page.html")), 1);

    m_prompt.answers = {A::ANSWER_YES};
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    EXPECT_EQ(m_prompt.questions.at(0), "Base new template on current page?");
    EXPECT_EQ(m_prompt.buttonsAsked.at(0), IUserPrompt::YES_NO);
    EXPECT_EQ(m_doc.IsTemplateModified(), 1);
    // Every copied tag is set-if-missing; tags with empty content are left out.
    EXPECT_EQ(m_doc.GetTemplateText(),
              "<html><head><meta name=\"keywords\" content=\"a\" action=\"3\"/>"
              "<meta http-equiv=\"Refresh\" content=\"5\" action=\"3\"/>"
              "<title action=\"3\">Home</title></head>" +
                  std::string(NEW_TEMPLATE_TEXT).substr(19));

    m_prompt.answers = {A::ANSWER_NO, A::ANSWER_NO}; // discard it; don't base the next on the page
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    EXPECT_EQ(m_prompt.questions.at(1), "Save changes to unnamed template");
    EXPECT_EQ(m_doc.GetTemplateText(), NEW_TEMPLATE_TEXT);
    EXPECT_EQ(m_doc.IsTemplateModified(), 0);

    // A page in another encoding gives the (UTF-8) template its characters.
    WriteFile(Path("koi8.html"),
              "<html><head><meta charset=\"koi8-r\"><title>\xF0\xD2\xC9\xD7\xC5\xD4"
              "</title></head><body></body></html>");
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("koi8.html")), 1);
    m_prompt.answers = {A::ANSWER_YES};
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    EXPECT_NE(m_doc.GetTemplateText().find("<title action=\"3\">\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2"
                                           "\xD0\xB5\xD1\x82</title>"),
              std::string::npos)
        << m_doc.GetTemplateText();
}

// New, Open (every road) and Close all ask before dropping unsaved template edits.
TEST_F(TemplateDoc, UnsavedTemplateEditsAreAskedAbout) {
    const QString first = Write("first.mtpl", kTemplate);
    const QString second = Write("second.mtpl", kTemplate);
    Write("page.html", "<html><head></head><body></body></html>");
    const std::vector<std::string> roads = {"new", "template-open", "file-open", "recent", "close"};
    for (const std::string& road : roads) {
        for (const A answer : {A::ANSWER_YES, A::ANSWER_NO, A::ANSWER_CANCEL}) {
            SCOPED_TRACE(road + " answered " + std::to_string(answer));
            WriteFile(first, kTemplate);
            OpenModified(first);
            m_prompt.questions.clear();
            m_prompt.answers = {answer};
            int result = 0;
            if (road == "new") {
                result = m_doc.NewTemplate();
            } else if (road == "template-open") {
                m_picker.answers = {second};
                result = m_doc.OnTemplateOpen();
                EXPECT_EQ(m_picker.requests.back().initialName, "first");
                EXPECT_TRUE(m_picker.requests.back().folderMustExist);
            } else if (road == "file-open") {
                m_picker.answers = {second};
                result = m_doc.FileOpen();
            } else if (road == "recent") {
                result = m_doc.OpenDocumentFile(second);
            } else {
                result = m_doc.CloseTemplate();
            }
            ASSERT_EQ(m_prompt.questions.size(), 1u);
            EXPECT_EQ(m_prompt.questions[0], "Save changes to first");
            EXPECT_EQ(result, answer == A::ANSWER_CANCEL ? 0 : 1);
            const bool saved = ReadFile(first).contains("author");
            EXPECT_EQ(saved, answer == A::ANSWER_YES);
            if (answer == A::ANSWER_CANCEL) {
                EXPECT_EQ(m_doc.GetTemplateName(), "first");
                EXPECT_EQ(m_doc.IsTemplateModified(), 1);
                EXPECT_EQ(m_doc.IsTemplateOpen(), 1);
            }
            m_doc.SetTemplateModified(0);
            m_doc.CloseTemplate();
        }
    }
}

TEST_F(TemplateDoc, ClosingTheWindowAsksAboutTheTemplateThenThePage) {
    OpenModified(Write("t.mtpl", kTemplate));
    m_doc.SetModifiedFlag();
    m_prompt.answers = {A::ANSWER_CANCEL};
    EXPECT_EQ(m_doc.CanCloseFrame(), 0);
    m_prompt.answers = {A::ANSWER_NO, A::ANSWER_CANCEL};
    EXPECT_EQ(m_doc.CanCloseFrame(), 0);
    EXPECT_EQ(m_prompt.questions,
              (std::vector<std::string>{"Save changes to t", "Save changes to t",
                                        "Save changes to Untitled?"}));
    m_prompt.answers = {A::ANSWER_NO, A::ANSWER_NO};
    EXPECT_EQ(m_doc.CanCloseFrame(), 1);
}

TEST_F(TemplateDoc, AnUnreadableTemplateIsClosedWithTheReason) {
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    ASSERT_EQ(m_doc.IsEditingTemplate(), 1);
    const QString missing = Path("missing.mtpl");
    EXPECT_EQ(m_doc.ReadTemplateFile(missing), 0);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0], "Failed to read template file.\n" + missing.toStdString() +
                                        ": No such file or directory");
    EXPECT_EQ(m_doc.IsTemplateOpen(), 0);
    EXPECT_EQ(m_doc.IsEditingTemplate(), 0);
    EXPECT_EQ(m_doc.GetTemplateName(), "");
    EXPECT_EQ(m_doc.GetTemplatePath(), "");
}

TEST_F(TemplateDoc, AFailedTemplateSaveKeepsTheFileNameAndModifiedMark) {
    const QString path = Write("t.mtpl", kTemplate);
    OpenModified(path);
    UnwritableDir locked(QFile::encodeName(m_dir.path()).toStdString());
    if (!locked.ok())
        SKIP_FAULT_TEST("cannot make a read-only folder here");
    EXPECT_EQ(m_doc.SaveTemplate(), 0);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_TRUE(Contains(m_prompt.messages[0], "File error, unable to save " + path.toStdString()));
    EXPECT_EQ(m_doc.IsTemplateModified(), 1);
    EXPECT_EQ(ReadFile(path), kTemplate);

    // Save As to a name that cannot be written keeps naming the old file.
    m_picker.answers = {Path("other.mtpl")};
    EXPECT_EQ(m_doc.SaveTemplateAs(), 0);
    EXPECT_EQ(m_doc.GetTemplatePath(), path);
    EXPECT_EQ(m_doc.GetTemplateName(), "t");
    EXPECT_FALSE(QFileInfo::exists(Path("other.mtpl")));
}

TEST_F(TemplateDoc, SaveWritesToTheTemplateLastOpened) {
    const QString first = Write("first.mtpl", kTemplate);
    const QString second = Write("second.mtpl", kTemplate);
    ASSERT_EQ(m_doc.ReadTemplateFile(first), 1);
    ASSERT_EQ(m_doc.ReadTemplateFile(second), 1);
    m_doc.SetTemplateTitle("Second", 1);
    m_doc.SetTemplateModified();
    ASSERT_EQ(m_doc.SaveTemplate(), 1);
    EXPECT_EQ(ReadFile(first), kTemplate);
    EXPECT_TRUE(ReadFile(second).contains("<title action=\"1\">Second</title>"));
}

// A template with no place for meta tags is not written: it says why and
// keeps the typed values.
TEST_F(TemplateDoc, ASaveKeepsTypedValuesATemplateHasNoPlaceFor) {
    const QByteArray plain = "Just some notes, no markup.";
    ASSERT_EQ(m_doc.ReadTemplateFile(Write("notes.mtpl", plain)), 1);
    m_doc.SetTemplateMeta("keywords", "typed", 0, 1);
    m_doc.SetTemplateModified();
    m_prompt.messages.clear();
    EXPECT_EQ(m_doc.SaveTemplate(), 0);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0], "Unable to find correct position for meta-data, no changes "
                                    "will be written to this file.");
    EXPECT_EQ(ReadFile(Path("notes.mtpl")), plain);
    EXPECT_EQ(m_doc.IsTemplateModified(), 1);
}

TEST_F(TemplateDoc, ApplyMergesIntoThePageAndMarksItModified) {
    Write("page.html", kPage);
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("page.html")), 1);
    ASSERT_EQ(m_doc.ReadTemplateFile(Write("t.mtpl", kTemplate)), 1);
    EXPECT_EQ(m_doc.CanApplyTemplate(), 1);
    const int updates = m_observer.updates;
    ASSERT_EQ(m_doc.ApplyTemplate(), 1);
    EXPECT_EQ(m_doc.IsModified(), 1);
    EXPECT_EQ(m_doc.IsTemplateModified(), 0);
    EXPECT_EQ(m_observer.updates, updates + 1);
    EXPECT_EQ(m_doc.GetPageTitle(), "Site Home");
    EXPECT_EQ(m_doc.GetPageText(),
              "<html><head><title>Site Home</title><meta name=\"keywords\" content=\"a k\"/>"
              "<meta name=\"empty\" content=\"\"><meta http-equiv=\"Refresh\" content=\"5\">"
              "\r\n\t<meta name=\"robots\" content=\"noindex\"/></head><body>b</body></html>");
}

// Template values are text: they reach a page in the page's own encoding,
// and a character the page cannot hold leaves the page as it was.
TEST_F(TemplateDoc, ApplyWritesValuesInThePagesEncoding) {
    Write("page.html", "<html><head><meta charset=\"windows-1252\"><title>Caf\xE9</title>"
                       "</head><body>b</body></html>");
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("page.html")), 1);
    ASSERT_EQ(m_doc.ReadTemplateFile(Write("cup.mtpl", "<html><head><title action=\"1\">"
                                                       "Tea \xE2\x98\x95</title></head></html>")),
              1);
    const std::string before = m_doc.GetPageText();
    EXPECT_EQ(m_doc.ApplyTemplate(), 0);
    EXPECT_EQ(m_doc.GetPageText(), before);
    EXPECT_EQ(m_doc.IsModified(), 0);
    EXPECT_EQ(m_doc.IsTrackingEdits(), 1);
    ASSERT_FALSE(m_prompt.messages.empty());
    EXPECT_EQ(m_prompt.messages.back(),
              "title: The character \"\xE2\x98\x95\" (U+2615) cannot be written in the "
              "encoding windows-1252.");
    ASSERT_EQ(
        m_doc.ReadTemplateFile(Write("t.mtpl", "<html><head><title action=\"1\">"
                                               "Th\xC3\xA9\xC3\xA2tre</title></head></html>")),
        1);
    ASSERT_EQ(m_doc.ApplyTemplate(), 1);
    EXPECT_NE(m_doc.GetPageText().find("<title>Th\xE9\xE2tre</title>"), std::string::npos);
}

TEST_F(TemplateDoc, EditingSwitchesTheViewsBetweenPageAndTemplate) {
    ASSERT_EQ(m_doc.ReadTemplateFile(Write("t.mtpl", kTemplate)), 1);
    EXPECT_EQ(m_doc.IsEditingTemplate(), 0);
    const int updates = m_observer.updates;
    m_doc.ToggleEditing();
    EXPECT_EQ(m_doc.IsEditingTemplate(), 1);
    EXPECT_EQ(m_doc.CanApplyTemplate(), 0);
    m_doc.ToggleEditing();
    EXPECT_EQ(m_doc.IsEditingTemplate(), 0);
    EXPECT_EQ(m_observer.updates, updates + 2);
    // The views refill without their edits counting; afterwards edits count.
    EXPECT_FALSE(m_observer.trackedDuringUpdate);
    EXPECT_EQ(m_doc.IsTrackingEdits(), 1);
}

} // namespace
