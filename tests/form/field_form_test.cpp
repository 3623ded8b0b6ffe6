// The meta-data form on a real document: what it shows, what a keystroke
// writes, found rows, encodings, template editing, focus and clipboard rules.
#include "form/field_form.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include "document/doc_test_util.h"
#include "fields/field_catalogue.h"
#include "fields/field_groups.h"
#include "fields/field_names.h"
#include "fields/template_action.h"
#include "settings/memory_profile.h"

namespace {

constexpr int TITLE = 0, DESCRIPTION = 1, KEYWORDS = 2, AUTHOR = 3, COPYRIGHT = 5, ROBOTS = 7,
              WINDOW_TARGET = 10;

// Widgets as the form sees them.
struct FakeControls : IFieldControls {
    std::string text;
    int action = ACTION_NEVER_CHANGE;
    int selection = 0;
    int undo = 0;
    std::vector<std::string>* calls = nullptr;

    std::string GetValue() const override { return text; }
    void SetValue(const std::string& value) override { text = value; }
    int GetAction() const override { return action; }
    void SetAction(int code) override { action = code; }
    int HasSelection() const override { return selection; }
    int CanUndo() const override { return undo; }
    void Cut() override { calls->push_back("cut"); }
    void Copy() override { calls->push_back("copy"); }
    void Paste() override { calls->push_back("paste"); }
    void Undo() override { calls->push_back("undo"); }
};

class Form : public DocFixture {
protected:
    void SetUp() override {
        DocFixture::SetUp();
        QObject::connect(&m_doc, &CTesselDoc::initialUpdate, [this] { m_form.OnInitialUpdate(); });
        QObject::connect(&m_doc, &CTesselDoc::updateAllViews, [this] { m_form.OnUpdate(); });
        m_form.LoadSettings(m_profile, m_settings);
    }
    void Open(const QByteArray& bytes) {
        ASSERT_EQ(m_doc.OpenDocumentFile(Write("page.html", bytes)), 1);
    }
    // Types text into the field one character at a time, as a user does.
    void Type(int pos, const std::string& text) {
        for (QChar c : QString::fromStdString(text))
            m_form.SetValueAsTyped(pos, Value(pos) + QString(c).toStdString());
    }
    std::string Value(int pos) const { return m_form.GetFields().GetAt(pos).GetValue(); }
    const CMetaField& Field(int pos) const { return m_form.GetFields().GetAt(pos); }
    std::string PageText() { return m_doc.GetPageText(); }
    std::string Head(std::string text) {
        const size_t open = text.find("<head>") + 6;
        return text.substr(open, text.find("</head>") - open);
    }

    CMemoryProfile m_profile;
    CAppSettings m_settings;
    CFieldForm m_form{m_doc};
};

// What the user edits is written, and nothing else: untouched tags keep their
// bytes, empty tags stay, names keep their case and other attributes stay.
TEST_F(Form, AKeystrokeWritesOnlyTheEditedField) {
    const std::string page = "<html><head><title>Home</title>\n"
                             "<meta name=\"AUTHOR\" lang=\"en\" content=\"Ann\">\n"
                             "<meta name=\"copyright\" content=\"\">\n"
                             "<meta name=\"Keywords\" content=\"a, b\">\n"
                             "</head><body>Text</body></html>";
    Open(QByteArray::fromStdString(page));
    EXPECT_EQ(Value(TITLE), "Home");
    EXPECT_EQ(Value(AUTHOR), "Ann"); // AUTHOR fills Author
    EXPECT_EQ(Value(KEYWORDS), "a, b");
    EXPECT_EQ(m_form.GetFields().GetCount(), FIRST_CUSTOM_FIELD);

    Type(DESCRIPTION, "Hi!");
    EXPECT_EQ(m_doc.IsModified(), 1);
    EXPECT_EQ(m_form.GetChangedField(), DESCRIPTION);
    const std::string expected = "<html><head><title>Home</title>\n"
                                 "<meta name=\"AUTHOR\" lang=\"en\" content=\"Ann\">\n"
                                 "<meta name=\"copyright\" content=\"\">\n"
                                 "<meta name=\"Keywords\" content=\"a, b\">\r\n\t<meta "
                                 "name=\"description\" content=\"Hi!\"/>\n"
                                 "</head><body>Text</body></html>";
    EXPECT_EQ(PageText(), expected);
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(Path("page.html")).toStdString(), expected);

