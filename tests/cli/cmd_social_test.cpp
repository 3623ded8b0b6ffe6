// The search and social tags across a generated site, run as a user would:
// a template with variables applied to every page, the audit's findings on
// links, Open Graph tags and widths, and a table exported, edited and
// imported.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "cli_runner.h"
#include "site/csv_table.h"

namespace {

// A tree's files as "name: bytes", subfolders included.
QStringList Tree(const QString& root) {
    QStringList out;
    QDir dir(root);
    for (const QString& name :
         dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString path = root + "/" + name;
        if (QFileInfo(path).isDir()) {
            for (const QString& inner : Tree(path))
                out << name + "/" + inner;
            continue;
        }
        QFile file(path);
        out << name + ": " + (file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>");
    }
    return out;
}

std::vector<std::vector<std::string>> Rows(const QByteArray& csv) {
    std::vector<std::vector<std::string>> rows;
    for (CCsvRecord& record : CCsvReader::Read(csv.toStdString())) {
        for (std::string& cell : record.cells)
            cell = CsvCellValue(std::move(cell));
        rows.push_back(record.cells);
    }
    return rows;
}

QByteArray Csv(const std::vector<std::vector<std::string>>& rows) {
    QByteArray csv;
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            csv +=
                (i ? ",\"" : "\"") + QByteArray::fromStdString(row[i]).replace("\"", "\"\"") + "\"";
        csv += "\r\n";
    }
    return csv;
}

using CliSocial = CliTest;

TEST_F(CliSocial, TemplateVariablesFillEveryPageOfASite) {
    // Pages in their own styles: CRLF and indentation, XHTML, a PHP head.
    Write("site/index.html", "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n  <title>Home</title>\r\n"
                             "  <meta name=\"description\" content=\"Boats &amp; walks\">\r\n"
                             "</head>\r\n<body>\r\n</body>\r\n</html>\r\n");
    Write("site/docs/a guide.html",
          "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"de\">\n<head>\n"
          "<title>Guide</title>\n</head>\n<body/>\n</html>\n");
    Write("site/news.php", "<html>\n<head>\n<title>News</title>\n<?php if ($en): ?>\n"
                           "<meta name=\"robots\" content=\"all\">\n<?php endif; ?>\n</head>\n"
                           "<body><?php echo $x; ?></body></html>\n");
    Write("t.mtpl", "<html lang=\"en\" action=\"3\"><head>\n"
                    "<meta property=\"og:title\" content=\"{title}\" action=\"1\"/>\n"
                    "<meta property=\"og:description\" content=\"{description}\" action=\"3\"/>\n"
                    "<meta name=\"twitter:title\" content=\"{{{filename}}}\" action=\"1\"/>\n"
                    "<link rel=\"canonical\" href=\"{site}/{path}\" action=\"1\"/>\n"
                    "</head><body></body></html>\n");

    // A variable without a value for the pages stops the run before any write.
    const QStringList before = Tree(m_dir.filePath("site"));
    CliResult run = RunShell("exec \"$CLI\" apply t.mtpl -r site", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("{site}") && run.err.contains("--site URL"))
        << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);

    run = RunShell("exec \"$CLI\" apply t.mtpl -r site --site https://example.org/ "
                   "--project-root site",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData() << run.out.constData();
    EXPECT_EQ(Read("site/index.html").toStdString(),
              "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n  <title>Home</title>\r\n"
              "  <meta name=\"description\" content=\"Boats &amp; walks\">\r\n"
              "  <meta name=\"twitter:title\" content=\"{index.html}\">\r\n"
              "  <meta property=\"og:title\" content=\"Home\">\r\n"
              "  <meta property=\"og:description\" content=\"Boats &amp; walks\">\r\n"
              "  <link rel=\"canonical\" href=\"https://example.org/index.html\">\r\n"
              "</head>\r\n<body>\r\n</body>\r\n</html>\r\n");
    // The language a page has stays (set if missing); {path} is a URL's.
    EXPECT_EQ(Read("site/docs/a guide.html").toStdString(),
              "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"de\">\n<head>\n"
              "<meta name=\"twitter:title\" content=\"{a guide.html}\" />\n"
              "<meta property=\"og:title\" content=\"Guide\" />\n"
              "<meta property=\"og:description\" content=\"\" />\n"
              "<link rel=\"canonical\" href=\"https://example.org/docs/a%20guide.html\" />\n"
              "<title>Guide</title>\n</head>\n<body/>\n</html>\n");
    // Nothing lands inside the server-side block that holds the last meta tag.
    const QByteArray news = Read("site/news.php");
    EXPECT_TRUE(news.contains("<meta name=\"robots\" content=\"all\">\n<?php endif; ?>\n"
                              "<meta name=\"twitter:title\" content=\"{news.php}\">\n"))
        << news.constData();

    // Applied again: nothing changes.
    const QStringList done = Tree(m_dir.filePath("site"));
    run = RunShell("exec \"$CLI\" apply t.mtpl -r site --site https://example.org "
                   "--project-root site",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), done);

