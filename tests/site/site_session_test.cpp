// The site view's model through whole sessions on a generated site: a scan
// fills the table with findings, filters narrow it, edits are checked as
// import checks cells, a page changed on disk meanwhile becomes a conflict and
// is not written, the others are written and undone byte for byte, and pages
// changed, added or removed on disk reach their rows.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "document/template_values.h"
#include "page/html_page.h"
#include "settings/file_types.h"
#include "site/batch_history.h"
#include "site/site_session.h"

namespace {

const char* const kDup = "Our products and services for every season";

struct Page {
    const char* path;
    QByteArray bytes;
};

// Short, duplicate and long titles, a page without a description, a
// windows-1252 page, pages in a subfolder, and a file that is no page.
std::vector<Page> SitePages() {
    return {
        {"index.html", "<html lang=\"en\"><head>\n<title>Home</title>\n<meta name=\"description\" "
                       "content=\"The start page of a small site that tells who we are, what we "
                       "grow and when to visit.\">\n<link rel=\"canonical\" "
                       "href=\"https://example.org/\">\n<meta property=\"og:title\" "
                       "content=\"Home\">\n<link rel=\"alternate\" hreflang=\"fr\" "
                       "href=\"https://example.org/fr/\">\n</head><body><p>Hi</p></body></html>\n"},
        {"a.html",
         QByteArray("<html><head><title>") + kDup + "</title></head><body></body></html>"},
        {"b.html", QByteArray("<html><head><title>") + kDup +
                       "</title><meta name=keywords content=\"fruit, veg\"></head><body>"},
        {"latin.html",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=windows-1252\">\r\n<title>Caf\xE9 au lait and other drinks we serve</title>\r\n"
         "</head><body>\xE9t\xE9</body></html>\r\n"},
        {"sub/deep.htm", "<head><title>A title that goes on and on well past the length that "
                         "search results show in full</title></head><body>x</body>"},
        {"sub/c.php", "<?php echo 1; ?><html><head><title>PHP page with a good long title "
                      "here</title></head></html>"},
        {"notes.txt", "<title>not a page</title>"},
    };
}

// Ten pixels a character, whatever the size.
class CFixedMeasurer final : public ITextMeasurer {
public:
    double WidthPx(const QString& text, int) const override { return 10.0 * text.size(); }
};

} // namespace

class SiteSessionTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray ReadFile(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int RowOf(const CSiteTableModel& model, const char* path) {
        const std::optional<size_t> row = model.Sheet().Find(path);
        return row ? static_cast<int>(*row) : -1;
    }
    static void Scan(CSiteSession& session, const QString& root) {
        QSignalSpy finished(&session, &CSiteSession::scanFinished);
        session.Open(root, std::string(DEFAULT_FILE_TYPES));
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.first().first().toBool(), false);
    }
    static void Run(CSiteSession& session, const std::function<bool()>& start) {
        QSignalSpy finished(&session, &CSiteSession::runFinished);
        QVERIFY(start());
        QVERIFY(finished.wait(30000));
        QVERIFY2(session.LastReport().error.isEmpty(), qPrintable(session.LastReport().error));
    }
    static int Shown(CSiteTableModel& model, CSiteFilter filter) {
        model.SetFilter(filter);
        return model.rowCount();
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        for (const Page& page : SitePages())
            WriteFile(QString::fromLatin1(page.path), page.bytes);
        // Runs of earlier test runs would be offered for undo.
        QDir(CUndoJournal::Folder()).removeRecursively();
    }
    void cleanup() { QVERIFY(m_dir.remove()); }

    void scanFindFilterEditConflictWriteUndo() {
        CSiteSession session;
        CSiteTableModel& model = session.Model();
        const CFixedMeasurer measurer;
        session.SetRulesSource([&](const QString&) {
            CSiteRules rules;
            rules.measurer = &measurer;
            rules.thresholds.widths.m_nDescriptionPx = 800;
            return rules;
        });
        Scan(session, m_dir.path());
        const CSiteSheet& sheet = model.Sheet();
        QCOMPARE(model.rowCount(), 6);
        QCOMPARE(sheet.ColumnOf("keywords") >= 0, true);

        // Findings, and the filter bar's choices and text.
        const int a = RowOf(model, "a.html"), b = RowOf(model, "b.html");
        const int index = RowOf(model, "index.html"), latin = RowOf(model, "latin.html");
        QVERIFY(a >= 0 && b >= 0 && index >= 0 && latin >= 0 && RowOf(model, "notes.txt") < 0);
        QVERIFY(sheet.HasFinding(a, AuditCode::TITLE_DUPLICATE));
        QVERIFY(sheet.FindingsText(a).contains("b.html"));
        QVERIFY(sheet.HasFinding(index, AuditCode::TITLE_SHORT));
        QCOMPARE(sheet.Text(latin, sheet.ColumnOf("title")),
                 QString::fromUtf8("Café au lait and other drinks we serve"));
        const struct {
            CSiteFilter filter;
            int rows;
        } filters[] = {
            {{CSiteFilter::FINDING, AuditCode::TITLE_DUPLICATE, {}}, 2},
            {{CSiteFilter::FINDING, AuditCode::TITLE_LONG, {}}, 1},
            {{CSiteFilter::FINDING, AuditCode::DESCRIPTION_MISSING, "SUB/"}, 2},
            {{CSiteFilter::ALL, AuditCode::UNREADABLE, QString::fromUtf8("CAFÉ")}, 1},
            {{CSiteFilter::ALL, AuditCode::UNREADABLE, "fruit"}, 1},
            {{CSiteFilter::EDITED, AuditCode::UNREADABLE, {}}, 0},
            // Widths: 10 px a character against 600 and 800 px.
            {{CSiteFilter::FINDING, AuditCode::TITLE_TOO_WIDE, {}}, 1},
            {{CSiteFilter::FINDING, AuditCode::DESCRIPTION_TOO_WIDE, {}}, 1},
            {{CSiteFilter::FINDING, AuditCode::OG_TITLE_MISSING, {}}, 5},
            {{CSiteFilter::ALL, AuditCode::UNREADABLE, "example.org/fr"}, 1},
        };
        for (const auto& entry : filters)
            QCOMPARE(Shown(model, entry.filter), entry.rows);
        model.SetFilter({});
        model.sort(sheet.ColumnOf("title-px"), Qt::DescendingOrder);
        QCOMPARE(model.RowAt(0), size_t(RowOf(model, "sub/deep.htm")));
        QCOMPARE(sheet.Number(a, sheet.ColumnOf("title-px")), 10 * int(strlen(kDup)));
        // The search and social tags have columns of their own, hreflang ones
        // once a page has them.
        const struct {
            const char* key;
            const char* text;
        } tags[] = {{"link:canonical", "https://example.org/"},
                    {"property:og:title", "Home"},
                    {"link:alternate:fr", "https://example.org/fr/"},
                    {"html:lang", "en"}};
        for (const auto& tag : tags)
            QCOMPARE(sheet.Text(index, sheet.ColumnOf(tag.key)), QString(tag.text));

        // Edits: three pages; refusals leave the cells alone.
        const int title = sheet.ColumnOf("title"), description = sheet.ColumnOf("description");
        const int keywords = sheet.ColumnOf("keywords");
        QSignalSpy counted(&model, &CSiteTableModel::changedPagesChanged);
        QString error;
        QVERIFY(model.SetCell(a, title, "Seeds, bulbs and young plants for every season", error));
        QVERIFY(model.SetCell(latin, description, QString::fromUtf8("Crème brûlée"), error));
        QVERIFY(model.SetCell(index, keywords, "allotment, plots", error));
        QVERIFY(model.SetCell(a, sheet.ColumnOf("property:og:title"), "Seeds", error));
        QVERIFY(!model.SetCell(latin, title, QString::fromUtf8("Ωmega"), error));
        QVERIFY2(error.contains(QString::fromUtf8("Ω")), qPrintable(error));
        QVERIFY(!model.SetCell(b, title, QString("tab\x01stop"), error));
        QVERIFY(!model.SetCell(a, sheet.ColumnOf("path"), "x.html", error));
        QVERIFY(
            !model.SetCell(RowOf(model, "sub/deep.htm"), sheet.ColumnOf("html:lang"), "en", error));
        QCOMPARE(model.ChangedPages(), size_t(3));
        QCOMPARE(counted.last().first().toULongLong(), 3ull);
        QCOMPARE(CSiteTableModel::ChangedText(3), QString("3 pages changed, not saved"));
        QVERIFY(sheet.IsEdited(a, title) && !sheet.IsEdited(b, title));
        // The duplicate is gone once the edits are compared.
        model.UpdateFindings();
        QVERIFY(!sheet.HasFinding(b, AuditCode::TITLE_DUPLICATE));
        QVERIFY(!sheet.HasFinding(a, AuditCode::OG_TITLE_MISSING));
        QCOMPARE(Shown(model, {CSiteFilter::EDITED, AuditCode::UNREADABLE, {}}), 3);
        model.SetFilter({});

        // Someone else saves index.html meanwhile: it is a conflict, kept.
        QMap<QString, QByteArray> before;
        for (const Page& page : SitePages())
            before[page.path] = ReadFile(page.path);
        const QByteArray theirs = before["index.html"] + "<!-- theirs -->\n";
        WriteFile("index.html", theirs);

        Run(session, [&] { return session.PlanWrite(); });
        const CSiteRunReport& plan = session.LastReport();
        QVERIFY(plan.dryRun);
        QCOMPARE(plan.changed, size_t(2));
        QCOMPARE(plan.conflicts, size_t(1));
        for (const CSiteRunPage& page : plan.pages)
            QCOMPARE(page.diff.isEmpty(), page.outcome != PageOutcome::CHANGED);
        QCOMPARE(ReadFile("a.html"), before["a.html"]);
        QCOMPARE(sheet.State(index), SiteRowState::CHANGED_ON_DISK);

        Run(session, [&] { return session.Write(); });
        const CSiteRunReport written = session.LastReport();
        QCOMPARE(written.changed, size_t(2));
        QCOMPARE(written.conflicts, size_t(1));
        QVERIFY(!written.journal.isEmpty());
        QCOMPARE(ReadFile("index.html"), theirs);
        QVERIFY(ReadFile("a.html").contains("<title>Seeds, bulbs and young plants"));
        QVERIFY(ReadFile("a.html").contains("<meta property=\"og:title\" content=\"Seeds\">"));
        QVERIFY(ReadFile("latin.html")
                    .contains("content=\"Cr\xE8me br\xFBl\xE9"
                              "e\""));
        // Only the head changed: the rest of each page is as it was.
        QVERIFY(ReadFile("latin.html").endsWith("</head><body>\xE9t\xE9</body></html>\r\n"));
        QCOMPARE(model.ChangedPages(), size_t(1));
        QVERIFY(sheet.HasEdits(index) && !sheet.HasEdits(a));
        QCOMPARE(sheet.Text(a, title), QString("Seeds, bulbs and young plants for every season"));

        CBatchHistory history;
        history.Read();
        QVERIFY(history.LastUndoable());
        QCOMPARE(history.LastUndoable()->journal, written.journal);
        Run(session, [&] { return session.Undo(written.journal); });
        QCOMPARE(session.LastReport().changed, size_t(2));
        for (const char* path : {"a.html", "latin.html", "b.html", "sub/deep.htm"})
            QCOMPARE(ReadFile(path), before[path]);
        QCOMPARE(ReadFile("index.html"), theirs);
        history.Read();
        QVERIFY(!history.LastUndoable());
        // The undone pages are read again.
        QTRY_COMPARE_WITH_TIMEOUT(sheet.Text(a, title), QString(kDup), 10000);
    }

    void diskChangesReachTheRows() {
        CSiteSession session;
        CSiteTableModel& model = session.Model();
        Scan(session, m_dir.path());
        const CSiteSheet& sheet = model.Sheet();
        const int title = sheet.ColumnOf("title");
        QString error;
        QVERIFY(model.SetCell(RowOf(model, "sub/deep.htm"), title, "Kept while it is gone", error));

        WriteFile("b.html", "<html><head><title>Changed behind our back</title></head>");
        WriteFile("sub/new.html", "<title>A page that came later</title>");
        QVERIFY(QFile::remove(Path("sub/c.php")));
        QVERIFY(QFile::remove(Path("sub/deep.htm")));
        // The folders are watched: no rescan is asked for.
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(model, "sub/new.html") >= 0, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(model, "sub/c.php") < 0, 10000);
        QCOMPARE(sheet.Text(RowOf(model, "b.html"), title), QString("Changed behind our back"));
        // An edited page that went away keeps its row and edit, marked.
        const int gone = RowOf(model, "sub/deep.htm");
        QVERIFY(gone >= 0);
        QCOMPARE(sheet.State(gone), SiteRowState::GONE);
        QCOMPARE(sheet.Text(gone, title), QString("Kept while it is gone"));
        QCOMPARE(model.rowCount(), 6);
        // Dropping the edit lets the row go on the next reading.
        model.DiscardEdits();
        session.Refresh();
        QTRY_VERIFY_WITH_TIMEOUT(RowOf(model, "sub/deep.htm") < 0 && !session.IsBusy(), 10000);
    }

    void templatesAndOneValueForManyRows() {
        CSiteSession session;
        CSiteTableModel& model = session.Model();
        Scan(session, m_dir.path());
        const CSiteSheet& sheet = model.Sheet();
        std::vector<size_t> all;
        for (size_t row = 0; row < sheet.RowCount(); ++row)
            all.push_back(row);

        // A value the windows-1252 page cannot hold: the others take it.
        QStringList failures;
        QCOMPARE(
            model.SetCells(all, sheet.ColumnOf("robots"), QString::fromUtf8("noindex ☺"), failures),
            all.size() - 1);
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.first().startsWith("latin.html: "));
        model.DiscardEdits();
        QCOMPARE(model.ChangedPages(), size_t(0));

        // Set if missing (3), add after (6, with a space), and a new tag that
        // becomes a column.
        CHtmlPage templ;
        templ.SetText("<html><head><title action=\"6\">| Riverside</title>"
                      "<meta name=\"description\" content=\"Fresh from the plots\" action=\"3\">"
                      "<meta name=\"author\" content=\"Riverside Society\" action=\"1\">"
                      "</head><body></body></html>",
                      BodyMode::REBUILD);
        CTemplateValues values;
        values.Read(templ);
        QCOMPARE(model.ApplyTemplate(all, values, failures), all.size());
        const int author = sheet.ColumnOf("author");
        QVERIFY(author >= 0);
        const int a = RowOf(model, "a.html"), index = RowOf(model, "index.html");
        QCOMPARE(sheet.Text(a, sheet.ColumnOf("title")), QString(kDup) + " | Riverside");
        QCOMPARE(sheet.Text(a, sheet.ColumnOf("description")), QString("Fresh from the plots"));
        QVERIFY(!sheet.IsEdited(index, sheet.ColumnOf("description")));
        QCOMPARE(sheet.Text(index, author), QString("Riverside Society"));
        QCOMPARE(model.ChangedPages(), all.size());
    }
};

QTEST_GUILESS_MAIN(SiteSessionTest)
#include "site_session_test.moc"
