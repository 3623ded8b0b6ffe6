// The audit's findings on pages of every kind, and the site table's columns
// and how a row is written back into a page.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "document/fingerprint.h"
#include "page/html_page.h"
#include "site/audit_report.h"
#include "site/site_audit.h"
#include "site/site_columns.h"

namespace {

const std::string kTitle40 = "Riverside village: boats, walks and food"; // 40 characters
const std::string kDescription100(100, 'd');

std::string Page(const std::string& head, const std::string& body = "") {
    return "<html><head>" + head + "</head><body>" + body + "</body></html>";
}

std::string Description(const std::string& text) {
    return "<meta name=\"description\" content=\"" + text + "\">";
}

// The findings on titles and descriptions only (the links and Open Graph
// tags are the social audit's).
CAuditThresholds TitlesAndDescriptions() {
    CAuditThresholds thresholds;
    QString error;
    EXPECT_TRUE(thresholds.Ignore("canonical-*,og-*,hreflang-*", error)) << error.toStdString();
    return thresholds;
}

std::vector<std::string> Codes(const CAuditPage& page) {
    std::vector<std::string> codes;
    for (const CAuditFinding& finding : page.findings)
        codes.emplace_back(AuditCodeName(finding.code));
    return codes;
}

TEST(SiteAudit, EachFindingOnItsOwnPage) {
    const std::string good = "<title>" + kTitle40 + "</title>" + Description(kDescription100);
    const std::string title = "<title>" + kTitle40 + "</title>";
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> codes;
    } cases[] = {
        {"good", Page(good), {}},
        {"no title", Page(Description(kDescription100)), {"title-missing"}},
        {"empty title",
         Page("<title> \n </title>" + Description(kDescription100)),
         {"title-empty"}},
        {"short title",
         Page("<title>Home</title>" + Description(kDescription100)),
         {"title-short"}},
        {"long title",
         Page("<title>" + std::string(61, 't') + "</title>" + Description(kDescription100)),
         {"title-long"}},
        {"two titles", Page(good + "<title>" + kTitle40 + "</title>"), {"title-multiple"}},
        {"no description", Page(title), {"description-missing"}},
        {"empty description", Page(title + Description("  ")), {"description-empty"}},
        {"short description", Page(title + Description("Boats.")), {"description-short"}},
        {"long description",
         Page(title + Description(std::string(161, 'd'))),
         {"description-long"}},
        {"two descriptions", Page(good + Description(kDescription100)), {"description-multiple"}},
        {"description in the body",
         Page(title, Description(kDescription100)),
         {"description-in-body"}},
        {"keywords in the body",
         Page(good, "<meta name=\"KEYWORDS\" content=\"k\">"),
         {"keywords-in-body"}},
        {"everything at once",
         Page("<title>a</title><title>b</title>", Description("")),
         {"title-short", "title-multiple", "description-empty", "description-in-body"}},
    };
    for (const auto& c : cases) {
        std::vector<CAuditPage> pages{AuditPage(c.name, c.text)};
        CSiteAudit(TitlesAndDescriptions()).Finish(pages);
        EXPECT_EQ(Codes(pages[0]), c.codes) << c.name;
    }
}

TEST(SiteAudit, LengthsCountCharactersAsAReaderSeesThem) {
    const struct {
        std::string bytes; // a title
        int length;
    } cases[] = {
        {"  Boats \n\t and   walks ", 15},
        {"Tom &amp; Jerry", 11},
        {"&#233;t&eacute; &#x1F600;", 5},
        {"&notanentity here", 14}, // "¬anentity here"
        {"&amp;amp;", 5},
        {"Caf\xC3\xA9 \xF0\x9F\x98\x80", 6}, // UTF-8, a character beyond the BMP
        {"\xE9t\xE9 \xE0 Paris", 11},        // windows-1252
    };
    for (const auto& c : cases) {
        const CAuditPage page = AuditPage("p", Page("<title>" + c.bytes + "</title>"));
        EXPECT_EQ(page.titleLength, c.length) << c.bytes;
    }
    EXPECT_EQ(AuditPage("p", Page("<title>\xE9t\xE9</title>")).title, QString::fromUtf8("été"));
}

