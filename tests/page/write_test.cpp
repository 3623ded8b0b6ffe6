#include <gtest/gtest.h>

#include <algorithm>

#include "page_test_util.h"

namespace {

// The text after edit, written by a normalizing save.
std::string Edited(const std::string& text, int preserveBody, auto edit) {
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText(text, preserveBody ? BodyMode::PRESERVE : BodyMode::REBUILD);
    edit(page);
    return page.GetText();
}

} // namespace

TEST(Write, FirstMetaGoesAfterHead) {
    EXPECT_EQ(Edited("<head><title>t</title></head>", 0,
                     [](CHtmlPage& p) { EXPECT_EQ(p.SetMeta("keywords", "a, b", 0), 1); }),
              "<head>\r\n\t<meta name=\"keywords\" content=\"a, b\"/><title>t</title></head>");
}

TEST(Write, NewTagsFollowTheLastMetaInWrittenOrder) {
    EXPECT_EQ(Edited("<head><meta name=a content=1></head>", 0,
                     [](CHtmlPage& p) {
                         p.SetMeta("b", "2", 0);
                         p.SetMeta("Refresh", "5", 1);
                     }),
              "<head><meta name=a content=1>\r\n\t<meta name=\"b\" content=\"2\"/>"
              "\r\n\t<meta http-equiv=\"Refresh\" content=\"5\"/></head>");
}

TEST(Write, ReplacesInPlaceDroppingOtherAttributes) {
    EXPECT_EQ(Edited("<HEAD>\n<META NAME=\"Keywords\" CONTENT=\"x\" LANG=\"en\">\n</HEAD>", 0,
                     [](CHtmlPage& p) {
                         p.SetMeta("keywords", "y", 0);
                         p.SetMeta("keywords", "z", 0);
                     }),
              "<head>\n<meta name=\"keywords\" content=\"z\"/>\n</head>");
}

TEST(Write, ValuesAreNormalizedNotEscaped) {
    EXPECT_EQ(Edited("<head></head>", 0, [](CHtmlPage& p) { p.SetMeta("d", "a\r\nb\t<&>", 0); }),
              "<head>\r\n\t<meta name=\"d\" content=\"a  b <&>\"/></head>");
}

TEST(Write, ValueWithQuotesStaysWellFormedAndReadsBack) {
    // Stored as the value, the quote character of its attribute written as a
    // reference: apostrophes around a value with double quotes when
    // normalizing, else the tag's own quotes.
    const struct {
        HeadStyle style;
        std::string value, stored;
    } cases[] = {
        {HeadStyle::NORMALIZE, "say \"hi\"", "say \"hi\""},
        {HeadStyle::NORMALIZE, "it's", "it's"},
        {HeadStyle::NORMALIZE, "5\" 'x'", "5&quot; 'x'"},
        {HeadStyle::KEEP, "say \"hi\"", "say &quot;hi&quot;"},
        {HeadStyle::KEEP, "it's", "it's"},
        {HeadStyle::KEEP, "5\" 'x'", "5&quot; 'x'"},
    };
    for (const auto& c : cases) {
        for (const char* text : {"<head></head><body>x</body>",
                                 "<head><meta name=description content='a'></head><body>x</body>",
                                 "<head><meta name=description content=a></head><body>x</body>"}) {
            CHtmlPage page;
            page.SetHeadStyle(c.style);
            page.SetText(text, BodyMode::PRESERVE);
            ASSERT_EQ(page.SetMeta("description", c.value, 0), 1);
            page.SetText(page.GetText(), BodyMode::PRESERVE); // read back from the written text
            const std::string content = page.GetMetaContent("description");
            EXPECT_EQ(AttributeValueKey(content, false), AttributeValueKey(c.value, false))
                << page.GetText();
            if (std::string_view(text).find('\'') == std::string_view::npos) {
                EXPECT_EQ(content, c.stored) << page.GetText();
            }
            EXPECT_EQ(page.GetBodyText(), "x");
        }
    }
}

TEST(Write, NoPlaceForMeta) {
    CHtmlPage page;
    page.SetText("<p>no head</p>", BodyMode::PRESERVE);
    EXPECT_EQ(page.HasMetaPosition(), 0);
    EXPECT_EQ(page.SetMeta("a", "b", 0), 0);
    EXPECT_EQ(page.SetMetaWithAction("a", "b", 0, 1), 0);
    EXPECT_EQ(page.GetText(), "<p>no head</p>");
}

