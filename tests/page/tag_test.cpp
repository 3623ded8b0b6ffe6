#include <gtest/gtest.h>

#include "page/element_table.h"
#include "page_test_util.h"

struct TagCase {
    std::string raw;
    std::string normalized;
    std::string name;
    int kind;
};

class TagNormalizeTest : public ::testing::TestWithParam<TagCase> {};

// Tags are checked both on their own and as cut from a page, since a tag read
// from a page takes a faster road to its name.
TEST_P(TagNormalizeTest, NormalizesAndClassifies) {
    const TagCase& c = GetParam();
    CHtmlTag tag(c.raw);
    EXPECT_EQ(tag.GetNormalizedText(), c.normalized);
    EXPECT_EQ(tag.GetName(), c.name);
    EXPECT_EQ(tag.GetKind(), c.kind);

    CHtmlPage page;
    page.SetText(c.raw, 0, CHtmlPage::SectionDetail::ALL);
    ASSERT_EQ(page.GetCount(), 1u);
    const CHtmlSection* section = CHtmlPage::GetAt(page.GetHeadPosition());
    ASSERT_EQ(section->GetType(), SECTION_TAG);
    const CHtmlTag& parsed = static_cast<const CTagSection*>(section)->Tag();
    EXPECT_EQ(parsed.GetName(), c.name);
    EXPECT_EQ(parsed.GetKind(), c.kind);
    EXPECT_EQ(parsed.GetNormalizedText(), c.normalized);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, TagNormalizeTest,
    ::testing::Values(
        TagCase{"<META  NAME = \"Keywords\"\nCONTENT='A,  b'>",
                "<meta name=\"Keywords\" content='A,  b'>", "meta", TAG_EMPTY},
        TagCase{"<BR/>", "<br/>", "br", TAG_EMPTY}, TagCase{"<br />", "<br />", "br", TAG_EMPTY},
        TagCase{"</TITLE>", "</title>", "title", TAG_CLOSE},
        TagCase{"<div />", "<div />", "div", TAG_OPEN}, TagCase{"<a/b>", "<a/b>", "a", TAG_EMPTY},
        TagCase{"<!doctype html>", "<!doctype html>", "!doctype", TAG_OPEN},
        TagCase{"<!DOCTYPE HTML>", "<!DOCTYPE HTML>", "!DOCTYPE", TAG_OPEN},
        TagCase{"<NAV CLASS=Top>", "<nav class=top>", "nav", TAG_OPEN},
        TagCase{"<  P\t\tALIGN\r\n=\r\nCenter  >", "<p align=center >", "p", TAG_OPEN},
        TagCase{"<a =b>", "<a=b>", "a=b", TAG_OPEN},
        TagCase{"<a\"b c\">", "<a\"b c\">", "a\"b", TAG_OPEN},
        TagCase{"<P TITLE=\"Mixed\tCase\">", "<p title=\"Mixed Case\">", "p", TAG_OPEN},
        TagCase{"</br>", "</br>", "br", TAG_EMPTY}, TagCase{"<Body>", "<body>", "body", TAG_OPEN},
        TagCase{"<SECTION>", "<section>", "section", TAG_OPEN},
        // Read back, "<?" would start a server-script block and "<!--" a comment.
        TagCase{"< ?x>", "< ?x>", "", TAG_OPEN},
        TagCase{"<\t\t!-- X -->", "< !-- x -->", "", TAG_OPEN},
        TagCase{"<\n\n>", "< >", "", TAG_OPEN}));

TEST(Tag, RepairsWhatAWriterGives) {
    const struct {
        const char* raw;
        const char* normalized;
    } cases[] = {{"<img src=x", "<img src=x>"},
                 {"<a title='open", "<a title='open'>"},
                 {"<p>>", "<p>"},
                 {"p>", "<p>"},
                 {"", "<>"}};
    for (const auto& c : cases)
        EXPECT_EQ(CHtmlTag(c.raw).GetNormalizedText(), c.normalized) << c.raw;
}

TEST(Tag, SetTagTextOwnsAndNormalizes) {
    CHtmlTag tag;
    tag.SetTagText("<TITLE action=\"1\">");
    EXPECT_EQ(tag.GetRawText(), "<TITLE action=\"1\">");
    EXPECT_EQ(tag.GetNormalizedText(), "<title action=\"1\">");
    EXPECT_EQ(tag.GetName(), "title");
    EXPECT_EQ(tag.GetParserClass(), 3);
}

