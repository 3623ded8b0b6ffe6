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
    page.SetText(c.raw, BodyMode::REBUILD, CHtmlPage::SectionDetail::ALL);
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
        TagCase{"<NAV CLASS=Top>", "<nav class=Top>", "nav", TAG_OPEN},
        TagCase{"<  P\t\tALIGN\r\n=\r\nCenter  >", "<p align=Center >", "p", TAG_OPEN},
        TagCase{"<a =b>", "<a=b>", "a=b", TAG_OPEN},
        // Names are lower-cased, unquoted values are not; an "=" before the
        // name ends is part of the name.
        TagCase{"<A =B>", "<a=b>", "a=b", TAG_OPEN}, TagCase{"<=B>", "<=b>", "=b", TAG_OPEN},
        TagCase{"<SCRIPT DEFER SRC=Lib.JS>", "<script defer src=Lib.JS>", "script", TAG_OPEN},
        TagCase{"</A CLASS=X>", "</a class=X>", "a", TAG_CLOSE},
        TagCase{"<BR CLASS=X/>", "<br class=X/>", "br", TAG_EMPTY},
        TagCase{"<DIV CLASS=X/>", "<div class=X/>", "div", TAG_OPEN},
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
    } cases[] = {{"<t a=TRUE>", 1, 1},  {"<t a=FALSE>", 1, 0}, {"<t a=0X1f>", 1, 31},
                 {"<t a=false>", 1, 0}, {"<t a=0x10>", 1, 16}, {"<t a=010>", 1, 8},
                 {"<t a=abc>", 1, 0},   {"<t a>", 1, 1},       {"<t b=1>", 0, 0},
                 {"<t a=-3>", 1, -3},   {"<t a=' 7x'>", 1, 7}};
    for (const auto& c : cases) {
        CHtmlTag tag(c.tag);
        int value = 99;
        EXPECT_EQ(tag.GetAttributeInt("a", value), c.found) << c.tag;
        EXPECT_EQ(value, c.value) << c.tag;
    }
}

// An unquoted value is data (an address, a file name): normalizing keeps its
// case, and only its case, also in odd spellings.
TEST(Tag, UnquotedValuesKeepTheirCase) {
    const struct {
        std::string raw, normalized, attribute, value;
    } cases[] = {
        {"<LINK REL=stylesheet HREF=/Styles/Main.css>",
         "<link rel=stylesheet href=/Styles/Main.css>", "href", "/Styles/Main.css"},
        {"<META NAME=Author CONTENT=JohnSmith>", "<meta name=Author content=JohnSmith>", "content",
         "JohnSmith"},
        {"<BASE HREF=http://Example.org/Docs/>", "<base href=http://Example.org/Docs/>", "href",
         "http://Example.org/Docs/"},
        {"<OPTION SELECTED VALUE=X>", "<option selected value=X>", "value", "X"},
        // White space after "=" goes as before.
        {"<A HREF =\r\n\tIndex.HTML>", "<a href=Index.HTML>", "href", "Index.HTML"},
        {"<T A==B>", "<t a==B>", "a", "=B"},
        {"<T A= =B>", "<t a==B>", "a", "=B"},
        // A space ends the value: a name follows.
        {"<P TITLE=A  ID=B>", "<p title=A id=B>", "id", "B"},
        {"<P TITLE=A  ID>", "<p title=A id>", "title", "A"},
        // A space dropped before "<" or "=" does not: the value reads back as
        // it is written.
        {"<A HREF=X <B>", "<a href=X<B>", "href", "X<B"},
        {"<A HREF=X =B>", "<a href=X=B>", "href", "X=B"},
        // An apostrophe in an unquoted value opens a quote run.
        {"<A HREF=X'Y Z'W CLASS=Q>", "<a href=X'Y Z'W class=Q>", "class", "Q"},
        {"<BR CLASS=X/>", "<br class=X/>", "class", "X/"},
    };
    for (const auto& c : cases) {
        CHtmlTag tag(c.raw);
        EXPECT_EQ(tag.GetNormalizedText(), c.normalized) << c.raw;
        std::string value;
        EXPECT_EQ(tag.GetAttribute(c.attribute, value), 1) << c.raw;
        EXPECT_EQ(value, c.value) << c.raw;
        // The quick normal-form test agrees, and normalizing again changes nothing.
        EXPECT_EQ(IsNormalizedTagText(c.raw, false), c.raw == c.normalized) << c.raw;
        EXPECT_TRUE(IsNormalizedTagText(c.normalized, false)) << c.raw;
        EXPECT_EQ(NormalizeTagText(c.normalized, false), c.normalized) << c.raw;
        // A page writes the tag so, and a tag in that form as it stands.
        EXPECT_EQ(Rebuilt("<head>" + c.raw + "</head><body>", 1),
                  "<head>" + c.normalized + "</head><body>")
            << c.raw;
        EXPECT_EQ(Rebuilt("<head>" + c.normalized + "</head><body>", 1),
                  "<head>" + c.normalized + "</head><body>")
            << c.raw;
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