TEST(Write, InsertPositionRules) {
    const struct {
        const char* text;
        const char* expectedTag; // text of the section FindMetaInsertPos gives
    } cases[] = {
        {"<head><meta name=a><meta name=b></head><meta name=c>", "<meta name=b>"},
        {"<head></head><head><meta name=x>", "<head>"},
        {"<html><meta name=z><p><meta name=y>", "<meta name=y>"},
        {"<html></head>", "</head>"},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetText(c.text, BodyMode::REBUILD);
        POSITION pos = page.FindMetaInsertPos();
        ASSERT_NE(pos, nullptr) << c.text;
        EXPECT_EQ(CHtmlPage::GetAt(pos)->GetText(), c.expectedTag) << c.text;
    }
}

TEST(Write, RemoveMeta) {
    const struct {
        const char* text;
        const char* name;
        const char* result;
    } cases[] = {
        {"<head><meta name=a>\r\n\t<meta name=b>\r\n\t</head>", "a",
         "<head><meta name=b>\r\n\t</head>"},
        {"<head><meta name=a>x</head>", "a", "<head>x</head>"},
        {"<head><meta name=a>", "a", "<head>"},
        {"<head><meta name=a><meta name=a content=2>", "A", "<head><meta name=a content=2>"},
        {"<head><meta name=a>", "missing", "<head><meta name=a>"},
        {"<head><meta charset=utf-8><meta property=og:x>", "",
         "<head><meta charset=utf-8>"
         "<meta property=og:x>"},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetHeadStyle(HeadStyle::NORMALIZE);
        page.SetText(c.text, BodyMode::REBUILD);
        EXPECT_EQ(page.RemoveMeta(c.name), 1);
        EXPECT_EQ(page.GetText(), c.result) << c.text;
    }
}

TEST(Write, EmptyNameNeverWritesAnything) {
    const std::string text = "<head><meta charset=\"utf-8\"><meta property=\"og:t\" content=\"x\">"
                             "</head><body></body>";
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText(text, BodyMode::PRESERVE);
    EXPECT_EQ(page.SetMeta("", "v", 0), 0);
    EXPECT_EQ(page.SetMeta("", "v", 1), 0);
    EXPECT_EQ(page.SetMetaWithAction("", "v", 0, 1), 0);
    EXPECT_EQ(page.RemoveMeta(""), 1);
    EXPECT_EQ(page.GetText(), text);
    // Writes of named tags leave the nameless ones alone (the separator written
    // before a new tag stays when the tag goes).
    page.SetMeta("keywords", "k", 0);
    page.RemoveMeta("keywords");
    EXPECT_EQ(page.GetText(), "<head><meta charset=\"utf-8\"><meta property=\"og:t\" "
                              "content=\"x\">\r\n\t</head><body></body>");
}

TEST(Write, Title) {
    ScriptedPrompt prompt;
    const struct {
        const char* text;
        const char* title;
        int result;
        const char* page;
        const char* message;
    } cases[] = {
        {"<title></title>", "a<b", 1, "<title>a&lt;b</title>", nullptr},
        {"<title>old</title>", "a<b>", 1, "<title>a&lt;b&gt;</title>", nullptr},
        // A title's text runs to its end tag, markup and all.
        {"<title>a<b>c</b></title>", "new", 1, "<title>new</title>", nullptr},
        {"<title>a<b>c</b>", "new", 1, "<title>new</title><b>c</b>", "<b>\r\nIs not </title>?"},
        {"<head></head>", "t", 1, "<head><title>t</title></head>", nullptr},
        {"<p>nothing</p>", "t", 0, "<p>nothing</p>", nullptr},
        {"<title>", "t", 0, "<title>", nullptr},
        {"<head><title>x", "t", 1, "<head><title>t</title>", nullptr},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetPrompt(&prompt);
        prompt.messages.clear();
        page.SetText(c.text, BodyMode::REBUILD);
        EXPECT_EQ(page.SetTitle(c.title), c.result) << c.text;
        EXPECT_EQ(page.GetText(), c.page) << c.text;
        if (c.message)
            EXPECT_EQ(prompt.messages, std::vector<std::string>{c.message});
        else
            EXPECT_TRUE(prompt.messages.empty()) << c.text;
    }
}

