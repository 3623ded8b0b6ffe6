// The whole-site commands run as a user would, on generated trees: audit,
// export and import (as spreadsheets save tables), diffs that patch tools
// take, and undoing runs, also runs that were killed half way.
#include <gtest/gtest.h>

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_runner.h"
#include "site/csv_table.h"
#include "site/undo_journal.h"

namespace {

const QByteArray kTitle40 = "Riverside village: boats, walks and food";
const QByteArray kDescription100 = QByteArray(100, 'd');

QByteArray Page(const QByteArray& head, const QByteArray& body = "") {
    return "<html><head>" + head + "</head><body>" + body + "</body></html>\n";
}

QByteArray Description(const QByteArray& text) {
    return "<meta name=\"description\" content=\"" + text + "\">";
}

// The table's rows (the values of the cells, as import reads them), without
// line numbers.
std::vector<std::vector<std::string>> Rows(const QByteArray& csv) {
    std::vector<std::vector<std::string>> rows;
    for (CCsvRecord& record : CCsvReader::Read(csv.toStdString())) {
        for (std::string& cell : record.cells)
            cell = CsvCellValue(std::move(cell));
        rows.push_back(record.cells);
    }
    return rows;
}

// A tree's files as "name: bytes", subfolders included.
QStringList Tree(const QString& root) {
    QStringList out;
    QDir dir(root);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot |
                                                 QDir::Hidden | QDir::System,
                                             QDir::Name)) {
        const QString path = root + "/" + name;
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()) {
            for (const QString& inner : Tree(path))
                out << name + "/" + inner;
            continue;
        }
        QFile file(path);
        out << name + ": " + (file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>");
    }
    return out;
}

using CliSite = CliTest;

TEST_F(CliSite, AuditReportsEachFindingAndReadsOnly) {
    const QByteArray good = "<title>" + kTitle40 + "</title>" + Description(kDescription100);
    Write("site/good.html", Page(good));
    Write("site/twin1.html", Page("<title>Home</title>" + Description(QByteArray(90, 'e'))));
    Write("site/sub/twin2.htm", Page("<title>Home</title><title>x</title>"));
    Write("site/long.html", Page("<title>" + QByteArray(70, 't') + "</title>" +
                                 Description(QByteArray(161, 'd')) + Description("")));
    Write("site/body.php",
          Page("<title>Another page with a title long enough</title>",
               Description(QByteArray(80, 'b')) + "<meta name=keywords content=k>"));
    Write("site/empty.html", Page("<title> </title>" + Description(" ")));
    Write("site/binary.html", QByteArray("<title>\0</title>", 16));
    Write("site/notes.txt", "not a page");
    Write("site/t.mtpl", Page(""));
    ASSERT_TRUE(QFile::link(m_dir.filePath("site/twin1.html"), m_dir.filePath("site/link.html")));
    const QStringList before = Tree(m_dir.filePath("site"));

    CliResult run = RunShell(
        "exec \"$CLI\" audit --ignore 'canonical-*,og-*' --format json -r site", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    const QJsonObject report = QJsonDocument::fromJson(run.out).object();
    QMap<QString, QStringList> codes;
    for (const QJsonValue& page : report["pages"].toArray()) {
        QStringList list;
        for (const QJsonValue& finding : page["findings"].toArray())
            list << finding["code"].toString();
        codes[page["path"].toString()] = list;
    }
    const QMap<QString, QStringList> expected = {
        {"site/binary.html", {"unreadable"}},
        {"site/body.php", {"description-in-body", "keywords-in-body"}},
        {"site/empty.html", {"title-empty", "description-empty"}},
        {"site/good.html", {}},
        {"site/long.html",
         {"title-long", "description-long", "description-too-wide", "description-multiple"}},
        {"site/sub/twin2.htm",
         {"title-short", "title-duplicate", "title-multiple", "description-missing"}},
        {"site/twin1.html", {"title-short", "title-duplicate"}},
    };
    EXPECT_EQ(codes, expected) << run.out.constData();
    EXPECT_EQ(report["summary"]["pages"].toInt(), 7);
    EXPECT_EQ(report["summary"]["pages_with_findings"].toInt(), 6);
    EXPECT_EQ(report["summary"]["findings"]["title-short"].toInt(), 2);
    EXPECT_EQ(run.err, "tsle-cli: site/binary.html: Not a text file (it contains zero bytes)\n");

    // The table: a row per page, every finding in words, the summary.
    run = RunShell("exec \"$CLI\" audit --ignore 'canonical-*,og-*' -r site --title-max 80 "
                   "--description-max 200",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.startsWith("PATH  ")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("\nsite/twin1.html: same title as site/sub/twin2.htm\n"));
    EXPECT_TRUE(run.out.contains("\nsite/long.html: 2 description tags\n"));
    EXPECT_FALSE(run.out.contains("title-long"));
    EXPECT_TRUE(run.out.endsWith(
        "\n7 pages, 6 with findings\n  1 unreadable\n  1 title-empty\n"
        "  2 title-short\n  2 title-duplicate\n  1 title-multiple\n"
        "  1 description-missing\n  1 description-empty\n"
        "  1 description-too-wide\n  1 description-multiple\n  1 description-in-body\n"
        "  1 keywords-in-body\n"))
        << run.out.constData();

    // CSV: one row per page, as other programs read it.
    run = RunShell("exec \"$CLI\" audit --ignore 'canonical-*,og-*' --format=csv site/good.html "
                   "site/twin1.html",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    const auto rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 3u);
    // Widths in Liberation Sans, which has Arial's widths: at 20 and 14 px.
    EXPECT_EQ(rows[1], (std::vector<std::string>{"site/good.html", kTitle40.toStdString(), "40",
                                                 "350", kDescription100.toStdString(), "100", "778",
                                                 "", "", "", "", "", ""}));
    EXPECT_EQ(rows[2][11], "title-short");

    run = RunShell("exec \"$CLI\" audit --ignore 'canonical-*,og-*' site/good.html", m_dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith("\n1 page, 0 with findings\n")) << run.out.constData();
    for (const char* bad : {"--format xml", "--title-min x", "--title-min 70", "-o x"}) {
        run = RunShell(QString("exec \"$CLI\" audit site ") + bad, m_dir.path());
        EXPECT_EQ(run.exitCode, 2) << bad;
    }
    EXPECT_EQ(RunShell("exec \"$CLI\" audit", m_dir.path()).exitCode, 2);
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);
}

