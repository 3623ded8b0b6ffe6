// Merging template values into pages, action by action.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "document/template_values.h"
#include "page/html_page.h"

namespace {

std::string Template(const std::string& head) {
    return "<html><head>" + head + "</head><body></body></html>";
}

// The page's keywords tag after applying one template keywords tag; nullopt
// when the page has no such tag.
std::optional<std::string> ApplyKeywords(const std::string& pageHead, const std::string& tag) {
    CHtmlPage templ;
    templ.SetText(Template(tag), BodyMode::REBUILD);
    CTemplateValues values;
    values.Read(templ);
    CHtmlPage page;
    page.SetText(Template(pageHead), BodyMode::PRESERVE);
    values.ApplyTo(page);
    if (!page.FindMeta("keywords"))
        return std::nullopt;
    return page.GetMetaContent("keywords");
}

TEST(TemplateValues, MetaActions) {
    const std::string none = "<meta name=\"x\" content=\"y\">";
    const std::string empty = "<meta name=\"keywords\" content=\"\">";
    const std::string some = "<meta name=\"keywords\" content=\"a\">";
    const auto tag = [](const char* action) {
        return std::string("<meta name=\"keywords\" content=\"b\" action=\"") + action + "\"/>";
    };
    const struct {
        const char* action;
        std::string page;
        std::optional<std::string> result;
    } cases[] = {
        {"1", none, "b"},           {"1", some, "b"},
        {"2", some, "a"},           {"2", none, std::nullopt},
        {"3", none, "b"},           {"3", empty, "b"}, // an empty value counts as missing
        {"3", some, "a"},           {"4", none, std::nullopt},
        {"4", empty, ""},           {"4", some, "b"},
        {"5", some, std::nullopt},  {"05", some, std::nullopt},
        {"6", some, "a b"},         {"6", none, "b"}, // no separator without a value
        {"6", empty, "b"},          {"7", some, "b a"},
        {"7", none, "b"},           {"7", empty, "b"},
        {"x", some, "a"},           {"8", some, "a"},
        {"-1", none, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplyKeywords(c.page, tag(c.action)), c.result)
            << "action " << c.action << " on " << c.page;
    // Without an action attribute nothing is applied.
    EXPECT_EQ(ApplyKeywords(some, "<meta name=\"keywords\" content=\"b\">"), "a");
    // An empty template value is written as it is.
    EXPECT_EQ(ApplyKeywords(some, "<meta name=\"keywords\" content=\"\" action=\"1\"/>"), "");
}

TEST(TemplateValues, HttpEquivTagsAreWrittenAsHttpEquiv) {
    CHtmlPage templ;
    templ.SetText(Template("<meta http-equiv=\"Refresh\" content=\"5\" action=\"1\"/>"),
                  BodyMode::REBUILD);
    CTemplateValues values;
    values.Read(templ);
    CHtmlPage page;
    page.SetHeadStyle(HeadStyle::NORMALIZE);
    page.SetText(Template(""), BodyMode::PRESERVE);
    values.ApplyTo(page);
    EXPECT_EQ(page.GetText(), "<html><head>\r\n\t<meta http-equiv=\"Refresh\" content=\"5\"/>"
                              "</head><body></body></html>");
}

TEST(TemplateValues, TitleActions) {
    const struct {
        std::string titleTag; // the template's opening title tag
        std::string pageTitle;
        std::string result;
    } cases[] = {
        {"<title action=\"1\">", "Old", "T"},
        {"<title action=\"true\">", "Old", "T"},
        {"<title>", "Old", "Old"}, // no action: never applied
        {"<title action=\"2\">", "Old", "Old"},
        {"<title action=\"3\">", "", "T"},
        {"<title action=\"3\">", "Old", "Old"},
        {"<title action=\"4\">", "", ""},
        {"<title action=\"4\">", "Old", "T"},
        {"<title action=\"5\">", "Old", ""},
        {"<title action=\"6\">", "Old", "Old T"},
        {"<title action=\"7\">", "Old", "T Old"},
        {"<title action=\"6\">", "", "T"},
        {"<title action=\"7\">", "", "T"},
        {"<title action=\"0x1\">", "Old", "T"},
        {"<title action=\"9\">", "Old", "Old"},
    };
    for (const auto& c : cases) {
        CHtmlPage templ;
        templ.SetText(Template(c.titleTag + "T</title>"), BodyMode::REBUILD);
        CTemplateValues values;
        values.Read(templ);
        CHtmlPage page;
        page.SetText(Template("<title>" + c.pageTitle + "</title>"), BodyMode::PRESERVE);
        values.ApplyTo(page);
        EXPECT_EQ(page.GetTitle(), c.result) << c.titleTag << " on " << c.pageTitle;
    }
}

TEST(TemplateValues, TitleMarkupIsEscapedWhereverTheTitleGoes) {
    // Markup typed into a template's title is escaped at once, and stays text
    // in every page the template is applied to.
    CHtmlPage templ;
    templ.SetText(Template("<title></title>"), BodyMode::REBUILD);
    templ.SetTitleWithAction("<b>", 1);
    CTemplateValues values;
    values.Read(templ);
    ASSERT_EQ(values.m_strTitle, "&lt;b&gt;");

    for (const char* title : {"<title>old</title>", "<title></title>", ""}) {
        CHtmlPage page;
        page.SetText(Template(title), BodyMode::PRESERVE);
        values.ApplyTo(page);
        EXPECT_EQ(page.GetTitle(), "&lt;b&gt;") << title;
        EXPECT_EQ(page.GetText(), Template("<title>&lt;b&gt;</title>")) << title;
    }
}

TEST(TemplateValues, DuplicateNamesShareTheFirstAction) {
    CHtmlPage templ;
    templ.SetText(Template("<meta name=\"k\" content=\"1\" action=\"6\"/>"
                           "<meta name=\"k\" content=\"2\" action=\"5\"/>"),
                  BodyMode::REBUILD);
    CTemplateValues values;
    values.Read(templ);
    ASSERT_EQ(values.m_metas.size(), 2u);
    EXPECT_EQ(values.m_metas[1].action, 6);
    CHtmlPage page;
    page.SetText(Template("<meta name=\"k\" content=\"0\">"), BodyMode::PRESERVE);
    values.ApplyTo(page);
    EXPECT_EQ(page.GetMetaContent("k"), "0 1 2");
}

TEST(TemplateValues, APageWithoutPlaceForMetaKeepsItsTagsButGetsItsTitle) {
    CHtmlPage templ;
    templ.SetText(Template("<meta name=\"k\" content=\"v\" action=\"1\"/>"
                           "<title action=\"1\">T</title>"),
                  BodyMode::REBUILD);
    CTemplateValues values;
    values.Read(templ);
    CHtmlPage page;
    page.SetText("<title>x</title><body>b</body>", BodyMode::PRESERVE);
    values.ApplyTo(page);
    EXPECT_EQ(page.GetText(), "<title>T</title><body>b</body>");
}

} // namespace

// Merging a template is linear in its size: a template of 40,000 tags, which
// took minutes while every write searched the page afresh, takes well under a
// second (the bound leaves room for sanitizer builds on a busy machine).
TEST(TemplateValues, ManyTagsApplyInLinearTime) {
    constexpr int kTags = 40000;
    std::string head;
    for (int i = 0; i < kTags; ++i) {
        head += "<meta name=\"n" + std::to_string(i) + "\" content=\"v\" action=\"" +
                std::to_string(i % 2 ? 1 : 7) + "\"/>";
    }
    const auto start = std::chrono::steady_clock::now();
    CHtmlPage templ;
    templ.SetText(Template(head + "<title action=\"7\">Site -</title>"), BodyMode::REBUILD);
    CTemplateValues values;
    values.Read(templ);
    CHtmlPage page;
    page.SetText(Template("<title>Old</title><meta name=\"n1\" content=\"x\">"),
                 BodyMode::PRESERVE);
    values.ApplyTo(page);
    const std::string& text = page.GetText();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0);
    EXPECT_EQ(page.GetMetaContent("n1"), "v");
    EXPECT_EQ(page.GetMetaContent("n39998"), "v");
    EXPECT_EQ(page.GetTitle(), "Site - Old");
    EXPECT_NE(text.find("<meta name=\"n39999\" content=\"v\">"), std::string::npos);
}