TEST(Write, TemplateWrites) {
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText("<html><head></head><body>x</body></html>", BodyMode::REBUILD);
    page.SetMetaWithAction("keywords", "a, b", 0, 3);
    page.SetMetaWithAction("description", "x", 0, 3);
    page.SetTitleWithAction("Home", 3);
    EXPECT_EQ(page.GetText(), "<html><head><meta name=\"keywords\" content=\"a, b\" action=\"3\"/>"
                              "<meta name=\"description\" content=\"x\" action=\"3\"/>"
                              "<title action=\"3\">Home</title></head><body>x</body></html>");
    page.SetTitleWithAction("Home", 1);
    page.SetMetaWithAction("KEYWORDS", "c", 0, 7);
    EXPECT_EQ(page.GetMetaAction("keywords"), 7);
    std::string title;
    int action = 0;
    page.GetTitleWithAction(title, action);
    EXPECT_EQ(action, 1);
}

// In preserve-body mode the part from the first body tag on is written as read,
// but a write must never be lost while it reports success.
TEST(PreservedBody, EditOfMetaInBodyReachesTextAndNothingElseChanges) {
    const std::string head = "<HTML><HEAD><TITLE>T</TITLE></HEAD>";
    const std::string before = "<BODY>\n<P>  keep   <B>me</B>\n";
    const std::string after = "\n\t<!-- c --><?php x ?>\n</BODY></HTML>";
    const std::string text = head + before + "<META NAME=\"late\" CONTENT=\"old\">" + after;
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText(text, BodyMode::PRESERVE);
    EXPECT_EQ(page.SetMeta("late", "new", 0), 1);
    EXPECT_EQ(page.GetText(), "<html><head><title>T</title></head>" + before +
                                  "<meta name=\"late\" content=\"new\"/>" + after);
    EXPECT_EQ(page.RemoveMeta("late"), 1);
    EXPECT_EQ(page.GetText(), "<html><head><title>T</title></head>" + before + after);
}

TEST(PreservedBody, NewTagWhosePlaceIsInBodyGoesBeforeBody) {
    const std::string tail = "<BODY><META NAME=a CONTENT=1><P>x</BODY>";
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText("<HTML>" + tail, BodyMode::PRESERVE);
    EXPECT_EQ(page.SetMeta("b", "2", 0), 1);
    EXPECT_EQ(page.GetText(), "<html>\r\n\t<meta name=\"b\" content=\"2\"/>" + tail);
    EXPECT_EQ(page.GetMetaContent("b"), "2");
    EXPECT_EQ(page.SetTitle("T"), 1);
    EXPECT_EQ(page.GetText(),
              "<html>\r\n\t<meta name=\"b\" content=\"2\"/><title>T</title>" + tail);
    EXPECT_EQ(page.GetTitle(), "T");
}

TEST(PreservedBody, TitleInBodyIsNotTouched) {
    const std::string tail = "<body><svg><title>icon</title></svg></body>";
    CHtmlPage page;
    page.SetText("<html><head></head>" + tail, BodyMode::PRESERVE);
    page.SetTitle("Page");
    EXPECT_EQ(page.GetText(), "<html><head><title>Page</title></head>" + tail);
}

TEST(PreservedBody, SavedPageReadsBackTheSame) {
    const std::string text = "<html><head><meta name=a content=1></head><body>x<meta name=z "
                             "content=9></body>";
    CHtmlPage page;
    page.SetText(text, BodyMode::PRESERVE);
    page.SetMeta("z", "10", 0);
    page.SetMeta("n", "new", 1);
    page.SetTitle("t");
    CHtmlPage reread;
    reread.SetText(page.GetText(), BodyMode::PRESERVE);
    EXPECT_EQ(reread.GetMetaContent("z"), "10");
    EXPECT_EQ(reread.GetMetaContent("n"), "new");
    EXPECT_EQ(reread.GetTitle(), "t");
    EXPECT_EQ(reread.GetText(), page.GetText());
}

// --- Writes that keep the page sound -------------------------------------------