TEST_F(CliSite, ExportAndImportRoundTripEveryValue) {
    // Values a spreadsheet must keep: quotes, separators, line breaks,
    // characters outside ASCII, in a UTF-8 page and in a windows-1252 page.
    Write("site/a.html", Page("<title>Caf\xC3\xA9 \"Riverside\",\r\nest. 1902</title>"
                              "<meta name=\"description\" content='Boats, \"walks\", food'>"
                              "<meta http-equiv=\"Refresh\" content=\"30\">"
                              "<meta name=\"title\" content=\"Also a title\">"));
    Write("site/b.html", Page("<meta charset=\"windows-1252\"><title>Th\xE9\xE2tre</title>"
                              "<meta name=\"Description\" content=\"L'\xE9t\xE9 \xE0 Paris\">"));
    // Values a spreadsheet would read as formulas, numbers or dates.
    Write("site/calc.html", Page("<title>=1+1</title><meta name=\"description\" content=\"0012\">"
                                 "<meta name=\"keywords\" content=\"-5, @home, '=x\">"));
    const std::string odd =
        QFile::encodeName(m_dir.filePath("site")).toStdString() + "/caf\xE9.html";
    {
        const QByteArray page = Page("<title>Odd name</title>");
        const int fd = ::open(odd.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, page.data(), page.size()), page.size());
        ::close(fd);
    }
    const QStringList before = Tree(m_dir.filePath("site"));
    // The table never takes the place of a page.
    for (const char* output : {"site/a.html", "site/new.htm", "t.mtpl"}) {
        CliResult refused =
            RunShell(QString("exec \"$CLI\" export -r site -o ") + output, m_dir.path());
        EXPECT_EQ(refused.exitCode, 1) << output;
        EXPECT_TRUE(refused.err.contains("not written (--force writes it anyway)")) << output;
    }
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);
    CliResult run = RunShell("exec \"$CLI\" export -r site -o t.csv", m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray csv = Read("t.csv");
    // Every cell quoted, a leading =, +, - or @ kept from a spreadsheet.
    EXPECT_TRUE(csv.startsWith("\"path\",\"fingerprint\",\"title\",")) << csv.constData();
    EXPECT_TRUE(csv.contains(",\"'=1+1\",\"")) << csv.constData();
    EXPECT_TRUE(csv.contains(",\"0012\",\"\",\"\",\"'-5, @home, '=x\"")) << csv.constData();
    auto rows = Rows(csv);
    ASSERT_EQ(rows.size(), 5u);
    // The widths after the title, then the tags in the order met.
    EXPECT_EQ(rows[0], (std::vector<std::string>{"path", "fingerprint", "title", "title_px",
                                                 "description_px", "description",
                                                 "http-equiv:Refresh", "name:title", "keywords"}));
    EXPECT_EQ(rows[1][2], "Caf\xC3\xA9 \"Riverside\",\r\nest. 1902");
    EXPECT_EQ(rows[1][5], "Boats, \"walks\", food");
    EXPECT_EQ(rows[2][2], "Th\xC3\xA9\xC3\xA2tre"); // as text, in UTF-8
    EXPECT_EQ(rows[2][5], "L'\xC3\xA9t\xC3\xA9 \xC3\xA0 Paris");
    EXPECT_EQ(rows[3][0], "site/caf\xE9.html"); // a name is its bytes
    EXPECT_EQ(rows[4][2], "=1+1");
    EXPECT_EQ(rows[4][8], "-5, @home, '=x");

    // Imported as exported: nothing to write.
    run = RunShell("exec \"$CLI\" import t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "0 pages changed, 0 conflicts, 0 failures, 4 unchanged\n");
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);

    // Edited: only the cells that differ are written, each page in its encoding.
    rows[1][2] = "New, \"quoted\"\ntitle";
    rows[1][5] = "Text with a line\nbreak";
    rows[1][6] = "";
    rows[2][2] = "Op\xC3\xA9ra";
    rows[4][2] = "=1+2";
    std::string edited;
    for (const auto& row : rows)
        AppendCsvRow(edited, row);
    Write("t.csv", QByteArray::fromStdString(edited));
    run = RunShell("exec \"$CLI\" import --verbose t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "changed site/a.html: title, description, http-equiv:Refresh\n"
                       "changed site/b.html: title\nunchanged site/caf\xE9.html\n"
                       "changed site/calc.html: title\n"
                       "3 pages changed, 0 conflicts, 0 failures, 1 unchanged\n");
    EXPECT_TRUE(Read("site/calc.html").contains("<title>=1+2</title>"));
    EXPECT_TRUE(Read("site/b.html").contains("<title>Op\xE9ra</title>"));
    EXPECT_FALSE(Read("site/a.html").contains("Refresh"));
    run = RunShell("exec \"$CLI\" export -r site --fields 'title, description' -o -", m_dir.path());
    const auto again = Rows(run.out);
    ASSERT_EQ(again.size(), 5u);
    EXPECT_EQ(again[0], (std::vector<std::string>{"path", "fingerprint", "title", "description"}));
    EXPECT_EQ(again[1][2], "New, \"quoted\"\ntitle");
    EXPECT_EQ(again[1][3], "Text with a line break"); // a tag's value reads so
    // What the pages hold now is imported as nothing to do.
    Write("again.csv", run.out);
    EXPECT_TRUE(
        RunShell("exec \"$CLI\" import again.csv", m_dir.path()).out.endsWith(" 4 unchanged\n"));
    EXPECT_EQ(again[2][2], "Op\xC3\xA9ra");

    // The import can be undone.
    run = RunShell("exec \"$CLI\" undo --last", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);
}

