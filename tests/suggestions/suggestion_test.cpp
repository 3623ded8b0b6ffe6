// Description and keyword suggestion: separator collapsing, the description
// cuts, word statistics and the offer, the keyword choice, common words.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "suggestions/collapse_separators.h"
#include "suggestions/common_words.h"
#include "suggestions/description_suggestion.h"
#include "suggestions/keyword_suggestion.h"

namespace {

// "w1 w2 ... wN", with a full stop after word stopAfter (0: none).
std::string Words(int n, int stopAfter = 0) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            text += ' ';
        text += "w" + std::to_string(i);
        if (i == stopAfter)
            text += '.';
    }
    return text;
}

// word repeated count times, separated by spaces, with a trailing space.
std::string Repeat(const std::string& word, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += word + ' ';
    return text;
}

struct CollapseCase {
    std::string text;
    int withPunctuation;
    std::string expected;
};

TEST(CollapseSeparators, EveryRunBecomesOneSpace) {
    const CollapseCase cases[] = {
        {"a,\r\n b", 1, "a b"},
        {"a,\r\n b", 0, "a, b"},
        {"", 1, ""},
        {"plain", 1, "plain"},
        {"  a \t b  ", 0, " a b "},
        {"end.\t", 1, "end "},
        {"end.\t", 0, "end. "},
        {"x:;.,(){}'\"?!y", 1, "x y"},
        {"x:;.,(){}'\"?!y", 0, "x:;.,(){}'\"?!y"},
        {"\t\n\r ", 0, " "},
        {"a-b_c\vd", 1, "a-b_c\vd"}, // not separators
    };
    for (const CollapseCase& c : cases)
        EXPECT_EQ(CollapseSeparators(c.text, c.withPunctuation), c.expected)
            << "text: " << c.text << " punctuation: " << c.withPunctuation;
}

struct DescriptionCase {
    const char* name;
    std::string body;
    std::string expected;
};

TEST(ProposeDescription, CutsAtWordLimitAndLateFullStop) {
    const DescriptionCase cases[] = {
        {"36 words have only 35 spaces", Words(36), Words(36)},
        {"37 words are cut to 36", Words(37), Words(36)},
        {"full stop in the second half", Words(40, 20), Words(20, 20)},
        {"full stop in the first half", Words(40, 5), Words(36, 5)},
        {"full stop beyond the cut", Words(40, 38), Words(36)},
        {"uncut text ends at its last full stop", "Welcome. Click here", "Welcome."},
        {"several full stops, short text", "One. Two. three", "One. Two."},
        {"separators collapse first", "a\r\n\r\n\tb", "a b"},
        {"empty body", "", ""},
    };
    for (const DescriptionCase& c : cases)
        EXPECT_EQ(ProposeDescription(c.body), c.expected) << c.name;
}

struct OfferCase {
    const char* name;
    std::string body;
    std::string commonWords;
    std::string expected;
};

TEST(ProposeKeywords, PassesAndLimit) {
    std::string nineFrequent, fiveTwice;
    for (int i = 0; i < 9; ++i)
        nineFrequent += Repeat("often" + std::to_string(i), 4);
    for (int i = 0; i < 5; ++i)
        fiveTwice += Repeat("twice" + std::to_string(i), 2);

    const OfferCase cases[] = {
        {"case folds to one word", "Page page PAGE", "", "page "},
        {"short words never offered", "it an Go a I the", "", "the "},
        {"common word excluded", "it an the thesis", " and the ", "thesis "},
        {"passes in count order, each in order of first appearance",
         "one two beta three two three three beta", "", "three two beta one "},
        {"nine frequent words fill the offer", nineFrequent + fiveTwice + "once", "",
         "often0 often1 often2 often3 often4 often5 often6 often7 often8 "},
        {"seven frequent words let all twice-words in, not the once-words",
         Repeat("aaa", 3) + Repeat("bbb", 3) + Repeat("ccc", 3) + Repeat("ddd", 3) +
             Repeat("eee", 3) + Repeat("fff", 3) + Repeat("ggg", 3) + fiveTwice + "once",
         "", "aaa bbb ccc ddd eee fff ggg twice0 twice1 twice2 twice3 twice4 "},
        {"punctuation splits words", "end.Start (end) 'start'!", "", "end start "},
        {"empty body", "", "", ""},
    };
    for (const OfferCase& c : cases)
        EXPECT_EQ(ProposeKeywords(c.body, c.commonWords), c.expected) << c.name;
}

TEST(ProposeKeywords, WordsEachOnceAreAllOffered) {
    std::string body, expected;
    for (int i = 0; i < 50; ++i) {
        body += "word" + std::to_string(i) + ", ";
        expected += "word" + std::to_string(i) + " ";
    }
    EXPECT_EQ(ProposeKeywords(body, ""), expected);
}

TEST(KeywordStatistics, CountsInOrderOfFirstAppearance) {
    CKeywordStatistics stats;
    stats.AddText("Zeta alpha \vZETA beta\f alpha zeta", "");
    ASSERT_EQ(stats.GetSize(), 3u);
    EXPECT_EQ(stats.GetWordAt(0), "zeta");
    EXPECT_EQ(stats.GetWordAt(1), "alpha");
    EXPECT_EQ(stats.GetWordAt(2), "beta"); // "\v" and "\f" at the ends are trimmed
    EXPECT_EQ(stats.GetCountAt(0), 3u);
    EXPECT_EQ(stats.GetCount("alpha"), 2u);
    EXPECT_EQ(stats.GetCount("missing"), 0u);
}