// Every title write escapes markup, wherever the title goes, and the title reads
// back the same from the written text; nothing of it becomes part of the page.
TEST(SoundWrites, TitleNeverInjectsMarkup) {
    const std::string attack = "</title></head><body onload=alert(1)><script>x()</script>";
    const std::string escaped = "&lt;/title&gt;&lt;/head&gt;&lt;body onload=alert(1)&gt;"
                                "&lt;script&gt;x()&lt;/script&gt;";
    const char* const pages[] = {
        "<html><head><title></title></head><body>b</body></html>",
        "<html><head><title>old</title></head><body>b</body></html>",
        "<html><head></head><body>b</body></html>",
        "<html><head><title></head><body>b</body></html>",
        "<html><body>b</body></html><meta name=x>",
    };
    for (const char* text : pages) {
        for (const std::string& title : {attack, std::string("a<b"), std::string("x > y")}) {
            CHtmlPage page;
            page.SetText(text, BodyMode::PRESERVE);
            ASSERT_EQ(page.SetTitle(title), 1) << text;
            std::string expected = title == attack ? escaped : title;
            for (size_t at; (at = expected.find('<')) != std::string::npos;)
                expected.replace(at, 1, "&lt;");
            for (size_t at; (at = expected.find('>')) != std::string::npos;)
                expected.replace(at, 1, "&gt;");
            EXPECT_EQ(page.GetTitle(), expected) << text;
            CHtmlPage reread;
            reread.SetText(page.GetText(), BodyMode::PRESERVE);
            EXPECT_EQ(reread.GetTitle(), expected) << page.GetText();
            EXPECT_EQ(reread.GetBodyText(), "b") << page.GetText();
            EXPECT_EQ(page.GetText().find("<script"), std::string::npos);
        }
    }
}

// A write of the value a tag has changes nothing at all: not the tag's bytes
// (other attributes, case, quotes) and not the change count.
TEST(SoundWrites, WritingTheCurrentValueChangesNothing) {
    const std::string text = "<HTML><HEAD><TITLE>A &amp; B</TITLE>\n"
                             "<META NAME=Keywords CONTENT=\"a, b\" LANG=en>\n"
                             "<meta http-equiv='Refresh' content='5'>\n"
                             "<meta name=\"q\" content='say \"hi\"'>\n"
                             "<meta name=\"both\" content=\"5&quot; 'x'\">\n"
                             "<meta name=\"description\">\n"
                             "</HEAD><BODY>x</BODY></HTML>";
    CHtmlPage page;
    page.SetText(text, BodyMode::PRESERVE);
    const std::string before = page.GetText();
    // What an editing view does: write back every value as it reads it.
    page.SetTitle(page.GetTitle());
    std::string name, content;
    int httpEquiv = 0;
    for (int i = 0; page.GetMetaAt(i, name, content, httpEquiv); ++i)
        EXPECT_EQ(page.SetMeta(name, content, httpEquiv), 1) << name;
    page.SetMeta("both", "5\" 'x'", 0); // the value as a browser reads it
    page.RemoveMeta("absent");
    page.SetTitle("A &amp; B");
    EXPECT_EQ(page.GetChangeCount(), 0u);
    EXPECT_EQ(page.GetText(), before);

    // A page without a title has the title "": writing "" inserts nothing.
    page.SetText("<head></head><body></body>", BodyMode::PRESERVE);
    EXPECT_EQ(page.SetTitle(""), 1);
    EXPECT_EQ(page.GetChangeCount(), 0u);
    EXPECT_EQ(page.GetText(), "<head></head><body></body>");

    // Changing one tag leaves the others alone: normalized, or as read.
    for (const HeadStyle style : {HeadStyle::NORMALIZE, HeadStyle::KEEP}) {
        page.SetHeadStyle(style);
        page.SetText(text, BodyMode::PRESERVE);
        page.SetMeta("keywords", "a, b", 0);
        page.SetMeta("refresh", "5", 0); // by name now: a change
        EXPECT_EQ(page.GetChangeCount(), 1u);
        const bool keep = style == HeadStyle::KEEP;
        EXPECT_NE(page.GetText().find(keep ? "<META NAME=Keywords CONTENT=\"a, b\" LANG=en>"
                                           : "<meta name=Keywords content=\"a, b\" lang=en>"),
                  std::string::npos);
        EXPECT_NE(page.GetText().find(keep ? "<meta name='refresh' content='5'>"
                                           : "<meta name=\"refresh\" content=\"5\"/>"),
                  std::string::npos)
            << page.GetText();
    }
    page.SetHeadStyle(HeadStyle::KEEP);

    // The same holds for a template's values and actions.
    CHtmlPage templ;
    templ.SetText("<head><title action=\"3\">T</title>"
                  "<meta name=a content=x action=\"05\"></head><body></body>",
                  BodyMode::REBUILD);
    templ.SetTitleWithAction("T", 3);
    templ.SetMetaWithAction("a", "x", 0, 5);
    EXPECT_EQ(templ.GetChangeCount(), 0u);
    templ.SetMetaWithAction("a", "x", 0, 4);
    EXPECT_EQ(templ.GetChangeCount(), 1u);
    EXPECT_EQ(templ.GetMetaAction("a"), 4);
    // An empty template title still gets tags to carry its action.
    templ.SetText("<head></head><body></body>", BodyMode::REBUILD);
    templ.SetTitleWithAction("", 5);
    std::string title = "x";
    int action = 0;
    EXPECT_EQ(templ.GetTitleWithAction(title, action), 1);
    EXPECT_EQ(title, "");
    EXPECT_EQ(action, 5);
}