// export reads pages while it lists folders; its rows still come in the order
// of a whole walk (sorted by path within each argument, as audit lists them),
// though "b.html" < "b/c.html" < "ba.html" is not the order folders are
// listed in. Without the search font's module the widths stay empty and say
// why, and the rest of the table is the same.
TEST_F(CliSite, ExportRowsFollowThePathsOrderWhileFoldersAreStillListed) {
    for (const char* name : {"site/b.html", "site/b/c.html", "site/b/d/e.html", "site/ba.html",
                             "site/a/z.html", "site/Z.html", "site/b-c.html", "other/o.html"})
        Write(name, Page("<title>" + QByteArray(name) + "</title>"));
    ASSERT_EQ(::link(QFile::encodeName(m_dir.filePath("site/ba.html")),
                     QFile::encodeName(m_dir.filePath("site/b/d/same.html"))),
              0);
    const QString args = "site other/o.html missing.html other";
    CliResult audit = RunShell("exec \"$CLI\" audit --format csv -r " + args, m_dir.path());
    CliResult run = RunShell("exec \"$CLI\" export -r " + args + " -o -", m_dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.err.constData(); // missing.html
    EXPECT_TRUE(run.err.contains("missing.html: No such file or directory"));
    std::vector<std::string> exported, audited;
    for (const auto& row : Rows(run.out))
        exported.push_back(row[0]);
    for (const auto& row : Rows(audit.out))
        audited.push_back(row[0]);
    ASSERT_FALSE(audited.empty());
    audited.erase(std::remove(audited.begin(), audited.end(), "missing.html"), audited.end());
    exported.erase(exported.begin()); // the header
    audited.erase(audited.begin());
    EXPECT_EQ(exported, (std::vector<std::string>{"site/Z.html", "site/a/z.html", "site/b-c.html",
                                                  "site/b.html", "site/b/c.html", "site/b/d/e.html",
                                                  "site/ba.html", "other/o.html"}));
    EXPECT_EQ(exported, audited);

    // tsle-cli alone, away from its module.
    run = RunShell("cp \"$CLI\" ./lone-cli && exec ./lone-cli export -r site -o -", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.contains("widths in pixels cannot be measured: the search font's module "
                                 "cannot be loaded"))
        << run.err.constData();
    const auto rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0][3], "title_px");
    EXPECT_EQ(rows[1][3], "");
    EXPECT_EQ(rows[1][2], "site/Z.html");
}

