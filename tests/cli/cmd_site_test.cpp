// The whole-site commands run as a user would, on generated trees: audit,
// export and import (as spreadsheets save tables), diffs that patch tools
// take, and undoing runs, also runs that were killed half way.
#include <gtest/gtest.h>

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

namespace {

const QByteArray kTitle40 = "Riverside village: boats, walks and food";
const QByteArray kDescription100 = QByteArray(100, 'd');

QByteArray Page(const QByteArray& head, const QByteArray& body = "") {
    return "<html><head>" + head + "</head><body>" + body + "</body></html>\n";
}

QByteArray Description(const QByteArray& text) {
    return "<meta name=\"description\" content=\"" + text + "\">";
}

// The table's rows (as the reader reads them), without line numbers.
std::vector<std::vector<std::string>> Rows(const QByteArray& csv) {
    std::vector<std::vector<std::string>> rows;
    for (const CCsvRecord& record : CCsvReader::Read(csv.toStdString()))
        rows.push_back(record.cells);
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

    CliResult run = RunShell("exec \"$CLI\" audit --format json -r site", m_dir.path());
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
        {"site/long.html", {"title-long", "description-long", "description-multiple"}},
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
    run =
        RunShell("exec \"$CLI\" audit -r site --title-max 80 --description-max 200", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.startsWith("PATH  ")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("\nsite/twin1.html: same title as site/sub/twin2.htm\n"));
    EXPECT_TRUE(run.out.contains("\nsite/long.html: 2 description tags\n"));
    EXPECT_FALSE(run.out.contains("title-long"));
    EXPECT_TRUE(run.out.endsWith("\n7 pages, 6 with findings\n  1 unreadable\n  1 title-empty\n"
                                 "  2 title-short\n  2 title-duplicate\n  1 title-multiple\n"
                                 "  1 description-missing\n  1 description-empty\n"
                                 "  1 description-multiple\n  1 description-in-body\n"
                                 "  1 keywords-in-body\n"))
        << run.out.constData();

    // CSV: one row per page, as other programs read it.
    run = RunShell("exec \"$CLI\" audit --format=csv site/good.html site/twin1.html", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    const auto rows = Rows(run.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"site/good.html", kTitle40.toStdString(), "40",
                                                 kDescription100.toStdString(), "100", "", ""}));
    EXPECT_EQ(rows[2][5], "title-short");

    run = RunShell("exec \"$CLI\" audit site/good.html", m_dir.path());
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
    CliResult run = RunShell("exec \"$CLI\" export -r site -o t.csv", m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray csv = Read("t.csv");
    auto rows = Rows(csv);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"path", "fingerprint", "title", "description",
                                                 "http-equiv:Refresh", "name:title"}));
    EXPECT_EQ(rows[1][2], "Caf\xC3\xA9 \"Riverside\",\r\nest. 1902");
    EXPECT_EQ(rows[1][3], "Boats, \"walks\", food");
    EXPECT_EQ(rows[2][2], "Th\xC3\xA9\xC3\xA2tre"); // as text, in UTF-8
    EXPECT_EQ(rows[2][3], "L'\xC3\xA9t\xC3\xA9 \xC3\xA0 Paris");
    EXPECT_EQ(rows[3][0], "site/caf\xE9.html"); // a name is its bytes

    // Imported as exported: nothing to write.
    run = RunShell("exec \"$CLI\" import t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out,
              "unchanged site/a.html\nunchanged site/b.html\nunchanged site/caf\xE9.html\n");
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);

    // Edited: only the cells that differ are written, each page in its encoding.
    rows[1][2] = "New, \"quoted\"\ntitle";
    rows[1][3] = "Text with a line\nbreak";
    rows[1][4] = "";
    rows[2][2] = "Op\xC3\xA9ra";
    std::string edited;
    for (const auto& row : rows)
        AppendCsvRow(edited, row);
    Write("t.csv", QByteArray::fromStdString(edited));
    run = RunShell("exec \"$CLI\" import t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "changed site/a.html: title, description, http-equiv:Refresh\n"
                       "changed site/b.html: title\nunchanged site/caf\xE9.html\n");
    EXPECT_TRUE(Read("site/b.html").contains("<title>Op\xE9ra</title>"));
    EXPECT_FALSE(Read("site/a.html").contains("Refresh"));
    run = RunShell("exec \"$CLI\" export -r site --fields 'title, description' -o -", m_dir.path());
    const auto again = Rows(run.out);
    ASSERT_EQ(again.size(), 4u);
    EXPECT_EQ(again[0], (std::vector<std::string>{"path", "fingerprint", "title", "description"}));
    EXPECT_EQ(again[1][2], "New, \"quoted\"\ntitle");
    EXPECT_EQ(again[1][3], "Text with a line break"); // a tag's value reads so
    // What the pages hold now is imported as nothing to do.
    Write("again.csv", run.out);
    EXPECT_EQ(RunShell("exec \"$CLI\" import again.csv", m_dir.path()).out.count("unchanged"), 3);
    EXPECT_EQ(again[2][2], "Op\xC3\xA9ra");

    // The import can be undone.
    run = RunShell("exec \"$CLI\" undo --last", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), before);
}