    // An unknown variable is named, and nothing is written.
    Write("bad.mtpl", "<html><head><meta property=\"og:title\" content=\"{Title} | {site}\" "
                      "action=\"1\"/></head><body></body></html>");
    run = RunShell("exec \"$CLI\" apply bad.mtpl -r site --site https://example.org", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("og:title") && run.err.contains("{Title}")) << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), done);
}

TEST_F(CliSocial, AuditFindsLinksOpenGraphTagsAndWidthsThatNeedWork) {
    const auto page = [](const QByteArray& title, const QByteArray& head) {
        return "<html><head><title>" + title + "</title><meta name=\"description\" content=\"" +
               QByteArray(90, 'd') + "\">" + head + "</head><body></body></html>\n";
    };
    const QByteArray og = "<meta property=og:title content=T><meta property=og:description "
                          "content=D><meta property=og:image content=/img/a.png>";
    const QByteArray title = "A title of a good length, neither short nor long";
    Write("site/img/a.png", "png");
    Write("site/en.html", page(title, og + "<link rel=canonical href=https://example.org/en.html>"
                                           "<link rel=alternate hreflang=fr href=fr.html>"));
    Write("site/fr.html",
          page(title + " (fr)", og + "<link rel=canonical href=https://example.org/fr.html>"
                                     "<link rel=alternate hreflang=en href=/en.html>"));
    Write("site/de.html",
          page(title + " (de)", og + "<link rel=canonical href=https://example.org/de.html>"
                                     "<link rel=alternate hreflang=en href=en.html>"));
    Write("site/relative.html",
          page(title + " (r)", "<link rel=canonical href=relative.html>"
                               "<meta property=og:image content=\"pics/gone.png\">"));
    const QByteArray site = "<link rel=canonical href=https://example.org/";
    Write("site/twice.html", page(title + " (t)", og + site + "twice.html>" +
                                                      "<link rel=\"Canonical\" "
                                                      "href=https://example.org/twice.html>"));
    Write("site/old.html", page(title + " (o)", og + site + "moved.html>"));
    Write("site/moved.html", page(title + " (m)", og + site + "en.html>"));
    // 55 characters, but far wider than 600 px.
    Write("site/wide.html", page(QByteArray(55, 'W'), og + site + "wide.html>"));

    const QSet<QString> social = {
        "title-too-wide",     "canonical-missing", "canonical-relative",     "canonical-multiple",
        "canonical-chain",    "og-title-missing",  "og-description-missing", "og-image-missing",
        "og-image-not-found", "hreflang-no-return"};
    CliResult run = RunShell("exec \"$CLI\" audit --format json -r site --site https://example.org "
                             "--project-root site",
                             m_dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    const QJsonObject report = QJsonDocument::fromJson(run.out).object();
    QMap<QString, QStringList> codes;
    int titlePx = -1;
    for (const QJsonValue& p : report["pages"].toArray()) {
        QStringList list;
        for (const QJsonValue& finding : p["findings"].toArray()) {
            if (social.contains(finding["code"].toString()))
                list << finding["code"].toString();
        }
        codes[p["path"].toString()] = list;
        if (p["path"].toString() == "site/wide.html")
            titlePx = p["title_px"].toInt();
    }
    const QMap<QString, QStringList> expected = {
        {"site/de.html", {"hreflang-no-return"}},
        {"site/en.html", {}},
        {"site/fr.html", {}},
        {"site/moved.html", {}},
        {"site/old.html", {"canonical-chain"}},
        {"site/relative.html",
         {"canonical-relative", "og-title-missing", "og-description-missing",
          "og-image-not-found"}},
        {"site/twice.html", {"canonical-multiple"}},
        {"site/wide.html", {"title-too-wide"}},
    };
    EXPECT_EQ(codes, expected) << run.out.constData();
    // 55 W's of Liberation Sans at 20 px: 18.9 px each.
    EXPECT_NEAR(titlePx, 1038, 2);

    // In words, in the table.
    run = RunShell("exec \"$CLI\" audit -r site --site https://example.org --project-root site "
                   "--ignore 'title-*,description-*'",
                   m_dir.path());
    EXPECT_TRUE(run.out.contains("\nsite/old.html: canonical link leads to site/moved.html, whose "
                                 "canonical link leads to https://example.org/en.html\n"))
        << run.out.constData();
    EXPECT_TRUE(run.out.contains("\nsite/de.html: hreflang en: site/en.html does not link back\n"));
    EXPECT_TRUE(run.out.contains("\nsite/relative.html: og:image pics/gone.png: no such file\n"));
    EXPECT_FALSE(run.out.contains("title-too-wide"));
    // A mobile description limit, and bad widths refused.
    run = RunShell("exec \"$CLI\" audit --format csv --device mobile --ignore 'og-*,canonical-*' "
                   "site/en.html",
                   m_dir.path());
    const auto rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 2u) << run.out.constData();
    EXPECT_EQ(rows[0][3], "title_px");
    EXPECT_EQ(rows[0][6], "description_px");
    EXPECT_EQ(rows[1][rows[1].size() - 2], "description-too-wide");
    for (const char* bad : {"--device tablet", "--title-px 0", "--ignore nothing-such",
                            "--site ftp://x", "--project-root nowhere"})
        EXPECT_EQ(RunShell(QString("exec \"$CLI\" audit site ") + bad, m_dir.path()).exitCode, 2)
            << bad;
}