    // Emptying the field removes its tag (with the line end after it).
    m_form.SetValueAsTyped(DESCRIPTION, "");
    EXPECT_TRUE(Contains(PageText(), "content=\"a, b\">\r\n\t</head>"));
    m_form.SetValueAsTyped(COPYRIGHT, "(c)");
    EXPECT_TRUE(Contains(PageText(), "<meta name=\"copyright\" content=\"(c)\"/>"));
    EXPECT_TRUE(Contains(PageText(), "<meta name=\"AUTHOR\" lang=\"en\" content=\"Ann\">"));
}

TEST_F(Form, AFieldShowsTheTagItsEditsChange) {
    Open("<html><head><title>t</title></head><body><meta name=\"Author\" content=\"Late\">"
         "<p>x</p></body></html>");
    EXPECT_EQ(Value(AUTHOR), "Late");
    Type(DESCRIPTION, "d");
    EXPECT_TRUE(Contains(PageText(), "<body><meta name=\"Author\" content=\"Late\"><p>"));
    m_form.SetValueAsTyped(AUTHOR, "Later");
    EXPECT_TRUE(Contains(PageText(), "<body><meta name=\"Author\" content=\"Later\"/><p>"));
}

TEST_F(Form, TagsWithoutANameNeverBecomeRows) {
    const std::string head = "<meta charset=\"utf-8\">"
                             "<meta property=\"og:title\" content=\"OG\">"
                             "<meta itemprop=\"name\" content=\"IP\">"
                             "<meta name=\"\" content=\"empty\">"
                             "<meta name=\" \" content=\"blank\">"
                             "<meta name=\"rating\" content=\"general\">"
                             "<meta name=\"title\" content=\"not the title\">";
    Open(QByteArray::fromStdString("<html><head>" + head + "</head><body></body></html>"));
    // rating, title, and the charset's read-only row; og:title shows in its group row.
    ASSERT_EQ(m_form.GetFields().GetCount(), FIRST_CUSTOM_FIELD + 3);
    for (int pos = 0; pos < m_form.GetFields().GetCount(); ++pos)
        EXPECT_FALSE(TrimWhiteSpace(Field(pos).GetName()).empty()) << pos;
    EXPECT_EQ(Value(m_form.FindField("og:title", FieldTag::PROPERTY)), "OG");
    const int rating = m_form.FindField("rating");
    ASSERT_EQ(rating, FIRST_CUSTOM_FIELD);
    EXPECT_EQ(Field(rating).GetKind(), FIELD_FOUND);
    EXPECT_EQ(Field(rating).GetBaseId(), 10 * (FIRST_CUSTOM_FIELD + 1));
    EXPECT_EQ(Field(rating).IsVisible(), 1);
    EXPECT_EQ(Value(rating), "general");
    // A meta tag named "title" is no page title.
    EXPECT_EQ(Value(TITLE), "");
    EXPECT_EQ(Value(m_form.FindField("title")), "not the title");

    m_form.SetValueAsTyped(rating, "mature");
    m_form.SetValueAsTyped(TITLE, "Real");
    const std::string now = Head(PageText());
    EXPECT_TRUE(Contains(now, "<meta charset=\"utf-8\"><meta property=\"og:title\" content=\"OG\">"
                              "<meta itemprop=\"name\" content=\"IP\"><meta name=\"\" "
                              "content=\"empty\"><meta name=\" \" content=\"blank\">"))
        << now;
    EXPECT_TRUE(Contains(now, "<meta name=\"rating\" content=\"mature\"/>")) << now;
}

