#include <gtest/gtest.h>

#include "page_test_util.h"

struct BodyCase {
    const char* name;
    std::string page;
    std::string text;
};

class BodyTextTest : public ::testing::TestWithParam<BodyCase> {};

TEST_P(BodyTextTest, Text) {
    CHtmlPage page;
    page.SetText(GetParam().page, BodyMode::PRESERVE);
    EXPECT_EQ(page.GetBodyText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    BodyText, BodyTextTest,
    ::testing::Values(
        BodyCase{"BoldDoesNotSplitWords", "<body><p>Hello <b>big</b>world</p></body>",
                 "Hello big world"},
        BodyCase{"NoBodyTag", "<html><p>text</p></html>", ""},
        BodyCase{"ItalicJoins", "<body><p>un<i>believ</i>able</p>", "unbeliev able"},
        BodyCase{"OtherTagsSplit", "<body><p>a<span>b</span>c</p>", "a b c"},
        BodyCase{"ScriptBlocksSkipped", "<body><p>a<?php echo 'x'; ?>b</p>", "ab"},
        BodyCase{"CommentsSplit", "<body><p>a<!-- x -->b</p>", "a b"},
        BodyCase{"StopsAtClosingBody", "<body><p>in</p></body><p>out</p>", "in"},
        BodyCase{"KeptTextPairsOfSpaces", "<body><p>a    b\r\n\tc</p>", "a  b  c"},
        BodyCase{"CollapsedInsideUnknownElement", "<body><nav>a  \t b</nav>", "a b"},
        BodyCase{"CollapsedInsideOption", "<body><select><option>x   y</option></select>", "x y"},
        BodyCase{"UnmatchedCloseChangesNothing", "<body><nav><p>a</span>b   c</p>", "a b  c"},
        BodyCase{"CloseFindsNearestOpen", "<body><ul><li><span>x</ul>a  b", "x a b"},
        BodyCase{"Utf8LettersAreWordCharacters",
                 "<body><nav>na\xC3\xAFve\xC2\xA0"
                 "caf\xC3\xA9</nav>",
                 "na\xC3\xAFve\xC2\xA0"
                 "caf\xC3\xA9"},
        BodyCase{"ControlCharactersAreSpace",
                 "<body><nav>a\x01\x02"
                 "b</nav>",
                 "a b"}),
    [](const auto& info) { return info.param.name; });

TEST(BodyText, DeepNestingStaysCheap) {
    // Many open elements and many closing tags that match none of them.
    std::string text = "<body>";
    for (int i = 0; i < 20000; ++i)
        text += "<div>";
    for (int i = 0; i < 20000; ++i)
        text += "</span>w";
    CHtmlPage page;
    page.SetText(text, BodyMode::PRESERVE);
    EXPECT_EQ(page.GetBodyText().size(), 20000u * 2 - 1);
}

// The text a reader sees: no script, style, noscript or template content, and
// the main content first.
TEST(ReaderText, LeavesOutHiddenElementsAndPutsTheMainContentFirst) {
    const std::vector<BodyCase> cases = {
        {"HiddenElements",
         "<body><p>a</p><script>var evenRowColor = 1;</script><style>p{}</style>"
         "<noscript><p>JavaScript is disabled</p></noscript><template><p>t</p></template>"
         "<p>b</p></body>",
         "a b"},
        {"MainFirst",
         "<body><nav>Home | Next</nav><main><h1>Title</h1><p>Text</p></main>"
         "<footer>(c)</footer></body>",
         "Title Text Home | Next (c)"},
        {"ArticlesInOrder", "<body>x<article>a</article>y<article>b</article></body>", "a b x y"},
        {"RoleMain",
         "<body><div class=nav>n</div><div class=\"body\" role=\"main\"><p>m</p>"
         "</div></body>",
         "m n"},
        {"UnclosedScriptHidesTheRest", "<body><p>a</p><script>x<p>b</p></body>", "a"},
        {"ReferencesKept", "<body><p>&#187; a &amp; b</p></body>", "&#187; a &amp; b"},
        {"NoBody", "<p>x</p>", ""},
    };
    for (const BodyCase& c : cases) {
        CHtmlPage page;
        page.SetText(c.page, BodyMode::PRESERVE);
        EXPECT_EQ(page.GetReaderText(), c.text) << c.name;
    }
}
