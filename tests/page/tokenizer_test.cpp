#include <gtest/gtest.h>

#include <random>

#include "page/tag_scan.h"
#include "page_test_util.h"

using Strings = std::vector<std::string>;

struct CutCase {
    const char* name;
    std::string text;
    Strings sections;
};

class CutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutTest, CutsSections) {
    CHtmlPage page;
    page.SetText(GetParam().text, BodyMode::REBUILD, CHtmlPage::SectionDetail::ALL);
    EXPECT_EQ(Sections(page), GetParam().sections);
}

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, CutTest,
    ::testing::Values(
        CutCase{"PlainText", "just text, no tags", {"x:just text, no tags"}},
        CutCase{"Empty", "", {}},
        CutCase{"PhpBlock", "a<?php echo 1; ?>b", {"x:a", "s:<?php echo 1; ?>", "x:b"}},
        CutCase{"AspBlock", "<% x %>", {"s:<% x %>"}},
        CutCase{"UnclosedScriptTakesRest",
                "<?php if (a > b) { echo 1;",
                {"s:<?php if (a > b) { echo 1;"}},
        CutCase{"ScriptEndSearchedFromStart", "<?>x", {"s:<?>", "x:x"}},
        CutCase{"QuotedGreaterThan", "<a title=\"x>y\">z", {"t:<a title=\"x>y\">", "x:z"}},
        CutCase{"ApostropheInUnquotedValue", "<p class=it's>a'>b", {"t:<p class=it's>a'>", "x:b"}},
        CutCase{"Comment", "<!-- c -->x", {"c:<!-- c -->", "x:x"}},
        CutCase{"UnterminatedComment", "<!-- c > d", {"c:<!---->", "x: c > d"}},
        CutCase{"TagUnclosedQuoteTakesRest", "<a href=\"x>y", {"t:<a href=\"x>y\">"}},
        CutCase{"LessThanWithoutGreaterIsText", "<p>a < b", {"t:<p>", "x:a ", "x:< b"}},
        CutCase{"LessThanAtEnd", "<p>x<", {"t:<p>", "x:x", "x:<"}},
        CutCase{"GreaterRightAfterLessIsNotEnough", "<>", {"x:<>"}},
        CutCase{"ZeroBytesKept",
                std::string("a\0b<p>\0", 7),
                {std::string("x:a\0b", 5), "t:<p>", std::string("x:\0", 3)}}),
    [](const auto& info) { return info.param.name; });

TEST(Tokenizer, TextWithoutLessThanRebuildsUnchanged) {
    const std::string text = "no markup at all\r\n\twith > signs & stuff";
    EXPECT_EQ(Rebuilt(text, 0), text);
    EXPECT_EQ(Rebuilt(text, 1), text);
}

TEST(Tokenizer, NothingAfterUnterminatedLessThanIsLost) {
    const std::string text = "<html><head><TITLE>t</TITLE></head>trailing < text";
    EXPECT_EQ(Rebuilt(text, 0), "<html><head><title>t</title></head>trailing < text");
}

TEST(Tokenizer, ZeroBytesSurviveRebuild) {
    const std::string text("<HEAD>\0</HEAD><body>\0x</body>", 29);
    EXPECT_EQ(Rebuilt(text, 1), std::string("<head>\0</head><body>\0x</body>", 29));
    EXPECT_EQ(Rebuilt(text, 0), std::string("<head>\0</head><body>\0x</body>", 29));
}

TEST(PreserveBody, KeepsEverythingFromFirstBodyTagVerbatim) {
    const std::string head = "<HTML>\n<HEAD><TITLE>T</TITLE><!--x--><?php a ?></HEAD>\n";
    const std::string tail = "<BODY BGCOLOR=White><P CLASS=A>Text<!-- unterminated <BR>";
    EXPECT_EQ(Rebuilt(head + tail, 1),
              "<html>\n<head><title>T</title><!--x--><?php a ?></head>\n" + tail);
    EXPECT_EQ(Rebuilt(head + tail, 0),
              "<html>\n<head><title>T</title><!--x--><?php a ?></head>\n"
              "<body bgcolor=White><p class=A>Text<!----> unterminated <br>");
}

TEST(PreserveBody, FirstBodyTagMayBeClosing) {
    const std::string text = "<HTML><HEAD></HEAD></BODY><BODY>x</BODY>";
    EXPECT_EQ(Rebuilt(text, 1), "<html><head></head></BODY><BODY>x</BODY>");
}

TEST(PreserveBody, UntouchedCleanPageIsItsOwnText) {
    const std::string text = "<html><head><title>t</title></head><body><p>x</p></body></html>";
    EXPECT_EQ(Rebuilt(text, 1), text);
    EXPECT_EQ(Rebuilt(text, 0), text);
}

TEST(PreserveBody, PageWithoutBodyIsRebuiltWhole) {
    std::string text = "<HEAD><META NAME=a CONTENT=b></HEAD>";
    for (int i = 0; i < 1000; ++i)
        text += "<P>x";
    std::string expected = "<head><meta name=a content=b></head>";
    for (int i = 0; i < 1000; ++i)
        expected += "<p>x";
    EXPECT_EQ(Rebuilt(text, 1), expected);
}

// Pages hold millions of sections; their size decides how much memory a page
// takes beside its text.
TEST(Sections, StaySmall) {
    if constexpr (sizeof(void*) == 8) {
        EXPECT_LE(sizeof(CTextSection), 32u);
        EXPECT_LE(sizeof(CCommentSection), 32u);
        EXPECT_LE(sizeof(CTagSection), 48u);
    }
}

// The vector scan for tags after the body against a plain one, on texts
// dense with near misses ("<m", "< /", "<bo", spaces, the block edges), for
// every set of names and many starting offsets.
TEST(TagScan, FindsWhatAPlainScanFinds) {
    const auto plain = [](std::string_view text, size_t from, TagNameSet names) {
        const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        for (size_t i = text.size(); i-- > from;) {
            if (text[i] != '<')
                continue;
            size_t k = i + 1;
            while (k < text.size() && isSpace(text[k]))
                ++k;
            if (k < text.size() && text[k] == '/')
                ++k;
            while (k < text.size() && isSpace(text[k]))
                ++k;
            for (const auto& [wanted, name] : {std::pair{names.meta, std::string_view("meta")},
                                               {names.head, "head"},
                                               {names.body, "body"}}) {
                if (!wanted || text.size() - k < name.size())
                    continue;
                bool same = true;
                for (size_t n = 0; n < name.size(); ++n)
                    same = same && (text[k + n] | 0x20) == name[n];
                const size_t after = k + name.size();
                if (same && (after == text.size() || isSpace(text[after]) || text[after] == '/' ||
                             text[after] == '>'))
                    return i;
            }
        }
        return std::string_view::npos;
    };
    const char* pieces[] = {"<",  "< ",  "</", "</ ", "<m", "<META", "meta", "<hea", "head>",
                            "<B", "ody", "x",  " ",   "\n", "<div>", "/",    ">",    "<bodyx"};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        const TagNameSet names{(random() & 1) != 0, (random() & 2) != 0, (random() & 4) != 0};
        const size_t from = text.empty() ? 0 : random() % (text.size() + 1);
        ASSERT_EQ(LastPossibleTag(text, from, names), plain(text, from, names))
            << "text: " << text << " from " << from;
    }
}