// A table is untrusted: only existing pages under the root are written, and
// every row that is not used is named by its line.
TEST_F(CliSite, ImportWritesOnlyPagesUnderItsRootAndNamesEveryRefusedRow) {
    for (const char* name : {"a", "b", "c", "d", "e"})
        Write(QString("site/%1.html").arg(name), Page("<title>" + QByteArray(name) + "</title>"));
    Write("outside/o.html", Page("<title>o</title>"));
    Write("site/deploy.sh", "#!/bin/sh\necho deploy\n");
    Write("site/notes.md", "# notes\n");
    ASSERT_TRUE(QFile::link(m_dir.filePath("outside/o.html"), m_dir.filePath("site/link.html")));
    ASSERT_EQ(RunShell("cd site && exec \"$CLI\" export a.html b.html c.html d.html --fields title "
                       "-o ../t.csv",
                       m_dir.path())
                  .exitCode,
              0);
    QByteArray csv = Read("t.csv");
    csv.replace(",\"a\"\r\n", ",\"A\"\r\n")
        .replace(",\"b\"\r\n", ",\"B\"\r\n")
        .replace(",\"c\"\r\n", ",\"C\"\r\n");
    const QByteArray abs = m_dir.filePath("outside/o.html").toUtf8();
    csv += "missing.html,,M\r\n"           // line 6: no such page
           "b.html,x\"y,B\r\n"             // line 7: malformed
           "a.html,,A,extra\r\n"           // line 8: too many fields
           "./d.html,,D2\r\n"              // line 9: d again
           "deploy.sh,,$(touch PWNED)\r\n" // line 10: not a page
           "notes.md,,x\r\n"               // line 11: not a page
           "../outside/o.html,,x\r\n"      // line 12: outside the root
           "\"" +
           abs +
           "\",,x\r\n"                        // line 13: outside, absolute
           "link.html,,x\r\n"                 // line 14: leads outside
           "sub/../d.html,,D3\r\n"            // line 15: d a third time
           "e.html,,\"E\x01\"\r\n"            // line 16: a control character
           "t.mtpl,,x\r\n";                   // line 17: a template
    csv += QByteArray("e.html\0,,x\r\n", 12); // line 18: a zero byte in a path
    Write("t.csv", csv);
    Write("site/t.mtpl", Page("<title>t</title>"));
    Write("site/c.html", Page("<title>c changed meanwhile</title>"));
    QDir().mkpath(m_dir.filePath("site/sub"));
    const QStringList others = Tree(m_dir.filePath("outside")) << Read("site/deploy.sh");
    const CliResult run =
        RunShell("cd site && exec \"$CLI\" import --verbose ../t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "changed a.html: title\nchanged b.html: title\n"
                       "conflict c.html: the page changed since the table was made; not "
                       "changed\n"
                       "failed e.html: title: the cell holds the control character "
                       "U+0001; nothing was written\n"
                       "2 pages changed, 1 conflict, 12 failures, 0 unchanged\n")
        << run.out.constData();
    const QByteArray err = run.err;
    for (const char* line :
         {"t.csv:6: missing.html: No such file", "t.csv:7: malformed row",
          "t.csv:8: 4 fields, but the header has 3",
          "t.csv:5: d.html: the page is named on 3 rows (the first on line 5); none",
          "t.csv:10: deploy.sh: not a page", "t.csv:11: notes.md: not a page",
          "t.csv:12: ../outside/o.html: not in the folder", "t.csv:13: /",
          "t.csv:14: link.html: not in the folder", "t.csv:16: e.html: title: the cell holds",
          "t.csv:17: t.mtpl: is a template",
          "t.csv:18: e.html?: the path holds the control "
          "character U+0000",
          "t.csv:4: c.html: the page changed since"})
        EXPECT_TRUE(err.contains(line)) << line << "\n" << err.constData();
    EXPECT_EQ(err.count("the page is named on"), 1);
    EXPECT_EQ(Read("site/c.html"), Page("<title>c changed meanwhile</title>"));
    EXPECT_EQ(Read("site/d.html"), Page("<title>d</title>"));
    EXPECT_EQ(Read("site/e.html"), Page("<title>e</title>"));
    EXPECT_EQ(Read("site/a.html"), Page("<title>A</title>"));
    EXPECT_EQ(Tree(m_dir.filePath("outside")) << Read("site/deploy.sh"), others);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("site/PWNED")));

    // --root DIR: the fence, and where relative paths start.
    Write("u.csv", "path,title\r\nb.html,B2\r\n../outside/o.html,x\r\n");
    const CliResult rooted = RunShell("exec \"$CLI\" import --root site u.csv", m_dir.path());
    EXPECT_EQ(rooted.exitCode, 1);
    EXPECT_EQ(rooted.out, "1 page changed, 0 conflicts, 1 failure, 0 unchanged\n");
    EXPECT_TRUE(rooted.err.contains("u.csv:3: ../outside/o.html: not in the folder"));
    EXPECT_EQ(Read("site/b.html"), Page("<title>B2</title>"));
}

// Rows naming one page many times are reported once, and a large table is
// read as a stream.
TEST_F(CliSite, ImportOfAHugeTableOfDuplicatesStaysSmallAndQuick) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a memory limit and AddressSanitizer's shadow memory do not mix";
#endif
    Write("site/a.html", Page("<title>a</title>"));
    Write("site/b.html", Page("<title>b</title>"));
    QByteArray csv = "path,title,description\r\n";
    const QByteArray filler(150, 'x');
    csv.reserve(36 << 20);
    for (int i = 0; i < 200000; ++i)
        csv += "site/a.html,A" + QByteArray::number(i) + "," + filler + "\r\n";
    csv += "site/b.html,B,\r\n";
    Write("big.csv", csv);
    ASSERT_GT(csv.size(), 30 << 20);
    // Half a gigabyte of address space is far more than the tool needs, and
    // half of what reading the table whole took.
    const CliResult run = RunShell("ulimit -v 500000; exec \"$CLI\" import big.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 1) << run.err.constData();
    EXPECT_EQ(run.out, "1 page changed, 0 conflicts, 1 failure, 0 unchanged\n");
    EXPECT_EQ(run.err, "tsle-cli: big.csv:2: site/a.html: the page is named on 200000 rows (the "
                       "first on line 2); none of them is used\n");
    EXPECT_EQ(Read("site/b.html"), Page("<title>B</title>"));
}