TEST_F(Form, FoundRowsComeAndGoWithTheirPage) {
    m_profile.WriteProfileInt("User", "IBC", 14);
    m_profile.WriteProfileString("User", "UIB_0_N", "reviewed");
    CFieldForm form(m_doc);
    form.LoadSettings(m_profile, m_settings);
    QObject::connect(&m_doc, &CTesselDoc::initialUpdate, [&] { form.OnInitialUpdate(); });

    Open("<head><meta name=\"rating\" content=\"1\"><meta name=\"Generator\" content=\"g\">"
         "<meta name=\"RATING\" content=\"2\"><meta name=\"topic\" content=\"t\"></head>");
    constexpr int first = FIRST_CUSTOM_FIELD;
    ASSERT_EQ(form.GetFields().GetCount(), first + 3);
    EXPECT_EQ(form.GetFields().GetAt(first).GetName(), "reviewed");
    EXPECT_EQ(form.GetFields().GetAt(first + 1).GetName(), "rating");
    EXPECT_EQ(form.GetFields().GetAt(first + 1).GetValue(), "1"); // the tag edits change: the first
    EXPECT_EQ(form.GetFields().GetAt(first + 2).GetName(), "topic");
    EXPECT_EQ(form.GetFields().GetAt(11).GetValue(), "g");

    Write("other.html", "<head><meta name=\"audience\" content=\"all\"></head>");
    ASSERT_EQ(m_doc.OpenDocumentFile(Path("other.html")), 1);
    ASSERT_EQ(form.GetFields().GetCount(), first + 2);
    EXPECT_EQ(form.GetFields().GetAt(first).GetName(), "reviewed");
    EXPECT_EQ(form.GetFields().GetAt(first + 1).GetName(), "audience");
    EXPECT_EQ(form.GetFields().GetAt(11).GetValue(), "");
    EXPECT_EQ(form.FindField("rating"), -1);
}

// Values read as a reader sees them and typed text is written with only the
// "&" that would start a reference escaped; the charset shows, read-only.
TEST_F(Form, ValuesShowCharacterReferencesDecodedAndTheCharsetReadOnly) {
    Open("<html><head><meta charset=\"utf-8\"><title>Tools &#8212; A &amp; B</title>"
         "<meta name=\"description\" content=\"Say &quot;hi&quot; &copy 2024\">"
         "<meta name=\"keywords\" content=\"a&amp;b\"></head>"
         "<body><p>x &gt; y</p><script>var evenRowColor;</script></body></html>");
    EXPECT_EQ(Value(TITLE), "Tools \xE2\x80\x94 A & B");
    EXPECT_EQ(Value(DESCRIPTION), "Say \"hi\" \xC2\xA9 2024");
    EXPECT_EQ(m_form.GetPageBodyText(), QStringLiteral("x > y"));
    const int charset = m_form.CharsetField();
    ASSERT_GE(charset, STANDARD_FIELD_COUNT);
    EXPECT_EQ(Field(charset).GetName(), "charset");
    EXPECT_EQ(Field(charset).IsEditable(), 0);
    EXPECT_EQ(Field(charset).IsVisible(), 1);
    EXPECT_EQ(Value(charset), "utf-8");

    Type(KEYWORDS, " & c&amp;");
    const std::string head = Head(PageText());
    EXPECT_TRUE(Contains(head, "content=\"a&b & c&amp;amp;\"")) << head;
    EXPECT_TRUE(Contains(head, "<meta charset=\"utf-8\"><title>Tools &#8212; A &amp; B</title>"
                               "<meta name=\"description\" content=\"Say &quot;hi&quot; &copy "
                               "2024\">"))
        << head;
}

// A UTF-16 page is edited as text and saved as UTF-16 again.
TEST_F(Form, AUtf16PageIsSavedAsUtf16) {
    const auto utf16 = [](const QString& text) {
        QStringEncoder encoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless);
        return QByteArray(encoder.encode(QChar(0xFEFF) + text));
    };
    const QString title = QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC");
    Open(utf16("<html><head><title>" + title + "</title></head><body>x</body></html>"));
    EXPECT_EQ(Value(TITLE), title.toStdString());
    Type(TITLE, "!");
    ASSERT_EQ(m_doc.FileSave(), 1);
    EXPECT_EQ(ReadFile(Path("page.html")),
              utf16("<html><head><title>" + title + "!</title></head><body>x</body></html>"));
}

