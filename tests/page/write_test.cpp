#include <gtest/gtest.h>

#include "page_test_util.h"

namespace {

std::string Edited(const std::string& text, int preserveBody, auto edit) {
    CHtmlPage page;
    page.SetText(text, preserveBody);
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
    for (const std::string value : {"say \"hi\"", "it's", "5\" 'x'"}) {
        CHtmlPage page;
        page.SetText("<head></head><body>x</body>", 1);
        ASSERT_EQ(page.SetMeta("description", value, 0), 1);
        page.SetText(page.GetText(), 1); // read back from the written text
        if (value == "5\" 'x'")
            EXPECT_EQ(page.GetMetaContent("description"), "5&quot; 'x'");
        else
            EXPECT_EQ(page.GetMetaContent("description"), value);
        EXPECT_EQ(page.GetBodyText(), "x");
    }
}

TEST(Write, NoPlaceForMeta) {
    CHtmlPage page;
    page.SetText("<p>no head</p>", 1);
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
        page.SetText(c.text, 0);
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
        page.SetText(c.text, 0);
        EXPECT_EQ(page.RemoveMeta(c.name), 1);
        EXPECT_EQ(page.GetText(), c.result) << c.text;
    }
}

TEST(Write, EmptyNameNeverWritesAnything) {
    const std::string text = "<head><meta charset=\"utf-8\"><meta property=\"og:t\" content=\"x\">"
                             "</head><body></body>";
    CHtmlPage page;
    page.SetText(text, 1);
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
    RecordingPrompt prompt;
    const struct {
        const char* text;
        const char* title;
        int result;
        const char* page;
        const char* message;
    } cases[] = {
        {"<title></title>", "a<b", 1, "<title>a<b</title>", nullptr},
        {"<title>old</title>", "a<b>", 1, "<title>a&lt;b&gt;</title>", nullptr},
        {"<title>a<b>c</b></title>", "new", 1, "<title>new</title><b>c</b></title>",
         "<b>\r\nIs not </title>?"},
        {"<head></head>", "t", 1, "<head><title>t</title></head>", nullptr},
        {"<p>nothing</p>", "t", 0, "<p>nothing</p>", nullptr},
        {"<title>", "t", 0, "<title>", nullptr},
        {"<head><title>x", "t", 1, "<head><title>t</title>", nullptr},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetPrompt(&prompt);
        prompt.messages.clear();
        page.SetText(c.text, 0);
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
    page.SetText("<html><head></head><body>x</body></html>", 0);
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
    page.SetText(text, 1);
    EXPECT_EQ(page.SetMeta("late", "new", 0), 1);
    EXPECT_EQ(page.GetText(), "<html><head><title>T</title></head>" + before +
                                  "<meta name=\"late\" content=\"new\"/>" + after);
    EXPECT_EQ(page.RemoveMeta("late"), 1);
    EXPECT_EQ(page.GetText(), "<html><head><title>T</title></head>" + before + after);
}

TEST(PreservedBody, NewTagWhosePlaceIsInBodyGoesBeforeBody) {
    const std::string tail = "<BODY><META NAME=a CONTENT=1><P>x</BODY>";
    CHtmlPage page;
    page.SetText("<HTML>" + tail, 1);
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
    page.SetText("<html><head></head>" + tail, 1);
    page.SetTitle("Page");
    EXPECT_EQ(page.GetText(), "<html><head><title>Page</title></head>" + tail);
}

TEST(PreservedBody, SavedPageReadsBackTheSame) {
    const std::string text = "<html><head><meta name=a content=1></head><body>x<meta name=z "
                             "content=9></body>";
    CHtmlPage page;
    page.SetText(text, 1);
    page.SetMeta("z", "10", 0);
    page.SetMeta("n", "new", 1);
    page.SetTitle("t");
    CHtmlPage reread;
    reread.SetText(page.GetText(), 1);
    EXPECT_EQ(reread.GetMetaContent("z"), "10");
    EXPECT_EQ(reread.GetMetaContent("n"), "new");
    EXPECT_EQ(reread.GetTitle(), "t");
    EXPECT_EQ(reread.GetText(), page.GetText());
}