// A tag the page writes is found again by the name it was written under, so a
// second write replaces it instead of adding another, also after the page is
// read back from its text.
TEST(SoundWrites, WrittenTagsAreFoundAgainByTheirName) {
    const std::string names[] = {"plain",    "say \"hi\"", "it's",    "both \" and '", "a\tb",
                                 "x&quot;y", "UPPER",      "content", "a name=b"};
    for (const std::string& name : names) {
        for (int httpEquiv : {0, 1}) {
            CHtmlPage page;
            page.SetText("<head><meta name=\"other\" content=\"v name=plain name=upper "
                         "name=content\"></head><body></body>",
                         BodyMode::PRESERVE);
            ASSERT_EQ(page.SetMeta(name, "1", httpEquiv), 1);
            ASSERT_EQ(page.SetMeta(name, "2", httpEquiv), 1);
            CHtmlPage reread;
            reread.SetText(page.GetText(), BodyMode::PRESERVE);
            ASSERT_EQ(reread.SetMeta(name, "3", httpEquiv), 1);
            int count = 0;
            std::string n, content;
            int h = 0;
            for (int i = 0; reread.GetMetaAt(i, n, content, h); ++i)
                count += content == "3";
            EXPECT_EQ(count, 1) << name << "\n" << reread.GetText();
            EXPECT_EQ(reread.GetMetaContent(name), "3") << name;
            EXPECT_EQ(reread.GetMetaContent("other"), "v name=plain name=upper name=content");
            EXPECT_EQ(reread.RemoveMeta(name), 1);
            EXPECT_EQ(reread.FindMeta(name), nullptr) << name;
        }
    }
}