TEST(Tag, ElementTableRowsAndDuplicates) {
    EXPECT_EQ(FindElement("html"), 0);
    EXPECT_EQ(FindElement("bdo"), ELEMENT_TABLE_SIZE - 1);
    EXPECT_EQ(FindElement("META"), -1); // case-sensitive
    // "layer" occurs twice; the first row (class 10) wins.
    EXPECT_EQ(g_elementTable[FindElement("layer")].parserClass, 10);
    int empties = 0;
    for (const ElementInfo& row : g_elementTable)
        empties += row.contentFlags & ELEMENT_EMPTY;
    EXPECT_EQ(empties, 18);
}

struct AttributeCase {
    std::string tag;
    std::string attribute;
    int found;
    std::string value;
};

class AttributeTest : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(AttributeTest, ReadsValue) {
    const AttributeCase& c = GetParam();
    CHtmlTag tag(c.tag);
    std::string value = "stale";
    EXPECT_EQ(tag.GetAttribute(c.attribute, value), c.found);
    EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, AttributeTest,
    ::testing::Values(AttributeCase{"<meta name=robots content=noindex>", "content", 1, "noindex"},
                      AttributeCase{"<meta name=\"a\"content=\"b\">", "content", 0, ""},
                      AttributeCase{"<meta name=\"description\">", "content", 0, ""},
                      AttributeCase{"<input disabled>", "disabled", 1, ""},
                      AttributeCase{"<meta NAME='It''s'>", "name", 1, "It"},
                      AttributeCase{"<a href=\"unclosed", "href", 1, "unclosed"},
                      // Names are matched only at attribute boundaries, never in a value.
                      AttributeCase{"<meta property=x content='a name=b'>", "name", 0, ""},
                      AttributeCase{"<meta content=\"x name=y\" name=z>", "name", 1, "z"},
                      AttributeCase{"<meta content=x nname=y name=z>", "name", 1, "z"},
                      AttributeCase{"<meta name= content=x>", "name", 1, "content=x"},
                      AttributeCase{"<!DOCTYPE html public=\"x\">", "PUBLIC", 1, "x"},
                      AttributeCase{"<!DOCTYPE html PUBLIC=\"x\">", "PUBLIC", 0, ""}));

TEST(Tag, AttributeInt) {
    const struct {
        const char* tag;
        int found;
        int value;
    } cases[] = {{"<t a=TRUE>", 1, 1}, {"<t a=false>", 1, 0}, {"<t a=0x10>", 1, 16},
                 {"<t a=010>", 1, 8},  {"<t a=abc>", 1, 0},   {"<t a>", 1, 1},
                 {"<t b=1>", 0, 0},    {"<t a=-3>", 1, -3},   {"<t a=' 7x'>", 1, 7}};
    for (const auto& c : cases) {
        CHtmlTag tag(c.tag);
        int value = 99;
        EXPECT_EQ(tag.GetAttributeInt("a", value), c.found) << c.tag;
        EXPECT_EQ(value, c.value) << c.tag;
    }
}

TEST(Tag, SetAttribute) {
    const struct {
        const char* tag;
        const char* value;
        const char* result;
    } cases[] = {{"<title>", "3", "<title action=\"3\">"},
                 {"<title action=\"1\">", "3", "<title action=\"3\">"},
                 {"<title action=1>", "12", "<title action=\"12\">"},
                 {"<title action=1 id=x>", "2", "<title action=\"2\" id=x>"},
                 {"<title action>", "4", "<title action=\"4\">"},
                 {"<title action='5'>", "", "<title action>"},
                 {"<title>", "say \"hi\"", "<title action='say \"hi\"'>"}};
    for (const auto& c : cases) {
        CHtmlTag tag(c.tag);
        tag.SetAttribute("action", c.value);
        EXPECT_EQ(tag.GetNormalizedText(), c.result) << c.tag;
        EXPECT_EQ(tag.GetName(), "title");
    }
}

TEST(Tag, QuotedValuesReadBackAsWritten) {
    const std::string values[] = {"plain", "", "say \"hi\"", "it's", "both \" and '", "a>b<c"};
    for (const std::string& value : values) {
        CHtmlTag tag("<meta name=x content=" + QuoteAttributeValue(value) + "/>");
        std::string read;
        ASSERT_EQ(tag.GetAttribute("content", read), 1);
        if (value.find('"') != std::string::npos && value.find('\'') != std::string::npos)
            EXPECT_EQ(read, "both &quot; and '"); // a browser decodes the entity
        else
            EXPECT_EQ(read, value);
    }
}