TEST_F(Form, ValuesAreShownDecodedAndWrittenInThePagesEncoding) {
    Open("<html><head><title>Caf\xE9</title><meta name=\"description\" content=\"caf\xE9\">"
         "</head><body>\xE9t\xE9</body></html>");
    EXPECT_EQ(m_form.GetPageCodec().Name(), "windows-1252");
    EXPECT_EQ(Value(TITLE), "Caf\xC3\xA9");
    EXPECT_EQ(Value(DESCRIPTION), "caf\xC3\xA9");
    EXPECT_EQ(m_form.GetPageBodyText(), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));

    Type(DESCRIPTION, " \xE2\x82\xAC"); // " €"
    EXPECT_TRUE(Contains(PageText(), "<title>Caf\xE9</title><meta name=\"description\" "
                                     "content=\"caf\xE9 \x80\"/>"));
    EXPECT_TRUE(m_prompt.messages.empty());

    // A character windows-1252 lacks is refused and the field keeps what was written.
    m_doc.SetModifiedFlag(0);
    const std::string before = PageText();
    m_form.SetValueAsTyped(DESCRIPTION, Value(DESCRIPTION) + "\xE4\xB8\xAD");
    EXPECT_EQ(Value(DESCRIPTION), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(PageText(), before);
    EXPECT_EQ(m_doc.IsModified(), 0);
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0], "The character \"\xE4\xB8\xAD\" (U+4E2D) cannot be written in "
                                    "the encoding windows-1252.\nThe field \"description\" keeps "
                                    "its previous value.");
}