TEST_F(CliSite, ImportTakesTablesAsSpreadsheetsSaveThem) {
    Write("site/a.html", Page("<title>Old</title><meta name=\"keywords\" content=\"k\">"));
    Write("site/b.html", Page("<title>Old</title>"));
    // Excel and LibreOffice Calc: a byte-order mark, CRLF, quoted line
    // breaks; in some languages semicolons between the fields.
    const QByteArray tables[] = {
        "\xEF\xBB\xBFpath,title,keywords,description\r\n"
        "site/a.html,\"New, \"\"quoted\"\"\",,\"Two\nlines\"\r\n"
        "site/b.html,B\xC3\xA9,,\r\n",
        "\xEF\xBB\xBF\"path\";\"title\";\"keywords\";\"description\"\r\n"
        "\"site/a.html\";\"New, \"\"quoted\"\"\";\"\";\"Two\nlines\"\r\n"
        "\"site/b.html\";\"B\xC3\xA9\";\"\";\"\"\r\n",
    };
    for (const QByteArray& table : tables) {
        Write("site/a.html", Page("<title>Old</title><meta name=\"keywords\" content=\"k\">"));
        Write("site/b.html", Page("<title>Old</title>"));
        Write("edited.csv", table);
        const CliResult run =
            RunShell("exec \"$CLI\" import --no-journal -v edited.csv", m_dir.path());
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.out, "changed site/a.html: title, keywords, description\n"
                           "changed site/b.html: title\n"
                           "2 pages changed, 0 conflicts, 0 failures, 0 unchanged\n");
        const QByteArray a = Read("site/a.html");
        EXPECT_TRUE(a.contains("<title>New, \"quoted\"</title>")) << a.constData();
        EXPECT_TRUE(a.contains("<meta name=\"description\" content=\"Two lines\">"));
        EXPECT_FALSE(a.contains("keywords"));
        EXPECT_EQ(Read("site/b.html"), Page("<title>B\xC3\xA9</title>"));
    }
    // A table saved in a legacy encoding is refused row by row, not written.
    Write("edited.csv", "path,title\r\nsite/b.html,Caf\xE9\r\n");
    const CliResult run = RunShell("exec \"$CLI\" import --verbose edited.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("edited.csv:2: the values are not UTF-8 text"));
    EXPECT_EQ(Read("site/b.html"), Page("<title>B\xC3\xA9</title>"));
}

TEST_F(CliSite, DiffsAreWhatPatchToolsApply) {
    if (::access("/usr/bin/git", X_OK) != 0 || ::access("/usr/bin/patch", X_OK) != 0)
        GTEST_SKIP() << "needs git and patch";
    // Line ends of every kind, no line break at the end, names to quote.
    Write("site/crlf.html", "<html>\r\n<head>\r\n<title>Old</title>\r\n</head>\r\n<body>\r\n"
                            "</body>\r\n</html>");
    Write("site/one line.html", Page("<title>Old</title>"));
    Write("site/caf\xC3\xA9.htm", "<html>\n<head>\n<title>Old</title>\n<meta name=\"keywords\" "
                                  "content=\"a\">\n</head>\n<body>\n" +
                                      QByteArray("<p>text</p>\n").repeated(20) + "</body></html>");
    Write("t.mtpl", "<html><head><meta name=\"keywords\" content=\"k\" action=\"7\"/>"
                    "<meta name=\"robots\" content=\"noindex\" action=\"1\"/>"
                    "<title action=\"7\">Site -</title></head><body></body></html>");
    ASSERT_EQ(RunShell("cp -r site copy && cp -r site patched", m_dir.path()).exitCode, 0);
    // From inside the site, "." and absolute paths in it: headers relative
    // to the current folder, normalised.
    CliResult run =
        RunShell("cd site && \"$CLI\" apply --diff --dry-run ../t.mtpl . -r > ../apply.diff && "
                 "\"$CLI\" set --diff --dry-run \"$PWD/./one line.html\" --title 'Caf\xC3\xA9'"
                 " > ../set.diff",
                 m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), Tree(m_dir.filePath("copy")));
    EXPECT_EQ(Read("apply.diff").count("\n--- "), 2); // and one at the very start
    EXPECT_TRUE(Read("apply.diff").contains("--- \"a/caf\\303\\251.htm\""));
    EXPECT_TRUE(Read("apply.diff").contains("+++ b/crlf.html\n"));
    EXPECT_TRUE(Read("set.diff").startsWith("--- \"a/one line.html\"\n"))
        << Read("set.diff").constData();
    // git takes the diffs; patch makes the very pages that apply makes.
    run = RunShell("cd copy && git apply --check ../apply.diff && git apply --check "
                   "../set.diff && cd ../patched && patch -s -p1 < ../apply.diff",
                   m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.out.constData() << run.err.constData();
    run = RunShell("cd site && exec \"$CLI\" apply --diff ../t.mtpl . -r", m_dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Read("apply.diff")) << "the diff of a real run is the dry run's";
    // A page outside the current folder: by its absolute path, as git names it.
    run = RunShell("cd copy && exec \"$CLI\" set --diff --dry-run ../site/crlf.html --title x",
                   m_dir.path());
    EXPECT_TRUE(run.out.startsWith("--- a/" + m_dir.filePath("site/crlf.html").mid(1).toUtf8()))
        << run.out.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), Tree(m_dir.filePath("patched")));
}