TEST(KeywordStatistics, CountsBeyondSixteenBits) {
    CKeywordStatistics stats;
    stats.AddText(Repeat("word", 70000), "");
    EXPECT_EQ(stats.GetCount("word"), 70000u);
    EXPECT_EQ(stats.BuildOffer(), "word ");
}

TEST(KeywordStatistics, CommonWordsMatchWholeLowerCaseEntries) {
    // Entries as lines: "The" (capital), "and the" (two words), "what\t" (a tab
    // kept), "" (an empty line).
    const std::string common = BuildCommonWords("The\nand the\nwhat\t\n\nthen\n");
    CKeywordStatistics stats;
    stats.AddText("The and what then there", common);
    ASSERT_EQ(stats.GetSize(), 2u);
    EXPECT_EQ(stats.GetWordAt(0), "what");
    EXPECT_EQ(stats.GetWordAt(1), "there"); // "then" does not exclude a longer word
}

struct NormalizeCase {
    std::string word;
    std::string expected;
};

TEST(NormalizeKeyword, LowersUnicodeAndKeepsInvalidBytes) {
    const NormalizeCase cases[] = {
        {"MiXeD", "mixed"},
        {"\xC3\x9C"
         "BER",
         "\xC3\xBC"
         "ber"},                                                  // ÜBER -> über
        {"\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86"}, // ΣΟΦ -> σοφ
        {"ABC\xFF"
         "DEF",
         "abc\xFF"
         "def"}, // a stray byte stays
        {"X\xC3"
         "Y",
         "x\xC3"
         "y"},                            // a cut-off sequence stays
        {"\xC3\x9C\xC3", "\xC3\xBC\xC3"}, // valid then invalid
        {"\v\fword\v", "word"},
    };
    for (const NormalizeCase& c : cases)
        EXPECT_EQ(NormalizeKeyword(c.word), c.expected) << c.word;
}

TEST(ProposeKeywords, NonAsciiWords) {
    // "Über über" count as one; "ün" has two characters (three bytes) and is
    // too short; "naïve" stays one word.
    EXPECT_EQ(ProposeKeywords("\xC3\x9C"
                              "ber \xC3\xBC"
                              "ber \xC3\xBCn na\xC3\xAFve",
                              ""),
              "\xC3\xBC"
              "ber na\xC3\xAFve ");
}

TEST(KeywordChoice, ListEntriesAreSplitAndSorted) {
    EXPECT_EQ(KeywordListEntries("delta alpha  charlie bravo "),
              (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
    EXPECT_TRUE(KeywordListEntries("").empty());
    EXPECT_TRUE(KeywordListEntries("   ").empty());
    EXPECT_EQ(JoinChosenKeywords({}), "");
    EXPECT_EQ(JoinChosenKeywords({"alpha", "charlie"}), "alpha charlie");
}

struct FieldValueCase {
    std::string current;
    int append;
    std::string chosen;
    std::string expected;
};

TEST(KeywordChoice, FieldValueReplacesOrAppends) {
    const FieldValueCase cases[] = {
        {"old words", 0, "new", "new"},
        {"old words", 0, "", ""},
        {"old words", 1, "new", "old words new"},
        {"  old ", 1, "new", "old  new"}, // only the start is trimmed
        {" \t ", 1, "new", "new"},
        {"", 1, "new", "new"},
        {"old", 1, "", "old "},
    };
    for (const FieldValueCase& c : cases)
        EXPECT_EQ(KeywordsFieldValue(c.current, c.append, c.chosen), c.expected)
            << "current: '" << c.current << "' append: " << c.append;
}

struct CommonWordsCase {
    std::string file;
    std::string expected;
};

TEST(CommonWords, EachLineAsItStands) {
    const CommonWordsCase cases[] = {
        {"", " "},
        {"the\nand\n", " the and "},
        {"the\r\nand", " the and "},
        {"  the\nAND \n\nx\ry\n", "   the AND   x\ry "},
    };
    for (const CommonWordsCase& c : cases)
        EXPECT_EQ(BuildCommonWords(c.file), c.expected) << c.file;
}

TEST(CommonWords, LoadsFileAndReportsMissingOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("common_words.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the\r\n and\n");
    file.close();

    std::string words;
    QString error;
    EXPECT_EQ(LoadCommonWordsFile(path, words, error), 1);
    EXPECT_EQ(words, " the  and ");

    EXPECT_EQ(LoadCommonWordsFile(dir.filePath("missing.txt"), words, error), 0);
    EXPECT_EQ(words, "");
    EXPECT_FALSE(error.isEmpty());

    EXPECT_EQ(LoadCommonWordsFile(dir.path(), words, error), 0);
    EXPECT_EQ(words, "");
}

TEST(CommonWords, ShippedListHoldsPlainLowerCaseWords) {
    const char* source = std::getenv("TSLE_SOURCE_DIR");
    if (!source)
        GTEST_SKIP() << "TSLE_SOURCE_DIR not set";
    std::string words;
    QString error;
    ASSERT_EQ(LoadCommonWordsFile(QDir(source).filePath("res/common_words.txt"), words, error), 1)
        << error.toStdString();
    // Entries with capitals, blanks or punctuation could never match a word.
    for (const char c : words.substr(1))
        EXPECT_TRUE((c >= 'a' && c <= 'z') || c == ' ') << "unexpected byte " << int(c);
    EXPECT_EQ(words.find("  "), std::string::npos) << "empty line";
    EXPECT_EQ(ProposeKeywords("The keywords of this page are about gardens", words),
              "keywords page gardens ");
}

} // namespace