// Template editing writes the edited values with their actions, never empty
// content="" tags unless the action removes the tag; the page is not touched.
// The Search and Social rows: each reads and writes its own kind of tag
// (property, link, the html tag's lang, twitter's name tags), shows by its
// display mode, and leaves every other tag's bytes alone.
TEST_F(Form, SearchAndSocialRowsEditTheirOwnTags) {
    const std::string page = "<html lang=\"en\"><head><title>T</title>\n"
                             "<link rel=\"canonical\" href=\"https://a.example/x\">\n"
                             "<link rel=\"alternate\" hreflang=\"fr\" href=\"/fr/x\">\n"
                             "<meta property=\"og:title\" content=\"OG &amp; co\">\n"
                             "<meta property=\"article:author\" content=\"Ann\">\n"
                             "<meta name=\"og:type\" content=\"name, not property\">\n"
                             "<meta name=\"twitter:card\" content=\"summary\">\n"
                             "</head><body></body></html>";
    Open(QByteArray::fromStdString(page));
    const auto find = [&](const char* name, FieldTag tag) {
        return tag == FieldTag::ALTERNATE ? m_form.FindAlternate(name)
                                          : m_form.FindField(name, tag);
    };
    struct Row {
        const char* name;
        FieldTag tag;
        int kind;
        const char* shown;
        const char* typed;
        const char* before; // in the page before typing ("" for none)
        const char* after;  // in the page after ("" for none)
    };
    const Row rows[] = {
        {"canonical", FieldTag::CANONICAL, FIELD_GROUP, "https://a.example/x",
         "https://a.example/y", "href=\"https://a.example/x\"",
         "<link rel=\"canonical\" href=\"https://a.example/y\">"},
        {"fr", FieldTag::ALTERNATE, FIELD_FOUND, "/fr/x", "", "hreflang=\"fr\"", ""},
        {"lang", FieldTag::LANG, FIELD_GROUP, "en", "en-GB", "<html lang=\"en\">",
         "<html lang=\"en-GB\">"},
        {"og:title", FieldTag::PROPERTY, FIELD_GROUP, "OG & co", "Open & shut", "",
         "<meta property=\"og:title\" content=\"Open & shut\">"},
        {"article:author", FieldTag::PROPERTY, FIELD_FOUND, "Ann", "Bo", "",
         "<meta property=\"article:author\" content=\"Bo\">"},
        // A name tag called og:type is a meta tag of its own, not the property row.
        {"og:type", FieldTag::META, FIELD_FOUND, "name, not property", "name", "",
         "<meta name=\"og:type\" content=\"name\""},
        {"og:type", FieldTag::PROPERTY, FIELD_GROUP, "", "website", "",
         "<meta property=\"og:type\" content=\"website\""},
        {"twitter:card", FieldTag::META, FIELD_GROUP, "summary", "summary_large_image", "",
         "<meta name=\"twitter:card\" content=\"summary_large_image\""},
        {"og:url", FieldTag::PROPERTY, FIELD_GROUP, "", "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + (row.tag == FieldTag::PROPERTY ? " property" : ""));
        const int pos = find(row.name, row.tag);
        ASSERT_GE(pos, STANDARD_FIELD_COUNT);
        EXPECT_EQ(Field(pos).GetKind(), row.kind);
        EXPECT_EQ(Value(pos), row.shown);
        // Shown while it has content: the display mode's default.
        EXPECT_EQ(Field(pos).IsVisible(), *row.shown ? 1 : 0);
        if (*row.before) {
            EXPECT_TRUE(Contains(PageText(), row.before));
        }
        if (!*row.typed && !*row.shown)
            continue;
        m_form.SetValueAsTyped(pos, row.typed);
        if (*row.after) {
            EXPECT_TRUE(Contains(PageText(), row.after)) << PageText();
        } else if (*row.before) {
            EXPECT_FALSE(Contains(PageText(), row.before)) << PageText();
        }
    }
    // The alternate row sits in the Search group, after the canonical row.
    EXPECT_EQ(m_form.FindAlternate("FR"), STANDARD_FIELD_COUNT + 1);
    EXPECT_EQ(Field(STANDARD_FIELD_COUNT + 1).GetName(), "alternate fr");
    EXPECT_TRUE(Contains(PageText(), "<title>T</title>\n"));
    EXPECT_FALSE(Contains(PageText(), "/fr/x"));

    // The all-fields switch shows every group row; "Never" hides one even
    // with content, and its tag stays as it is.
    const int ogTitle = m_form.FindField("og:title", FieldTag::PROPERTY);
    m_form.GetFields().GetAt(ogTitle).SetDisplay(DISPLAY_NEVER);
    m_form.UpdateVisibility();
    EXPECT_EQ(Field(ogTitle).IsVisible(), 0);
    m_form.ToggleDisplayAll();
    EXPECT_EQ(Field(m_form.FindField("og:url", FieldTag::PROPERTY)).IsVisible(), 1);
    EXPECT_EQ(Field(ogTitle).IsVisible(), 1);

    // A page without an <html> tag cannot take a language: the row says so
    // and keeps nothing.
    m_prompt.answers = {IUserPrompt::ANSWER_NO}; // the edits above are not saved
    ASSERT_EQ(m_doc.OpenDocumentFile(Write("bare.html", "<head><title>x</title></head>")), 1);
    const int lang = m_form.FindField("lang", FieldTag::LANG);
    m_form.SetValueAsTyped(lang, "de");
    EXPECT_EQ(Value(lang), "") << PageText();
    EXPECT_FALSE(Contains(PageText(), "de"));
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_TRUE(Contains(m_prompt.messages[0], "no <html> tag")) << m_prompt.messages[0];
    m_prompt.messages.clear();
}

// In a template the rows carry their actions, and a row left empty writes no tag.
TEST_F(Form, TemplateRowsCarryPropertiesLinksAndTheLanguage) {
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    CFieldList& fields = m_form.GetFields();
    const int ogTitle = m_form.FindField("og:title", FieldTag::PROPERTY);
    const int canonical = m_form.FindField("canonical", FieldTag::CANONICAL);
    fields.GetAt(ogTitle).SetAction(ACTION_ALWAYS_SET);
    m_form.SetValueAsTyped(ogTitle, "{title}");
    fields.GetAt(canonical).SetAction(ACTION_SET_IF_MISSING);
    m_form.SetValueAsTyped(canonical, "{site}/{path}");
    const std::string text = m_doc.GetTemplateText();
    EXPECT_TRUE(Contains(text, "property=\"og:title\" content=\"{title}\" action=\"1\"")) << text;
    EXPECT_TRUE(Contains(text, "href=\"{site}/{path}\" action=\"3\"")) << text;
    EXPECT_FALSE(Contains(text, "og:url"));
    // Edited again, the template shows them with their actions.
    m_doc.ToggleEditing();
    m_doc.ToggleEditing();
    EXPECT_EQ(Value(ogTitle), "{title}");
    EXPECT_EQ(fields.GetAt(ogTitle).GetAction(), ACTION_ALWAYS_SET);
    EXPECT_EQ(fields.GetAt(canonical).GetAction(), ACTION_SET_IF_MISSING);
    m_form.SetValueAsTyped(canonical, "");
    EXPECT_FALSE(Contains(m_doc.GetTemplateText(), "canonical"));
}

TEST_F(Form, TemplateEditingWritesNoEmptyTags) {
    ASSERT_EQ(m_doc.NewTemplate(), 1);
    ASSERT_EQ(m_doc.IsEditingTemplate(), 1);
    CFieldList& fields = m_form.GetFields();

    fields.GetAt(KEYWORDS).SetAction(ACTION_SET_IF_MISSING);
    m_form.OnActionChanged(KEYWORDS); // no value yet: nothing to write
    EXPECT_EQ(Head(m_doc.GetTemplateText()), "");
    Type(KEYWORDS, "a, b");
    fields.GetAt(DESCRIPTION).SetAction(ACTION_REMOVE);
    m_form.OnActionChanged(DESCRIPTION);
    Type(TITLE, "Home");
    EXPECT_EQ(Head(m_doc.GetTemplateText()),
              "<meta name=\"keywords\" content=\"a, b\" action=\"3\"/>"
              "<meta name=\"description\" content=\"\" action=\"5\"/>"
              "<title action=\"2\">Home</title>");
    m_form.SetValueAsTyped(KEYWORDS, "");
    EXPECT_EQ(
        Head(m_doc.GetTemplateText()),
        "<meta name=\"description\" content=\"\" action=\"5\"/><title action=\"2\">Home</title>");
    EXPECT_EQ(m_doc.IsTemplateModified(), 1);
    EXPECT_EQ(m_doc.IsModified(), 0);
    EXPECT_EQ(PageText().find("Home"), std::string::npos);

    // The page comes back when editing ends, and the template's values with
    // their actions when it starts again.
    m_doc.ToggleEditing();
    EXPECT_EQ(Value(TITLE), "");
    EXPECT_EQ(fields.GetAt(DESCRIPTION).IsEdited(), 0);
    m_doc.ToggleEditing();
    EXPECT_EQ(Value(TITLE), "Home");
    EXPECT_EQ(fields.GetAt(DESCRIPTION).GetAction(), ACTION_REMOVE);
    EXPECT_EQ(fields.GetAt(KEYWORDS).GetAction(), ACTION_NEVER_CHANGE);

    // A page opened meanwhile leaves the template on show, and edits in it.
    Open("<html><head><title>Page</title></head><body></body></html>");
    EXPECT_EQ(Value(TITLE), "Home");
    Type(TITLE, "!");
    EXPECT_TRUE(Contains(m_doc.GetTemplateText(), "<title action=\"2\">Home!</title>"));
    EXPECT_EQ(m_doc.GetPageTitle(), "Page");
}

TEST_F(Form, EditsAreIgnoredWhileTheDocumentDoesNotTrackThem) {
    Open("<html><head></head><body></body></html>");
    m_doc.SetTrackEdits(0);
    m_form.SetValueAsTyped(DESCRIPTION, "quiet");
    EXPECT_EQ(m_doc.IsModified(), 0);
    EXPECT_EQ(m_form.GetChangedField(), -1);
    EXPECT_FALSE(Contains(PageText(), "quiet"));
}

TEST_F(Form, DisplayModesDecideWhichRowsShow) {
    m_form.GetFields().GetAt(AUTHOR).SetDisplay(DISPLAY_NEVER);
    Open("<head><meta name=\"Author\" content=\"Ann\"><meta name=\"owner\" content=\"o\">"
         "<meta name=\"Expires\" content=\"\"></head>");
    const auto shown = [&] {
        std::vector<int> rows;
        for (int pos = 0; pos < m_form.GetFields().GetCount(); ++pos)
            if (Field(pos).IsVisible())
                rows.push_back(pos);
        return rows;
    };
    EXPECT_EQ(shown(), (std::vector<int>{0, 1, 2, 4, 5, 7}));
    Type(DESCRIPTION, "x");
    EXPECT_TRUE(Contains(PageText(), "<meta name=\"Author\" content=\"Ann\">"));
    m_form.ToggleDisplayAll();
    EXPECT_EQ(shown().size(), static_cast<size_t>(FIRST_CUSTOM_FIELD));
    m_form.ToggleDisplayAll();
    EXPECT_EQ(shown().size(), 6u);
}

// Every field is noticed when it changes or is entered, whatever its position.
TEST_F(Form, FocusStatusAndClipboardTargetsForEveryField) {
    m_profile.WriteProfileInt("User", "IBC", 43);
    for (int j = 0; j < 30; ++j)
        m_profile.WriteProfileString("User", "UIB_" + std::to_string(j) + "_N",
                                     "user" + std::to_string(j));
    CFieldForm form(m_doc);
    form.LoadSettings(m_profile, m_settings);
    ASSERT_EQ(form.GetFields().GetCount(), FIRST_CUSTOM_FIELD + 30);
    std::vector<std::string> calls;
    std::vector<FakeControls*> fakes;
    for (int pos = 0; pos < form.GetFields().GetCount(); ++pos) {
        auto fake = std::make_unique<FakeControls>();
        fake->calls = &calls;
        fakes.push_back(fake.get());
        form.AttachControls(pos, std::move(fake));
    }
    m_doc.SetTrackEdits(1);

    form.OnControlEntered(1, CONTROL_VALUE);
    EXPECT_EQ(form.GetStatusText(), "A short description of what the page contains");
    form.OnControlLeft(1, CONTROL_VALUE);
    EXPECT_EQ(form.GetStatusText(), "");
    EXPECT_EQ(form.GetFocusField(), -1);

    form.OnControlEntered(40, CONTROL_VALUE);
    EXPECT_EQ(form.GetFocusField(), 40);
    EXPECT_EQ(form.GetCurrentField(), 40);
    EXPECT_EQ(form.GetStatusText(), "");
    EXPECT_EQ(form.CanPaste(), 1);
    EXPECT_EQ(form.CanCopy(), 0); // nothing selected
    fakes[40]->selection = 1;
    EXPECT_EQ(form.CanCopy(), 1);
    EXPECT_EQ(form.CanCut(), 1);
    form.Copy();
    fakes[40]->text = "typed";
    form.OnValueChanged(40);
    EXPECT_EQ(form.GetChangedField(), 40);
    EXPECT_TRUE(Contains(m_doc.GetPageText(), "<meta name=\"user15\" content=\"typed\"/>"));
    EXPECT_EQ(form.CanUndo(), 0);
    fakes[40]->undo = 1;
    EXPECT_EQ(form.CanUndo(), 1);
    form.Undo();
    EXPECT_EQ(calls, (std::vector<std::string>{"copy", "undo"}));

    // Read-only boxes, drop-downs and buttons are no clipboard targets.
    for (int pos : {ROBOTS, WINDOW_TARGET}) {
        fakes[static_cast<size_t>(pos)]->selection = 1;
        form.OnControlEntered(pos, CONTROL_VALUE);
        EXPECT_EQ(form.CanPaste() + form.CanCopy() + form.CanCut(), 0) << pos;
    }
    form.OnControlEntered(ROBOTS, CONTROL_BUTTON);
    EXPECT_EQ(form.GetFocusField(), -1);
    EXPECT_EQ(form.GetCurrentField(), WINDOW_TARGET);
    // A target that is gone disables the commands.
    form.OnControlEntered(40, CONTROL_VALUE);
    form.GetFields().TruncateTo(20);
    EXPECT_EQ(form.CanPaste() + form.CanUndo(), 0);
    form.Paste();
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(form.FocusTarget(false), TITLE); // the field entered last is gone
}

TEST(FormLayout, RowsBarAndTabOrder) {
    CFieldList fields;
    for (int pos : {0, 1, 7, 10})
        fields.GetAt(pos).SetVisible(1);
    CFormLayout layout = LayoutForm(fields, 600, 0);
    ASSERT_EQ(layout.rows.size(), 4u);
    EXPECT_EQ(layout.templateBar, 0);
    // title: one line; description: multi-line with a button; robots: a
    // button; Window-Target: a drop-down the whole width.
    EXPECT_EQ(layout.rows[0].top, 3);
    EXPECT_EQ(layout.rows[0].valueBox, QRect(10, 28, 578, 20));
    EXPECT_TRUE(layout.rows[0].button.isNull());
    EXPECT_EQ(layout.rows[1].top, 53);
    EXPECT_EQ(layout.rows[1].label, QPoint(10, 58));
    EXPECT_EQ(layout.rows[1].valueBox, QRect(10, 78, 518, 54));
    EXPECT_EQ(layout.rows[1].button, QRect(530, 77, 60, 22));
    EXPECT_EQ(layout.rows[1].actionList, QRect(235, 53, 220, COMBO_HEIGHT));
    EXPECT_EQ(layout.rows[2].top, 137);
    EXPECT_EQ(layout.rows[3].top, 187);
    EXPECT_EQ(layout.rows[3].valueBox, QRect(10, 212, 580, COMBO_HEIGHT));
    EXPECT_EQ(layout.content, QSize(600, 237));

    // Narrow: the rows stay 250 wide, the bar follows the real width.
    layout = LayoutForm(fields, 200, 1);
    EXPECT_EQ(layout.templateBar, 1);
    EXPECT_EQ(layout.rows[0].top, 40);
    EXPECT_EQ(layout.barBox, QRect(2, 2, 196, 36));
    EXPECT_EQ(layout.applyButton, QRect(-20, 8, 80, 22));
    EXPECT_EQ(layout.editButton, QRect(65, 8, 120, 22));
    EXPECT_EQ(layout.rows[1].button.left(), 180);
    EXPECT_EQ(layout.content.width(), 250);

    // Tab skips the read-only robots box; the bar comes first.
    using S = TabStop;
    EXPECT_EQ(TabOrder(fields, 0, 0), (std::vector<S>{{0, CONTROL_VALUE},
                                                      {1, CONTROL_VALUE},
                                                      {1, CONTROL_BUTTON},
                                                      {7, CONTROL_BUTTON},
                                                      {10, CONTROL_VALUE}}));
    const std::vector<S> editing = TabOrder(fields, 1, 1);
    EXPECT_EQ(editing.size(), 10u);
    EXPECT_EQ(editing[0], (S{-1, CONTROL_EDIT_TEMPLATE})); // Apply is disabled
    EXPECT_EQ(editing[1], (S{0, CONTROL_ACTION}));
    const std::vector<S> order = TabOrder(fields, 1, 0);
    EXPECT_EQ(order[0], (S{-1, CONTROL_APPLY}));
    EXPECT_EQ(NextTabStop(order, {1, CONTROL_VALUE}, true), (S{1, CONTROL_BUTTON}));
    EXPECT_EQ(NextTabStop(order, {1, CONTROL_BUTTON}, false), (S{1, CONTROL_VALUE}));
    EXPECT_EQ(NextTabStop(order, {7, CONTROL_VALUE}, true), (S{7, CONTROL_BUTTON}));
    EXPECT_EQ(NextTabStop(order, {7, CONTROL_VALUE}, false), (S{1, CONTROL_BUTTON}));
    EXPECT_EQ(NextTabStop(order, {10, CONTROL_VALUE}, true), (S{-1, CONTROL_APPLY}));
    EXPECT_EQ(NextTabStop(order, {-1, CONTROL_APPLY}, false), (S{10, CONTROL_VALUE}));
}

} // namespace