TEST_F(CliSite, ImportReportsConflictsAndBadRowsByLine) {
    for (const char* name : {"a", "b", "c", "d"})
        Write(QString("site/%1.html").arg(name), Page("<title>" + QByteArray(name) + "</title>"));
    ASSERT_EQ(RunShell("exec \"$CLI\" export site/a.html site/b.html site/c.html site/d.html "
                       "-o t.csv",
                       m_dir.path())
                  .exitCode,
              0);
    QByteArray csv = Read("t.csv");
    csv.replace(",a\r\n", ",A\r\n").replace(",b\r\n", ",B\r\n").replace(",c\r\n", ",C\r\n");
    const QByteArray fingerprint = Rows(csv)[4][1].c_str();
    csv += "site/missing.html,,M\r\n" // line 6: no such page
           "site/b.html,x\"y,B\r\n"   // line 7: malformed
           "site/a.html,,A,extra\r\n" // line 8: too many fields
           "./site/d.html," +
           fingerprint + ",D2\r\n"; // line 9: d again
    Write("t.csv", csv);
    Write("site/c.html", Page("<title>c changed meanwhile</title>"));
    const CliResult run = RunShell("exec \"$CLI\" import t.csv", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "changed site/a.html: title\nchanged site/b.html: title\n"
                       "conflict site/c.html: the page changed since the table was made; not "
                       "changed\n"
                       "failed site/missing.html: No such file or directory\n");
    const QByteArray err = run.err;
    for (const char* line : {"t.csv:7: malformed row", "t.csv:8: 4 fields, but the header has 3",
                             "t.csv:5: site/d.html: the page is on line 9 too",
                             "t.csv:9: ./site/d.html: the page is on line 5 too",
                             "t.csv:4: site/c.html: the page changed since",
                             "t.csv:6: site/missing.html: No such file"})
        EXPECT_TRUE(err.contains(line)) << line << "\n" << err.constData();
    EXPECT_EQ(Read("site/c.html"), Page("<title>c changed meanwhile</title>"));
    EXPECT_EQ(Read("site/d.html"), Page("<title>d</title>"));
    EXPECT_EQ(Read("site/a.html"), Page("<title>A</title>"));
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
            RunShell("exec \"$CLI\" import --no-journal edited.csv", m_dir.path());
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.out, "changed site/a.html: title, keywords, description\n"
                           "changed site/b.html: title\n");
        const QByteArray a = Read("site/a.html");
        EXPECT_TRUE(a.contains("<title>New, \"quoted\"</title>")) << a.constData();
        EXPECT_TRUE(a.contains("<meta name=\"description\" content=\"Two lines\">"));
        EXPECT_FALSE(a.contains("keywords"));
        EXPECT_EQ(Read("site/b.html"), Page("<title>B\xC3\xA9</title>"));
    }
    // A table saved in a legacy encoding is refused row by row, not written.
    Write("edited.csv", "path,title\r\nsite/b.html,Caf\xE9\r\n");
    const CliResult run = RunShell("exec \"$CLI\" import edited.csv", m_dir.path());
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
    CliResult run =
        RunShell("\"$CLI\" apply --diff --dry-run t.mtpl site -r > apply.diff && "
                 "\"$CLI\" set --diff --dry-run 'site/one line.html' --title 'Caf\xC3\xA9'"
                 " > set.diff",
                 m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(Tree(m_dir.filePath("site")), Tree(m_dir.filePath("copy")));
    EXPECT_EQ(Read("apply.diff").count("\n--- "), 2); // and one at the very start
    EXPECT_TRUE(Read("apply.diff").contains("--- \"a/site/caf\\303\\251.htm\""));
    // git takes the diffs; patch makes the very pages that apply makes.
    run = RunShell("cd copy && git apply --check -p2 ../apply.diff && git apply --check -p2 "
                   "../set.diff && cd ../patched && patch -s -p2 < ../apply.diff",
                   m_dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.out.constData() << run.err.constData();
    run = RunShell("exec \"$CLI\" apply --diff t.mtpl site -r", m_dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Read("apply.diff")) << "the diff of a real run is the dry run's";
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
    process.start(QStringLiteral(TSLE_CLI_PATH),
                  {"apply", "--sync", "--journal", "run.journal", "t.mtpl", "site", "-r"});
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
    CliResult run = RunShell("exec \"$CLI\" undo --dry-run run.journal", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out.count("restored "), changed);
    EXPECT_EQ(pages(), killed);
    run = RunShell("exec \"$CLI\" undo run.journal", m_dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out.count("restored "), changed);
    EXPECT_EQ(pages(), original);

    // After a whole run, a page changed since is left alone and reported.
    run = RunShell("exec \"$CLI\" apply --journal whole.journal t.mtpl site/p000?.html",
                   m_dir.path());
    ASSERT_EQ(run.exitCode, 0);
    const QByteArray touched = "<title>edited by hand</title>";
    Write("site/p0007.html", touched);
    run = RunShell("exec \"$CLI\" undo whole.journal", m_dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains("changed since site/p0007.html\n"));
    EXPECT_EQ(run.out.count("restored "), 9);
    EXPECT_TRUE(run.err.contains("site/p0007.html: changed since the run; not restored"));
    QStringList expected = original;
    expected[7] = "p0007.html: " + QString::fromUtf8(touched);
    EXPECT_EQ(pages(), expected);
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