// Reading the head alone (when nothing after the body tag can be a meta tag)
// finds what reading the whole page finds, however the markup runs across
// the body tag.
TEST(SiteAudit, TheHeadAloneGivesTheFactsOfTheWholePage) {
    const std::vector<std::string> fragments = {
        "<html>",
        "<head>",
        "</head>",
        "<title>T</title>",
        "<title>",
        "</title>",
        "<meta name=description content='d'>",
        "<META NAME=keywords CONTENT=k>",
        "<meta\vname=description content=x>",
        "<\tmeta name=keywords content=y>",
        "<meta charset=windows-1252>",
        "<!--",
        "-->",
        "<script>",
        "</script>",
        "</SCRIPT >",
        "<style>",
        "</style>",
        "<script src=x/>",
        "<body>",
        "</body>",
        "< body>",
        "<BODY class=x>",
        "<bodyx>",
        "<?php ",
        "?>",
        "<%",
        "%>",
        "<a title='",
        "'>",
        "\"",
        "text",
        "\xE9t\xE9",
        "<p>",
        "<",
        ">",
        "<!DOCTYPE html>",
        " ",
        "\n",
        "<meta",
        "body",
    };
    std::vector<std::string> noMeta;
    for (const std::string& fragment : fragments) {
        if (fragment.find("meta") == std::string::npos &&
            fragment.find("META") == std::string::npos)
            noMeta.push_back(fragment);
    }
    std::mt19937 random(7);
    for (int round = 0; round < 10000; ++round) {
        // Any markup; or any head, a body tag, and a body without meta tags.
        std::string page;
        const bool split = round % 2;
        const int count = 3 + static_cast<int>(random() % (split ? 15 : 30));
        for (int i = 0; i < count; ++i)
            page += fragments[random() % fragments.size()];
        if (split) {
            page += random() % 2 ? "<body>" : "\n<BODY class=x>";
            for (int i = static_cast<int>(random() % 15); i > 0; --i)
                page += noMeta[random() % noMeta.size()];
        }
        const CAuditPage fast = AuditPage("p", page, true);
        const CAuditPage whole = AuditPage("p", page, false);
        const auto facts = [](const CAuditPage& a) {
            return std::make_tuple(a.hasTitle, a.title, a.titleTags, a.hasDescription,
                                   a.description, a.descriptionTags, a.descriptionInBody,
                                   a.keywordsInBody);
        };
        ASSERT_EQ(facts(fast), facts(whole)) << page;
    }
}

TEST(SiteAudit, DuplicatesNameTheOtherPages) {
    std::vector<CAuditPage> pages;
    for (const char* name : {"a.html", "b.html", "c.html", "d.html", "e.html"})
        pages.push_back(AuditPage(
            name, Page("<title>" + kTitle40 + "</title>" + Description(kDescription100))));
    // White space does not make a title different; case does.
    pages.push_back(AuditPage("f.html", Page("<title> " + kTitle40 + "\n</title>")));
    pages.push_back(
        AuditPage("g.html", Page("<title>RIVERSIDE village: boats, walks and food</title>")));
    CAuditPage unreadable;
    unreadable.path = "h.html";
    unreadable.error = "Permission denied";
    pages.push_back(unreadable);
    const CSiteAudit audit(TitlesAndDescriptions());
    audit.Finish(pages);
    ASSERT_EQ(Codes(pages[0]),
              (std::vector<std::string>{"title-duplicate", "description-duplicate"}));
    EXPECT_EQ(audit.Message(pages, pages[0], pages[0].findings[0]),
              "same title as b.html, c.html, d.html and 2 more");
    EXPECT_EQ(audit.Message(pages, pages[0], pages[0].findings[1]),
              "same description as b.html, c.html, d.html and 1 more");
    EXPECT_EQ(audit.Message(pages, pages[1], pages[1].findings[1]),
              "same description as a.html, c.html, d.html and 1 more");
    EXPECT_EQ(Codes(pages[6]), std::vector<std::string>{"description-missing"});
    EXPECT_EQ(Codes(pages[7]), std::vector<std::string>{"unreadable"});
    EXPECT_EQ(audit.Message(pages, pages[7], pages[7].findings[0]),
              "cannot be read: Permission denied");

    const CAuditSummary summary = CSiteAudit::Summarize(pages);
    EXPECT_EQ(summary.pages, 8u);
    EXPECT_EQ(summary.pagesWithFindings, 8u);
    EXPECT_EQ(summary.counts[static_cast<size_t>(AuditCode::TITLE_DUPLICATE)], 6u);
    EXPECT_EQ(AuditSummaryText(summary).substr(0, 26), "8 pages, 8 with findings\n ");

    // A title shared by thousands of pages keeps a few of them by name and
    // counts the rest: memory grows with the pages, not their square.
    std::vector<CAuditPage> many(3000, AuditPage("p.html", Page("<title>Untitled</title>")));
    audit.Finish(many);
    const CAuditFinding& same = many[5].findings[1];
    ASSERT_EQ(Codes(many[5])[1], "title-duplicate");
    EXPECT_EQ(same.others.size(), KEPT_OTHERS);
    EXPECT_EQ(same.othersTotal, 2999u);
    EXPECT_EQ(audit.Message(many, many[5], same),
              "same title as p.html, p.html, p.html and 2996 more");
    EXPECT_NE(AuditJson(audit, many).find("\"others_total\": 2999"), std::string::npos);
}