TEST_F(CliSocial, ExportAndImportCarryPropertiesLinksAndTheLanguage) {
    Write("site/a.html", "<html lang=en>\n<head>\n<title>A</title>\n"
                         "<meta property=\"og:title\" content=\"A &amp; B\">\n"
                         "<link rel=\"canonical\" href=\"https://example.org/a.html\">\n"
                         "<link rel=\"alternate\" hreflang=\"fr\" href=\"/fr/a.html\">\n"
                         "</head>\n<body></body></html>\n");
    Write("site/b.html", "<html>\n<head>\n<title>B</title>\n</head>\n<body></body></html>\n");
    CliResult run = RunShell("exec \"$CLI\" export -r site -o t.csv", m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    auto rows = Rows(Read("t.csv"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"path", "fingerprint", "title", "title_px",
                                        "description_px", "property:og:title", "link:canonical",
                                        "link:alternate:fr", "html:lang"}));
    EXPECT_EQ(rows[1][5], "A & B");
    EXPECT_EQ(rows[1][8], "en");
    EXPECT_EQ(rows[1][3], "13"); // "A" at 20 px
    run = RunShell("exec \"$CLI\" import --no-journal t.csv", m_dir.path());
    EXPECT_EQ(run.out, "0 pages changed, 0 conflicts, 0 failures, 2 unchanged\n");

    // Edited: a property changed, a link removed, a language and a link
    // added; the widths are only read.
    rows[1][5] = "A, B";
    rows[1][6] = "";
    rows[1][3] = "999";
    rows[2][7] = "https://example.org/fr/b.html";
    rows[2][8] = "de";
    Write("t.csv", Csv(rows));
    run = RunShell("exec \"$CLI\" import --no-journal t.csv", m_dir.path());
    EXPECT_EQ(run.out, "2 pages changed, 0 conflicts, 0 failures, 0 unchanged\n")
        << run.err.constData();
    EXPECT_EQ(Read("site/a.html").toStdString(),
              "<html lang=en>\n<head>\n<title>A</title>\n"
              "<meta property=\"og:title\" content=\"A, B\">\n"
              "<link rel=\"alternate\" hreflang=\"fr\" href=\"/fr/a.html\">\n"
              "</head>\n<body></body></html>\n");
    // A page without meta tags takes a new tag after its head tag.
    EXPECT_EQ(Read("site/b.html").toStdString(),
              "<html lang=\"de\">\n<head>\n"
              "<link rel=\"alternate\" hreflang=\"fr\" href=\"https://example.org/fr/b.html\">\n"
              "<title>B</title>\n</head>\n<body></body></html>\n");
}

} // namespace