// The content of a script or style element is text as a browser reads it: no
// tag in it counts, and no write lands in it.
TEST(SoundWrites, NothingIsReadOrWrittenInsideScriptOrStyle) {
    const std::string code = "document.write(\"<body><title>t</title>"
                             "<meta name=k content=s></head>\"); if (a<B) x();";
    const std::string script = "<SCRIPT>" + code + "</SCRIPT>";
    const std::string style = "<style>/* <META NAME=k> </head> */ p{}</style>";
    const std::string text = "<HTML><HEAD>" + script + style +
                             "<META NAME=k CONTENT=head>\n</HEAD><BODY>b<script>"
                             "s(\"<meta name=late>\")</script></BODY></HTML>";
    for (const auto detail : {CHtmlPage::SectionDetail::NEEDED, CHtmlPage::SectionDetail::ALL}) {
        CHtmlPage page;
        page.SetHeadStyle(HeadStyle::NORMALIZE);
        page.SetText(text, BodyMode::PRESERVE, detail);
        EXPECT_EQ(page.GetTitle(), "");
        EXPECT_EQ(page.GetMetaContent("k"), "head");
        EXPECT_EQ(page.FindMeta("late"), nullptr);
        ASSERT_NE(page.GetBodyOpenPosition(), nullptr);
        EXPECT_EQ(CHtmlPage::GetAt(page.GetBodyOpenPosition())->GetText(), "<body>");
        EXPECT_EQ(page.SetTitle("New"), 1);
        EXPECT_EQ(page.SetMeta("k", "v", 0), 1);
        EXPECT_EQ(page.SetMeta("n", "w", 0), 1);
        // The script and style are written as read (but the start tag, in its
        // normal form), the changes after them.
        EXPECT_EQ(page.GetText(),
                  "<html><head><script>" + code + "</SCRIPT>" + style +
                      "<meta name=\"k\" content=\"v\"/>\r\n\t<meta name=\"n\" content=\"w\"/>\n"
                      "<title>New</title></head><BODY>b<script>s(\"<meta name=late>\")</script>"
                      "</BODY></HTML>")
            << page.GetText();
    }
    // The end tag is written as read, also when normalizing: "</SCRIPT\n<>"
    // in its normal form "</script<>" would no longer end the script, which
    // would then hide the rest of the page when the text is read back.
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText("<head><SCRIPT>x</SCRIPT\n<>\n<title>t</title></head><body></body>",
                 BodyMode::PRESERVE);
    ASSERT_EQ(page.SetMeta("k", "v", 0), 1);
    CHtmlPage reread;
    reread.SetText(page.GetText(), BodyMode::PRESERVE);
    EXPECT_EQ(reread.GetTitle(), "t") << page.GetText();
    EXPECT_EQ(reread.GetMetaContent("k"), "v");
    // A script closed in its own tag hides nothing; one never closed takes the
    // rest of the page, as a browser reads it: no tag in it counts and no
    // write lands in it, so a new tag goes before it.
    page.SetText("<head><script src=a.js/><title>t</title></head><body></body>",
                 BodyMode::PRESERVE);
    EXPECT_EQ(page.GetTitle(), "t");
    for (const HeadStyle style : {HeadStyle::KEEP, HeadStyle::NORMALIZE}) {
        const std::string open = "<head><script>x()<title>t</title><meta name=k></head><body>";
        page.SetHeadStyle(style);
        page.SetText(open, BodyMode::PRESERVE);
        EXPECT_EQ(page.GetTitle(), "");
        EXPECT_EQ(page.FindMeta("k"), nullptr);
        ASSERT_EQ(page.SetMeta("k", "v", 0), 1);
        reread.SetText(page.GetText(), BodyMode::PRESERVE);
        EXPECT_EQ(reread.GetMetaContent("k"), "v") << page.GetText();
        EXPECT_TRUE(
            page.GetText().ends_with("<script>x()<title>t</title><meta name=k></head><body>"));
        // Only an unclosed script in a page without a head: nowhere to write.
        const std::string nowhere = "</he><script><meta><\t/script>";
        page.SetText(nowhere, BodyMode::PRESERVE);
        EXPECT_EQ(page.SetMeta("description", "d", 0), 0);
        EXPECT_EQ(page.GetText(), nowhere);
    }
}

// A position stays valid until its own section is removed, also when a write
// cuts the verbatim run it names into sections.
TEST(SoundWrites, PositionsSurviveWrites) {
    const char* const texts[] = {
        "<html><head><title><link rel=x></title></head><body><p>x</p></body></html>",
        "<html><head><title>t</title><meta name=a content=1><p>one piece</head></html>",
        "<html><head><meta name=a content=1><p>run <b>of</b> pieces</head></html>",
    };
    for (const char* text : texts) {
        CHtmlPage page;
        page.SetText(text, BodyMode::REBUILD);
        // Every section but the meta tag that is removed below.
        std::vector<POSITION> held;
        for (POSITION p = page.GetHeadPosition(); p; p = CHtmlPage::GetNextPosition(p)) {
            if (CHtmlPage::GetAt(p)->GetText().rfind("<meta", 0) != 0)
                held.push_back(p);
        }
        page.SetTitle("new");
        page.RemoveMeta("a");
        std::vector<POSITION> now;
        for (POSITION p = page.GetHeadPosition(); p; p = CHtmlPage::GetNextPosition(p))
            now.push_back(p);
        for (POSITION p : held)
            EXPECT_NE(std::find(now.begin(), now.end(), p), now.end()) << text;
        EXPECT_EQ(page.GetTitle(), "new") << text;
    }
}