TEST(SiteAudit, ThresholdsAreTheCallersAndTheTableFitsItsWidth) {
    CAuditThresholds thresholds = TitlesAndDescriptions();
    thresholds.titleMin = 2;
    thresholds.titleMax = 4;
    std::vector<CAuditPage> pages{AuditPage("p.html", Page("<title>Home</title>")),
                                  AuditPage("q.html", Page("<title>Homes</title>"))};
    const CSiteAudit audit(thresholds);
    audit.Finish(pages);
    EXPECT_EQ(Codes(pages[0]), std::vector<std::string>{"description-missing"});
    EXPECT_EQ(audit.Message(pages, pages[1], pages[1].findings[0]),
              "title longer than 4 characters (5)");
    pages[0].title = QString::fromUtf8("Wide 日本語の題名 and a long title that goes on");
    const std::string table = AuditTable(audit, pages, 60);
    size_t start = 0;
    for (int row = 0; row < 3; ++row) {
        const size_t end = table.find('\n', start);
        const std::string line = table.substr(start, end - start);
        std::u32string text = QString::fromStdString(line).toStdU32String();
        EXPECT_LE(DisplayWidth(text), 60) << line;
        start = end + 1;
    }
    EXPECT_NE(table.find("…"), std::string::npos);
    EXPECT_NE(table.find("q.html: title longer than 4 characters (5)\n"), std::string::npos);
}

TEST(SiteColumns, HeadersReadBackAsTheColumnsTheyName) {
    const struct {
        const char* name;
        int httpEquiv;
        const char* header;
    } cases[] = {
        {"description", 0, "description"}, {"Refresh", 1, "http-equiv:Refresh"},
        {"title", 0, "name:title"},        {"Path", 0, "name:Path"},
        {"name:x", 0, "name:name:x"},      {"http-equiv:y", 0, "name:http-equiv:y"},
    };
    for (const auto& c : cases) {
        CSiteColumn column;
        column.name = c.name;
        column.httpEquiv = c.httpEquiv;
        EXPECT_EQ(column.Header(), c.header);
        CSiteColumn back;
        QString error;
        ASSERT_TRUE(CSiteColumn::FromHeader(column.Header(), back, error)) << c.header;
        EXPECT_EQ(back.kind, CSiteColumn::META);
        EXPECT_EQ(back.name, c.name);
        EXPECT_EQ(back.httpEquiv, c.httpEquiv);
    }
    CSiteColumns columns;
    QString error;
    EXPECT_TRUE(columns.ReadHeader({"Path", "TITLE", "keywords"}, error));
    EXPECT_EQ(columns.PathColumn(), 0);
    EXPECT_EQ(columns.FingerprintColumn(), -1);
    const std::pair<std::vector<std::string>, const char*> bad[] = {
        {{"title", "description"}, "no 'path' column"},
        {{"path", "Description", "description"}, "named twice"},
        {{"path", "", "x"}, "a column without a name"},
        {{"path", "http-equiv:"}, "names no tag"},
    };
    for (const auto& [cells, message] : bad) {
        EXPECT_FALSE(columns.ReadHeader(cells, error));
        EXPECT_TRUE(error.contains(message)) << error.toStdString();
    }
    EXPECT_FALSE(columns.SetFields({"title", "path"}, error));
}