TEST_F(CliSite, ValuesAreWrittenInEachPagesEncoding) {
    const QByteArray latin = Page("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                                  "charset=iso-8859-1\"><title>Caf\xE9</title>");
    Write("site/latin.html", latin);
    Write("site/utf8.html", Page("<title>Caf\xC3\xA9</title>"));
    Write("ok.mtpl", "<html><head><meta name=\"description\" content=\"\xC3\xA9t\xC3\xA9\" "
                     "action=\"1\"/></head><body></body></html>");
    Write("cup.mtpl", "<html><head><meta name=\"description\" content=\"\xE2\x98\x95\" "
                      "action=\"1\"/></head><body></body></html>");
    CliResult run = RunShell("exec \"$CLI\" apply --no-journal cup.mtpl site -r", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "failed site/latin.html: description: The character \"\xE2\x98\x95\" "
                       "(U+2615) cannot be written in the encoding windows-1252. Nothing was "
                       "written.\nchanged site/utf8.html\n");
    EXPECT_EQ(Read("site/latin.html"), latin);
    run = RunShell("exec \"$CLI\" apply --no-journal ok.mtpl site -r", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(Read("site/latin.html").contains("content=\"\xE9t\xE9\">"));
    EXPECT_TRUE(Read("site/utf8.html").contains("content=\"\xC3\xA9t\xC3\xA9\">"));
    run = RunShell("\"$CLI\" set site/latin.html --title 'Th\xC3\xA9\xC3\xA2tre' && "
                   "\"$CLI\" set site/latin.html --title \"$(printf 'raw \\351')\" --meta "
                   "'keywords=\xE2\x98\x95'",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot be written in the encoding windows-1252"));
    EXPECT_TRUE(Read("site/latin.html").contains("<title>Th\xE9\xE2tre</title>"));

    // A page that declares UTF-8 stays UTF-8 with a stray byte in its body,
    // as a browser reads it.
    Write("site/stray.html",
          Page("<meta charset=\"utf-8\"><title>Caf\xC3\xA9</title>", "<p>\xE9</p>"));
    run = RunShell("\"$CLI\" set site/stray.html --title 'Caf\xC3\xA9 new'", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(Read("site/stray.html").contains("<title>Caf\xC3\xA9 new</title>"));
}

// Cells, like the editor's fields, hold text as a reader sees it: references
// resolved on export, "&" escaped only where it would start one on import.
TEST_F(CliSite, ExportAndImportTextWithCharacterReferences) {
    Write("site/a.html", Page("<title>Tools &#8212; A &amp; B</title>"
                              "<meta name=\"description\" content=\"x &lt; y\">"));
    CliResult run =
        RunShell("exec \"$CLI\" export -r site --fields title,description -o t.csv", m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    auto rows = Rows(Read("t.csv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][2], "Tools \xE2\x80\x94 A & B");
    EXPECT_EQ(rows[1][3], "x < y");
    rows[1][1].clear(); // no fingerprint check
    rows[1][3] = "Fish & Chips &amp; more";
    QByteArray csv = "path,fingerprint,title,description\r\n";
    for (const std::string& cell : rows[1])
        csv += "\"" + QByteArray::fromStdString(cell) + "\",";
    csv.chop(1);
    Write("t.csv", csv + "\r\n");
    run = RunShell("exec \"$CLI\" import --no-journal t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = Read("site/a.html");
    EXPECT_TRUE(page.contains("<title>Tools &#8212; A &amp; B</title>")) << page.constData();
    EXPECT_TRUE(page.contains("content=\"Fish & Chips &amp;amp; more\"")) << page.constData();
}

// A run killed at any moment is undone from its journal, page for page.
TEST_F(CliSite, UndoAfterAKilledApplyRestoresEveryPageExactly) {
    constexpr int kPages = 1500;
    for (int i = 0; i < kPages; ++i) {
        Write(QString("site/p%1.html").arg(i, 4, 10, QChar('0')),
              Page("<title>Page " + QByteArray::number(i) + "</title>",
                   QByteArray("<p>body</p>\n").repeated(i % 50)));
    }
    Write("t.mtpl", "<html><head><meta name=\"keywords\" content=\"k\" action=\"7\"/>"
                    "<title action=\"7\">Site -</title></head><body></body></html>");
    // The pages: a save that SIGKILL cut short leaves its temporary file (no
    // program can remove it then), never a page half written.
    const auto pages = [&] {
        QStringList tree = Tree(m_dir.filePath("site"));
        tree.removeIf([](const QString& entry) { return entry.startsWith(".tsle-"); });
        return tree;
    };
    const QStringList original = pages();
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(TSLE_CLI_PATH), {"apply", "--sync", "t.mtpl", "site", "-r"});
    ASSERT_TRUE(process.waitForReadyRead(20000));
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    ASSERT_TRUE(process.waitForFinished(20000));
    const QStringList killed = pages();
    ASSERT_NE(killed, original) << "no page was changed";
    int changed = 0;
    for (int i = 0; i < kPages; ++i)
        changed += killed[i] != original[i];
    EXPECT_LT(changed, kPages) << "the run ended before it was killed; nothing was tested";

    // A dry run says what it would do and does nothing.
    CliResult run = RunShell("exec \"$CLI\" undo --dry-run --last", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out.count("restored "), changed);
    EXPECT_EQ(pages(), killed);
    run = RunShell("exec \"$CLI\" undo --last", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out.count("restored "), changed);
    EXPECT_EQ(pages(), original);

    // After a whole run, a page changed since is left alone and reported.
    run = RunShell("exec \"$CLI\" apply --journal whole.journal t.mtpl site/p000?.html",
                   m_dir.path());
    ASSERT_EQ(run.exitCode, 0);
    const QByteArray touched = "<title>edited by hand</title>";
    Write("site/p0007.html", touched);
    // A journal kept elsewhere is undone only when asked to.
    run = RunShell("exec \"$CLI\" undo whole.journal", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("whole.journal: the journal is not in the journal folder "))
        << run.err.constData();
    EXPECT_EQ(run.out, "");
    run = RunShell("exec \"$CLI\" undo --force whole.journal", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("changed since site/p0007.html\n"));
    EXPECT_EQ(run.out.count("restored "), 9);
    EXPECT_TRUE(run.err.contains("site/p0007.html: changed since the run; not restored"));
    QStringList expected = original;
    expected[7] = "p0007.html: " + QString::fromUtf8(touched);
    EXPECT_EQ(pages(), expected);
}

// A journal names files and the bytes to put in them: undo writes only pages,
// from whole journals of the user's own, and by hash whatever the bytes.
TEST_F(CliSite, UndoTrustsOnlyWholeJournalsAndPages) {
    const std::string page = "<html><head><title>a</title></head><body></body></html>";
    // Text that no tool reads as a page (a zero byte near the start) is put
    // back all the same when its hash is the journal's.
    const std::string nul = std::string("<html><head><title>\0</title></head></html>", 41);
    const std::string script = "#!/bin/sh\necho deploy\n";
    Write("site/a.html", QByteArray::fromStdString(nul));
    Write("site/b.html", Page("<title>b2</title>"));
    Write("site/deploy.sh", QByteArray::fromStdString(script));
    const QString folder = m_state.filePath("tsle/journals");
    const auto journal = [&](const QString& name, const std::vector<CJournalEntry>& entries,
                             const QByteArray& extra = {}) {
        QDir().mkpath(folder);
        CUndoJournal j;
        QString error;
        EXPECT_TRUE(j.Create(folder + "/" + name, "import", {}, error)) << error.toStdString();
        for (const CJournalEntry& entry : entries)
            EXPECT_TRUE(j.Add(entry, error));
        EXPECT_TRUE(j.Finish(true, error));
        QFile file(folder + "/" + name);
        EXPECT_TRUE(file.open(QIODevice::Append));
        file.write(extra);
    };
    const std::string bPath = QFile::encodeName(m_dir.filePath("site/b.html")).toStdString();
    const std::string aPath = QFile::encodeName(m_dir.filePath("site/a.html")).toStdString();
    const std::string shPath = QFile::encodeName(m_dir.filePath("site/deploy.sh")).toStdString();
    journal("20200101-000000-000-import.journal",
            {CJournalEntry::For(aPath, page, nul), CJournalEntry::For(shPath, "", script),
             CJournalEntry::For(bPath, Page("<title>b</title>").toStdString(),
                                Page("<title>b2</title>").toStdString())});
    // Pages are put back; a script is no page.
    CliResult run = RunShell("exec \"$CLI\" undo --last", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Read("site/a.html").toStdString(), page);
    EXPECT_EQ(Read("site/b.html"), Page("<title>b</title>"));
    EXPECT_TRUE(run.out.contains("failed " + QByteArray::fromStdString(shPath) + ": not a page"))
        << run.out.constData();
    EXPECT_EQ(Read("site/deploy.sh").toStdString(), script);

    // A line damaged in the middle, or an end line counting other pages: the
    // rest is restored, the run reported and not marked undone.
    Write("site/b.html", Page("<title>b2</title>"));
    journal("20200102-000000-000-import.journal",
            {CJournalEntry::For(bPath, Page("<title>b</title>").toStdString(),
                                Page("<title>b2</title>").toStdString())},
            "page broken 00\n");
    run = RunShell("exec \"$CLI\" undo 20200102-000000-000-import.journal", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("20200102-000000-000-import.journal: line 8 is damaged"))
        << run.err.constData();
    EXPECT_EQ(Read("site/b.html"), Page("<title>b</title>"));
    CJournal read;
    QString error;
    ASSERT_TRUE(CUndoJournal::Read(folder + "/20200102-000000-000-import.journal", read, error));
    EXPECT_FALSE(read.undone);

    // Another user's journal, or one anyone may write, is not trusted.
    const QString mine = folder + "/20200102-000000-000-import.journal";
    ASSERT_TRUE(QFile::setPermissions(mine, QFile::permissions(mine) | QFile::WriteOther));
    run = RunShell("exec \"$CLI\" undo --dry-run " + mine, m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("other users may write the journal; not undone (--force"));
}

// Journals are kept for the last runs and days, not forever; and the
// temporary files of saves that were killed are removed by the next save.
TEST_F(CliSite, JournalsAndLeftoverTemporaryFilesArePruned) {
    const QString folder = m_state.filePath("tsle/journals");
    QDir().mkpath(folder);
    const QString today = QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss-zzz");
    for (const QString& name :
         {QString("20000101-000000-000-apply"), QString("20000102-000000-000-apply"),
          QString("20000103-000000-000-import"), today + "-apply"}) {
        CUndoJournal j;
        QString error;
        ASSERT_TRUE(j.Create(folder + "/" + name + ".journal", "apply", {}, error));
        ASSERT_TRUE(j.Finish(true, error));
    }
    Write("other.journal", "not ours to prune\n");
    CliResult run = RunShell("exec \"$CLI\" undo --prune --keep-runs 2", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "2 journals removed from " + folder.toUtf8() + "\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{"20000103-000000-000-import.journal", today + "-apply.journal"}));
    // Every run that keeps a journal prunes as the profile says.
    Write("config/Local AppWizard-Generated Applications/TSLE.ini",
          "[Journals]\nKeepRuns=1\nKeepDays=0\n");
    Write("site/a.html", Page("<title>a</title>"));
    Write("t.mtpl", "<html><head><title action=\"7\">Site -</title></head><body></body></html>");
    for (const char* name : {"Stale1", "Held12", "Fresh1"})
        Write(QString("site/.tsle-") + name, "half a page");
    Write("site/.tsle-other", "not a temporary file of ours");
    run = RunShell("touch -d '2 hours ago' site/.tsle-Stale1 site/.tsle-Held12 site/.tsle-other && "
                   "{ flock site/.tsle-Held12 sleep 5 & } && sleep 0.5 && "
                   "XDG_CONFIG_HOME=\"$PWD/config\" \"$CLI\" apply t.mtpl site/a.html; "
                   "status=$?; kill %1; exit $status",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QDir(m_dir.filePath("site")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{".tsle-Fresh1", ".tsle-Held12", ".tsle-other", "a.html"}));
    const QStringList left = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(left.size(), 1) << left.join(" ").toStdString();
    EXPECT_TRUE(left.front().endsWith("-apply.journal"));
    EXPECT_NE(left.front(), today + "-apply.journal");
    EXPECT_TRUE(QFile::exists(m_dir.filePath("other.journal")));
}

TEST_F(CliSite, UndoListsTheRecentJournals) {
    Write("site/a.html", Page("<title>a</title>"));
    Write("t.mtpl", "<html><head><title action=\"7\">Site -</title></head><body></body></html>");
    const QString env = "export XDG_STATE_HOME=\"$PWD/state\"; ";
    CliResult run = RunShell(env + "exec \"$CLI\" undo --list", m_dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("No journals in " + m_dir.filePath("state").toUtf8()));
    // A run that changes nothing leaves no journal behind.
    ASSERT_EQ(RunShell(env + "\"$CLI\" apply t.mtpl site -r && \"$CLI\" apply t.mtpl site -r && "
                             "\"$CLI\" apply --dry-run t.mtpl site -r && \"$CLI\" export site -r "
                             "-o t.csv && \"$CLI\" import t.csv",
                       m_dir.path())
                  .exitCode,
              0);
    run = RunShell(env + "exec \"$CLI\" undo --list", m_dir.path());
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 4) << run.out.constData();
    EXPECT_TRUE(lines[0].startsWith("TIME"));
    EXPECT_TRUE(lines[1].contains(" apply         1  complete     " +
                                  m_dir.filePath("state/tsle/journals/").toUtf8()));
    EXPECT_TRUE(lines[2].contains(" apply         1  complete "));
    run = RunShell(env + "\"$CLI\" undo --last && \"$CLI\" undo --last && \"$CLI\" undo --list",
                   m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Read("site/a.html"), Page("<title>a</title>"));
    EXPECT_EQ(run.out.count("  undone  "), 2);
    run = RunShell(env + "exec \"$CLI\" undo --last", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tsle-cli: no run to undo\n");
}

} // namespace
