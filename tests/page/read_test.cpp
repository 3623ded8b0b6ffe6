#include <gtest/gtest.h>

#include "page_test_util.h"

namespace {

const char kPage[] = "<HTML><HEAD>\n"
                     "<TITLE>A &amp; B</TITLE>\n"
                     "<META NAME=\"Keywords\" CONTENT=\"x\">\n"
                     "<meta http-equiv=\"Refresh\" content=\"5\">\n"
                     "<meta charset=\"utf-8\">\n"
                     "<meta property=\"og:title\" content=\"OG\">\n"
                     "<meta name=\"keywords\" content=\"second\">\n"
                     "<meta name=\"description\">\n"
                     "<META NAME=Robots CONTENT=NoIndex>\n"
                     "</HEAD><BODY><meta name=\"late\" content=\"body\"></BODY></HTML>";

struct Meta {
    std::string name, content;
    int httpEquiv;
    bool operator==(const Meta&) const = default;
};

std::vector<Meta> AllMeta(const CHtmlPage& page) {
    std::vector<Meta> out;
    Meta m{"", "", -7};
    for (int i = 0; page.GetMetaAt(i, m.name, m.content, m.httpEquiv); ++i)
        out.push_back(m);
    return out;
}

} // namespace

TEST(Read, FindMetaByNameOrHttpEquivAnyCase) {
    CHtmlPage page;
    page.SetText(kPage, BodyMode::PRESERVE);
    EXPECT_EQ(page.GetMetaContent("KEYWORDS"), "x"); // the first of two wins
    EXPECT_EQ(page.GetMetaContent("refresh"), "5");
    EXPECT_EQ(page.GetMetaContent("robots"), "NoIndex"); // unquoted, as written
    EXPECT_NE(page.FindMeta("description"), nullptr);
    EXPECT_EQ(page.GetMetaContent("description"), "");
    EXPECT_EQ(page.GetMetaContent("late"), "body"); // found after the body tag too
    EXPECT_EQ(page.FindMeta("absent"), nullptr);
}

TEST(Read, EmptyNameFindsNothing) {
    CHtmlPage page;
    page.SetText(kPage, BodyMode::PRESERVE);
    EXPECT_EQ(page.FindMeta(""), nullptr);
    EXPECT_EQ(page.GetMetaContent(""), "");
    EXPECT_EQ(page.GetMetaAction(""), -1);
}

TEST(Read, GetMetaAtListsHeadTagsInOrderIncludingNameless) {
    CHtmlPage page;
    page.SetText(kPage, BodyMode::PRESERVE);
    const std::vector<Meta> expected = {
        {"Keywords", "x", 0},    {"Refresh", "5", 1},       {"", "", 1},
        {"", "OG", 1},           {"keywords", "second", 0}, {"description", "", 0},
        {"Robots", "NoIndex", 0}};
    EXPECT_EQ(AllMeta(page), expected);
}

TEST(Read, GetMetaAtNotFoundLeavesHttpEquiv) {
    CHtmlPage page;
    page.SetText(kPage, BodyMode::PRESERVE);
    std::string name = "n", content = "c";
    int httpEquiv = 42;
    EXPECT_EQ(page.GetMetaAt(7, name, content, httpEquiv), 0);
    EXPECT_EQ(name, "");
    EXPECT_EQ(content, "");
    EXPECT_EQ(httpEquiv, 42);
    EXPECT_EQ(page.GetMetaAt(-1, name, content, httpEquiv), 0);
}

TEST(Read, GetMetaAtRandomAccessMatchesSequential) {
    CHtmlPage page;
    page.SetText(kPage, BodyMode::PRESERVE);
    const std::vector<Meta> all = AllMeta(page);
    for (int i : {6, 0, 3, 3, 5, 1, 6, 2}) {
        Meta m;
        ASSERT_EQ(page.GetMetaAt(i, m.name, m.content, m.httpEquiv), 1);
        EXPECT_EQ(m, all[i]);
    }
    // The cursor must not survive an edit that moves the tags.
    page.RemoveMeta("refresh");
    Meta m;
    ASSERT_EQ(page.GetMetaAt(1, m.name, m.content, m.httpEquiv), 1);
    EXPECT_EQ(m.content, "");
    EXPECT_EQ(m.httpEquiv, 1); // the charset tag moved up
}

TEST(Read, Title) {
    const struct {
        const char* text;
        const char* title;
    } cases[] = {
        {"<title>A &amp; B</title>", "A &amp; B"},
        {"<title></title>", ""},
        {"<html><head></head><body>x</body>", ""},
        {"<body><title>late</title>", ""},
        {"<TITLE>", ""},
        {"<title><b>x</b></title>", "<b>x</b>"}, // text up to its end tag
        {"<title x>one</title><title>two</title>", "one"},
        {"no head <meta name=a content=b><title>t</title>", "t"},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetText(c.text, BodyMode::PRESERVE);
        EXPECT_EQ(page.GetTitle(), c.title) << c.text;
    }
}

TEST(Read, TemplateActions) {
    CHtmlPage page;
    page.SetText("<head><title action=\"true\">T</title>"
                 "<meta name=a content=x action=\"05\">"
                 "<meta name=b content=y action=\"x\">"
                 "<meta name=c content=z action=\"\">"
                 "<meta name=d content=w action=\" -2\">"
                 "<meta name=e content=v></head>",
                 BodyMode::REBUILD);
    EXPECT_EQ(page.GetMetaAction("a"), 5);
    EXPECT_EQ(page.GetMetaAction("b"), 0);
    EXPECT_EQ(page.GetMetaAction("c"), -1);
    EXPECT_EQ(page.GetMetaAction("d"), -2);
    EXPECT_EQ(page.GetMetaAction("e"), -1);
    EXPECT_EQ(page.GetMetaAction("missing"), -1);
    std::string title;
    int action = 0;
    EXPECT_EQ(page.GetTitleWithAction(title, action), 1);
    EXPECT_EQ(title, "T");
    EXPECT_EQ(action, 1);
}

TEST(Read, TitleWithActionStopsAtBody) {
    CHtmlPage page;
    page.SetText("<head></head><body><title action=3>x</title>", BodyMode::REBUILD);
    std::string title = "old";
    int action = 7;
    EXPECT_EQ(page.GetTitleWithAction(title, action), 0);
    EXPECT_EQ(title, "");
    EXPECT_EQ(action, -1);
    page.SetText("<head><title>no action</title></head>", BodyMode::REBUILD);
    EXPECT_EQ(page.GetTitleWithAction(title, action), 1);
    EXPECT_EQ(action, 0);
}

TEST(Read, PageWithoutHeadStillYieldsMetaAndTitle) {
    CHtmlPage page;
    page.SetText("<title>t</title><meta name=a content=b><body>x", BodyMode::PRESERVE);
    EXPECT_EQ(page.GetTitle(), "t");
    EXPECT_EQ(page.GetMetaContent("a"), "b");
}

TEST(Read, Landmarks) {
    CHtmlPage page;
    page.SetText("<html></body><BODY class=x>t</BODY><body></html>", BodyMode::PRESERVE);
    ASSERT_NE(page.GetBodyOpenPosition(), nullptr);
    ASSERT_NE(page.GetBodyClosePosition(), nullptr);
    EXPECT_EQ(CHtmlPage::GetAt(page.GetBodyOpenPosition())->GetText(), "<body class=x>");
    EXPECT_EQ(CHtmlPage::GetAt(page.GetBodyClosePosition())->GetText(), "</body>");
}
