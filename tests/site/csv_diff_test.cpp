// CSV tables as spreadsheets save them, and the diffs and changed ranges of
// edited pages.
#include <gtest/gtest.h>

#include <random>

#include "site/csv_table.h"
#include "site/json_string.h"
#include "site/text_diff.h"

namespace {

using Cells = std::vector<std::string>;

TEST(CsvTable, ReadsWhatSpreadsheetsSave) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::pair<int, Cells>> rows; // line and cells
    } cases[] = {
        {"plain, no line break at the end", "a,b\n1,2", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"byte-order mark and CRLF",
         "\xEF\xBB\xBFpath,title\r\np.html,T\r\n",
         {{1, {"path", "title"}}, {2, {"p.html", "T"}}}},
        {"quoted separators, quotes and line breaks",
         "a,b\r\n\"x, y\",\"say \"\"hi\"\"\r\nnext\"\r\nz,\"\"\r\n",
         {{1, {"a", "b"}}, {2, {"x, y", "say \"hi\"\r\nnext"}}, {4, {"z", ""}}}},
        {"empty lines skipped, empty fields kept", "\n\na,,b,\n\n", {{3, {"a", "", "b", ""}}}},
        {"old Mac line ends", "a\rb\r", {{1, {"a"}}, {2, {"b"}}}},
        {"non-ASCII text as it is",
         "Caf\xC3\xA9,\xE2\x98\x95\n",
         {{1, {"Caf\xC3\xA9", "\xE2\x98\x95"}}}},
    };
    for (const auto& c : cases) {
        const std::vector<CCsvRecord> records = CCsvReader::Read(c.text);
        ASSERT_EQ(records.size(), c.rows.size()) << c.name;
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].error, "") << c.name;
            EXPECT_EQ(records[i].line, c.rows[i].first) << c.name << " row " << i;
            EXPECT_EQ(records[i].cells, c.rows[i].second) << c.name << " row " << i;
        }
    }
}

TEST(CsvTable, MalformedRowsAreReportedOnTheirLinesAndReadingGoesOn) {
    const std::string text = "a,b\n"
                             "x\"y,1\n" // a quote inside an unquoted field
                             "\"ok\",2\n"
                             "\"x\"y,3\n" // text after the closing quote
                             "\"multi\nline\",4\n"
                             "\"never closed,5\n";
    const std::vector<CCsvRecord> records = CCsvReader::Read(text);
    ASSERT_EQ(records.size(), 6u);
    const std::pair<int, bool> expected[] = {{1, true},  {2, false}, {3, true},
                                             {4, false}, {5, true},  {7, false}};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].line, expected[i].first) << i;
        EXPECT_EQ(records[i].error.empty(), expected[i].second) << i << " " << records[i].error;
    }
    EXPECT_EQ(records[4].cells, (Cells{"multi\nline", "4"}));
    EXPECT_EQ(records[5].error, "a quoted field is not closed");
}

TEST(CsvTable, SeparatorIsTakenFromTheHeader) {
    EXPECT_EQ(CCsvReader::DetectSeparator("path,title;x\n"), ',');
    EXPECT_EQ(CCsvReader::DetectSeparator("\xEF\xBB\xBFpath;title\r\n"), ';');
    EXPECT_EQ(CCsvReader::DetectSeparator("\"path\"\ttitle\n"), '\t');
    EXPECT_EQ(CCsvReader::DetectSeparator("path\n"), ',');
    EXPECT_EQ(CCsvReader::Read("a;\"b;c\"\n", ';').front().cells, (Cells{"a", "b;c"}));
}