TEST(SiteColumns, ARowWritesOnlyTheCellsThatDifferInThePagesEncoding) {
    // A windows-1252 page: text goes in as its bytes there.
    const std::string text = "<html><head><meta charset=\"windows-1252\"><title>Caf\xE9</title>"
                             "<meta name=\"description\" content=\"Old\">"
                             "<meta name=\"keywords\" content=\"a, b\"></head><body>"
                             "<meta name=\"robots\" content=\"noindex\"></body></html>";
    CSiteColumns columns;
    QString error;
    ASSERT_TRUE(columns.ReadHeader(
        {"path", "title", "description", "keywords", "robots", "http-equiv:Refresh"}, error));
    const struct {
        const char* name;
        std::vector<std::string> cells;
        QStringList changed;
        std::vector<std::string> expected; // pieces of the page afterwards
    } cases[] = {
        {"nothing differs", {"p", "Caf\xC3\xA9", "Old", "a, b", "noindex", ""}, {}, {}},
        {"new text in the page's encoding",
         {"p",
          "Th\xC3\xA9"
          "\xC3\xA2tre",
          " New ", "a, b", "noindex", "5"},
         {"title", "description", "http-equiv:Refresh"},
         {"<title>Th\xE9\xE2tre</title>", "content=\"New\"",
          "http-equiv=\"Refresh\" content=\"5\""}},
        {"emptied cells remove the tags, also in the body",
         {"p", "Caf\xC3\xA9", "", " ", "", ""},
         {"description", "keywords", "robots"},
         {"<title>Caf\xE9</title></head><body></body>"}},
    };
    for (const auto& c : cases) {
        CHtmlPage page;
        page.SetText(text, BodyMode::PRESERVE);
        CPageValues values;
        values.Read(text, page, columns.MetaNames());
        QStringList changed;
        ASSERT_TRUE(ImportRow(page, values, columns, c.cells, changed, error))
            << c.name << ": " << error.toStdString();
        EXPECT_EQ(changed, c.changed) << c.name;
        const std::string& after = page.GetText();
        if (c.changed.isEmpty()) {
            EXPECT_EQ(after, text) << c.name;
        }
        for (const std::string& piece : c.expected)
            EXPECT_NE(after.find(piece), std::string::npos) << c.name << ": " << after;
    }
    // A character the page cannot hold is refused, never written as "?".
    CHtmlPage page;
    page.SetText(text, BodyMode::PRESERVE);
    CPageValues values;
    values.Read(text, page, columns.MetaNames());
    QStringList changed;
    EXPECT_FALSE(ImportRow(page, values, columns,
                           {"p", "Caf\xC3\xA9", "Tea \xE2\x98\x95", "a, b", "noindex", ""}, changed,
                           error));
    EXPECT_TRUE(error.startsWith("description: The character \"\xE2\x98\x95\" (U+2615)"))
        << error.toStdString();
}

TEST(SiteColumns, ExportRowsTakeEveryNameMetInPageOrder) {
    const std::string first = Page("<title>T</title><meta name=\"Description\" content=\"d\">"
                                   "<meta http-equiv=\"refresh\" content=\"5\">");
    const std::string second = Page("<meta name=\"description\" content=\"e\">"
                                    "<meta name=\"title\" content=\"x\">");
    CSiteColumns columns;
    QString error;
    ASSERT_TRUE(columns.SetFields({}, error));
    std::vector<CPageValues> values(2);
    for (size_t i = 0; i < 2; ++i) {
        const std::string& text = i ? second : first;
        CHtmlPage page;
        page.SetText(text, BodyMode::PRESERVE);
        values[i].Read(text, page);
        columns.AddMetas(values[i]);
    }
    EXPECT_EQ(
        columns.HeaderCells(),
        (std::vector<std::string>{"path", "fingerprint", "title", "title_px", "description_px",
                                  "Description", "http-equiv:refresh", "name:title"}));
    // Without a measurer the widths stay empty.
    const std::vector<std::string> row = columns.RowCells("b.html", values[1]);
    EXPECT_EQ(row[0], "b.html");
    EXPECT_EQ(row[1], PageFingerprint(second));
    EXPECT_EQ(std::vector<std::string>(row.begin() + 2, row.end()),
              (std::vector<std::string>{"", "", "", "e", "", "x"}));
}

} // namespace