// Values a spreadsheet would take for formulas are written with an
// apostrophe in front, and every value reads back exactly, also when the
// table arrives a byte at a time.
TEST(CsvTable, EveryCellReadsBackAsWritten) {
    const Cells cells = {
        "",         "plain",      "a,b",         "\"quoted\"", "line\nbreak",    "cr\rlf\r\n",
        " padded ", "\ttab",      "Caf\xC3\xA9", "semi;colon", "\xFF raw bytes", "=1+1",
        "+33 1",    "-5 degrees", "@sum",        "\rcr first", "'=already",      "''+two",
        "'plain",   "'",          "0012",        "a=b"};
    for (char separator : {',', ';'}) {
        std::string text;
        AppendCsvRow(text, {"header"}, separator);
        AppendCsvRow(text, cells, separator);
        AppendCsvRow(text, cells, separator);
        std::string_view rest = text;
        CCsvStream stream(
            [&](char* buffer, size_t) {
                if (rest.empty())
                    return ssize_t(0);
                *buffer = rest.front();
                rest.remove_prefix(1);
                return ssize_t(1);
            },
            separator);
        std::vector<CCsvRecord> records;
        for (CCsvRecord record; stream.Next(record);) {
            for (std::string& cell : record.cells)
                cell = CsvCellValue(std::move(cell));
            records.push_back(std::move(record));
        }
        ASSERT_EQ(records.size(), 3u);
        EXPECT_EQ(records[1].cells, cells);
        EXPECT_EQ(records[2].cells, cells);
        EXPECT_EQ(records[2].line, 7); // four line breaks inside the cells above
    }
    // Every cell quoted, so that a spreadsheet can keep each as text.
    EXPECT_EQ(CsvField("plain"), "\"plain\"");
    EXPECT_EQ(CsvField("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(CsvField("=1+1"), "\"'=1+1\"");
    EXPECT_EQ(CsvField("'-x"), "\"''-x\"");
    EXPECT_EQ(CsvField("'x"), "\"'x\"");
}

TEST(JsonString, KeepsUtf8AndEscapesControlsAndOtherBytes) {
    EXPECT_EQ(JsonString("Caf\xC3\xA9 \"q\" \\ /"), "\"Caf\xC3\xA9 \\\"q\\\" \\\\ /\"");
    EXPECT_EQ(JsonString(std::string("\n\r\t\x01\x7F\x1B[31m\0", 11)),
              "\"\\n\\r\\t\\u0001\\u007F\\u001B[31m\\u0000\"");
    EXPECT_EQ(JsonString("\xE9\xC3"), "\"\\u00E9\\u00C3\"");
}

// A page of many lines whose head is edited in a few places.
std::string Page(int lines) {
    std::string page = "<html>\n<head>\n<title>Old</title>\n<meta name=\"a\" content=\"1\">\n"
                       "</head>\n<body>\n";
    for (int i = 0; i < lines; ++i)
        page += "<p>line " + std::to_string(i) + "</p>\n";
    return page + "</body>\n</html>\n";
}

TEST(TextDiff, ChangedRangesGiveTheOldTextBackAndStaySmall) {
    const std::string page = Page(2000);
    const struct {
        const char* name;
        std::string before, after;
    } cases[] = {
        {"title changed", page,
         std::string(page).replace(page.find("Old"), 3, "A much longer new title")},
        {"tag added and title changed", page,
         std::string(page)
             .replace(page.find("</head>"), 0, "\t<meta name=\"b\" content=\"2\"/>\r\n")
             .replace(page.find("Old"), 3, "New")},
        {"tag removed", page,
         std::string(page).erase(page.find("<meta"), page.find("</head>") - page.find("<meta"))},
        {"no line breaks at all", "<title>a</title><meta name=x content=y><body>b",
         "<title>b</title><meta name=x content=z><body>b"},
        {"grown from nothing", "", "<title>x</title>\n"},
        {"cut to nothing", "<title>x</title>\n", ""},
        {"last line without a line break", "a\nb", "a\nc"},
    };
    for (const auto& c : cases) {
        const std::vector<CByteRange> ranges = ChangedRanges(c.before, c.after);
        std::string restored;
        ASSERT_TRUE(RestoreRanges(c.after, ranges, restored)) << c.name;
        EXPECT_EQ(restored, c.before) << c.name;
        size_t kept = 0;
        for (const CByteRange& range : ranges)
            kept += range.oldBytes.size() + range.newLength;
        EXPECT_LT(kept, 200u) << c.name; // only the head, never the page
    }
    EXPECT_TRUE(ChangedRanges(page, page).empty());
}

TEST(TextDiff, RandomEditsRestoreExactly) {
    std::mt19937 random(12);
    const std::string base = Page(300);
    for (int round = 0; round < 200; ++round) {
        std::string edited = base;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % (edited.size() + 1);
            const size_t cut = std::min<size_t>(random() % 40, edited.size() - at);
            const std::string insert(random() % 30, static_cast<char>("<>\n\r ab"[random() % 7]));
            edited.replace(at, cut, insert);
        }
        std::string restored;
        ASSERT_TRUE(RestoreRanges(edited, ChangedRanges(base, edited), restored));
        ASSERT_EQ(restored, base) << "round " << round;
    }
    // Ranges that do not fit the text are refused.
    std::string out;
    EXPECT_FALSE(RestoreRanges("abc", {{2, 5, "x"}}, out));
    EXPECT_FALSE(RestoreRanges("abcdef", {{3, 1, "x"}, {1, 1, "y"}}, out));
}

TEST(TextDiff, UnifiedDiffHunks) {
    EXPECT_EQ(UnifiedDiff("same\n", "same\n", "a/p", "b/p"), "");
    EXPECT_EQ(
        UnifiedDiff("1\n2\n3\n4\n5\n6\n7\n8\n9\n", "1\n2\n3\n4\nfive\n6\n7\n8\n9\n", "a/p", "b/p"),
        "--- a/p\n+++ b/p\n@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n");
    // Changes near each other share a hunk; a missing last line break is said.
    EXPECT_EQ(UnifiedDiff("a\nb\nc", "A\nb\nC", "a/p", "b/p"),
              "--- a/p\n+++ b/p\n@@ -1,3 +1,3 @@\n-a\n+A\n b\n-c\n\\ No newline at end of file\n"
              "+C\n\\ No newline at end of file\n");
    EXPECT_EQ(UnifiedDiff("", "x\n", "a/p", "b/p"), "--- a/p\n+++ b/p\n@@ -0,0 +1 @@\n+x\n");
}

TEST(TextDiff, FileNamesAreQuotedAsGitQuotesThem) {
    // Relative to the current folder and normalised; outside it, as git
    // names such files.
    const std::pair<const char*, const char*> paths[] = {
        {"./site/p.html", "site/p.html"},
        {"site//sub/./p.html", "site/sub/p.html"},
        {"/home/me/site/p.html", "site/p.html"},
        {"site/../p.html", "p.html"},
        {"../other/p.html", "home/other/p.html"},
        {"/srv/www/p.html", "srv/www/p.html"},
        {"/home/meant/p.html", "home/meant/p.html"},
    };
    for (const auto& [path, name] : paths)
        EXPECT_EQ(DiffPath(path, "/home/me"), name) << path;
    EXPECT_EQ(DiffPath("/etc/p.html", "/"), "etc/p.html");
    EXPECT_EQ(DiffFileName("a/", "site/p.html"), "a/site/p.html");
    EXPECT_EQ(DiffFileName("b/", "my page.html"), "\"b/my page.html\"");
    EXPECT_EQ(DiffFileName("a/", "caf\xC3\xA9\".html"), "\"a/caf\\303\\251\\\".html\"");
}

} // namespace
