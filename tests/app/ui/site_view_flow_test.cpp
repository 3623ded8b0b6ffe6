// The site view through the whole window, as a user drives it: View > Site
// view reads the project folder, the filter narrows the table, three cells are
// typed into, closing asks about them, the write shows its diffs and writes,
// Edit > Undo last batch puts every byte back, a double click opens a page in
// the editing view, and File > Export site and Import site round-trip a table.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>

#include "app/ui/frame_test_util.h"
#include "resource_ids.h"
#include "shell/ui/child_frame.h"
#include "site/site_session.h"
#include "site/ui/site_run_dialog.h"
#include "site/ui/site_view.h"
#include "site/undo_journal.h"

namespace {

const struct {
    const char* path;
    const char* bytes;
} kPages[] = {
    {"index.html", "<html><head>\n  <title>Riverside allotments</title>\n  <meta name=\"robots\" "
                   "content=\"index\">\n</head>\n<body><p>Plots to let.</p></body></html>\n"},
    {"news.html", "<html><head><title>News</title></head><body>News</body></html>"},
    {"latin.html", "<html><head><meta charset=\"windows-1252\">\r\n<title>Caf\xE9</title>\r\n"
                   "</head><body>\xE9</body></html>\r\n"},
    {"docs/help.htm", "<head><title>Help</title><meta name=description content=\"How to rent a "
                      "plot\"></head><body>Help</body>"},
};

} // namespace

class SiteViewFlowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // Types text into a cell as a user does: F2, the text, Return.
    static void TypeIntoCell(CSiteView* view, int viewRow, const QString& key,
                             const QString& text) {
        QTableView* table = view->Table();
        const int column = view->Session().Model().Sheet().ColumnOf(key);
        QVERIFY(column >= 0);
        table->setCurrentIndex(table->model()->index(viewRow, column));
        QTest::keyClick(table, Qt::Key_F2);
        QLineEdit* editor = nullptr;
        for (QLineEdit* open : table->findChildren<QLineEdit*>()) {
            if (open->isVisible())
                editor = open;
        }
        QVERIFY2(editor, "F2 opens an editor");
        QVERIFY2(editor->accessibleName().contains(" of "), qPrintable(editor->accessibleName()));
        QTRY_VERIFY(editor->hasFocus());
        editor->selectAll();
        // Key events carry ASCII alone: other characters come as from a paste.
        if (QString::fromLatin1(text.toLatin1()) == text && text.toLatin1() == text.toUtf8())
            QTest::keyClicks(editor, text);
        else
            editor->insert(text);
        QPointer<QLineEdit> guard(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits and closes the editor once the editor has had the key.
        QTRY_VERIFY(guard.isNull());
        const CSiteSheet& sheet = view->Session().Model().Sheet();
        QCOMPARE(sheet.Text(view->Session().Model().RowAt(viewRow), column), text);
    }
    static int ViewRowOf(CSiteView* view, const char* path) {
        const CSiteTableModel& model = view->Session().Model();
        const std::optional<size_t> row = model.Sheet().Find(path);
        return row ? model.ViewRowOf(*row) : -1;
    }
    // The dialog a run's plan opens, once it is there (null when none came).
    static CSiteRunDialog* PlanDialog(FrameRig& rig) {
        CSiteRunDialog* dialog = nullptr;
        for (int waited = 0; waited < 20000; waited += 50) {
            dialog = rig.frame->findChild<CSiteRunDialog*>();
            if (dialog && dialog->isVisible() && dialog->WriteButton())
                return dialog;
            QTest::qWait(50);
        }
        return nullptr;
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir().mkpath(Path("docs"));
        for (const auto& page : kPages)
            QVERIFY(WriteBytes(Path(page.path), page.bytes));
        QDir(CUndoJournal::Folder()).removeRecursively();
    }
    void cleanup() { QVERIFY(m_dir.remove()); }

    void editWriteUndoOpenExportImport() {
        FrameRig rig;
        rig.Show();
        QApplication::setActiveWindow(rig.frame.get());
        QVERIFY(QTest::qWaitForWindowActive(rig.frame.get()));
        rig.frame->OpenProjectDir(m_dir.path());
        QTest::keyClick(rig.frame.get(), Qt::Key_I, Qt::AltModifier);
        CSiteView* view = rig.frame->SiteView();
        QVERIFY(view->isVisible());
        QVERIFY(!rig.frame->ChildFrame()->isVisible());
        QVERIFY(rig.Action(ID_VIEW_SITE)->isChecked());
        CSiteSession& session = view->Session();
        QTRY_VERIFY_WITH_TIMEOUT(!session.IsBusy() && view->Table()->model()->rowCount() == 4,
                                 20000);

        // Every control says what it is.
        QCOMPARE(view->Table()->accessibleName(), QString("Pages of the site"));
        QCOMPARE(view->FilterBox()->accessibleName(), QString("Filter by text"));
        QCOMPARE(view->ShowBox()->accessibleName(), QString("Show pages"));
        for (SiteCommand command :
             {SiteCommand::SET_VALUE, SiteCommand::APPLY_TEMPLATE, SiteCommand::RESCAN,
              SiteCommand::DISCARD, SiteCommand::WRITE, SiteCommand::CANCEL}) {
            QVERIFY(view->Button(command));
            QVERIFY(!view->Button(command)->accessibleName().isEmpty());
        }
        QVERIFY(!view->Button(SiteCommand::WRITE)->isEnabled());

        // The filter narrows by text, and by finding.
        QTest::keyClicks(view->FilterBox(), "CAF");
        QTRY_COMPARE(view->Table()->model()->rowCount(), 1);
        view->FilterBox()->clear();
        QTRY_COMPARE(view->Table()->model()->rowCount(), 4);
        view->ShowBox()->setCurrentIndex(view->ShowBox()->findText("Titles too short"));
        QCOMPARE(view->Table()->model()->rowCount(), 4);
        view->ShowBox()->setCurrentIndex(view->ShowBox()->findText("Descriptions missing"));
        QCOMPARE(view->Table()->model()->rowCount(), 3);
        view->ShowBox()->setCurrentIndex(0);

        // Three cells typed into; the windows-1252 page takes its characters.
        QMap<QString, QByteArray> before;
        for (const auto& page : kPages)
            before[page.path] = ReadBytes(Path(page.path));
        TypeIntoCell(view, ViewRowOf(view, "news.html"), "title", "News from the plots");
        TypeIntoCell(view, ViewRowOf(view, "latin.html"), "description",
                     QString::fromUtf8("Caf\u00e9 cr\u00e8me"));
        TypeIntoCell(view, ViewRowOf(view, "index.html"), "robots", "noindex");
        QCOMPARE(view->ChangedLabel()->text(), QString("3 pages changed, not saved"));
        QVERIFY(view->Button(SiteCommand::WRITE)->isEnabled());

        // Closing asks first; No keeps the window and the edits.
        rig.prompt.answers = {IUserPrompt::ANSWER_NO};
        QVERIFY(!rig.frame->close());
        QVERIFY(rig.frame->isVisible());
        QCOMPARE(rig.prompt.questions.size(), size_t(1));
        QVERIFY(QString::fromStdString(rig.prompt.questions[0]).startsWith("3 pages changed"));

        // The write shows the diffs first, then writes only the heads.
        QTest::mouseClick(view->Button(SiteCommand::WRITE), Qt::LeftButton);
        CSiteRunDialog* plan = PlanDialog(rig);
        QVERIFY(plan);
        QCOMPARE(plan->Pages()->topLevelItemCount(), 3);
        QVERIFY(plan->Diff()->toPlainText().startsWith("---"));
        QCOMPARE(ReadBytes(Path("news.html")), before["news.html"]);
        QTest::mouseClick(plan->WriteButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!session.IsBusy() && view->ChangedLabel()->text().isEmpty(),
                                 20000);
        QCOMPARE(ReadBytes(Path("news.html")),
                 QByteArray("<html><head><title>News from the plots</title></head><body>News"
                            "</body></html>"));
        QCOMPARE(
            ReadBytes(Path("index.html")),
            QByteArray(before["index.html"]).replace("content=\"index\"", "content=\"noindex\""));
        const QByteArray latin = ReadBytes(Path("latin.html"));
        QVERIFY2(latin.contains("content=\"Caf\xE9 cr\xE8me\""), latin.constData());
        QVERIFY(latin.endsWith("</head><body>\xE9</body></html>\r\n"));
        QCOMPARE(ReadBytes(Path("docs/help.htm")), before["docs/help.htm"]);

        // Edit > Undo last batch, asked first, puts every byte back.
        rig.prompt.answers = {IUserPrompt::ANSWER_YES};
        rig.Menu("Edit")->aboutToShow(); // reads the runs, as opening the menu does
        rig.Run(ID_EDIT_UNDO_BATCH);
        QTRY_VERIFY_WITH_TIMEOUT(
            !session.IsBusy() && session.LastReport().kind == CSiteRunReport::UNDO, 20000);
        for (const auto& page : kPages)
            QCOMPARE(ReadBytes(Path(page.path)), before[page.path]);
        rig.Menu("Edit")->aboutToShow();
        QVERIFY(!rig.Action(ID_EDIT_UNDO_BATCH)->isEnabled());
        QVERIFY(rig.prompt.unexpected.empty());

        // File > Export site, a title changed in the table, Import site.
        const QString table = Path("site.csv");
        rig.picker.answers = {table};
        rig.Run(ID_FILE_EXPORT_SITE);
        QTRY_VERIFY_WITH_TIMEOUT(!session.IsBusy() && QFile::exists(table), 20000);
        QByteArray csv = ReadBytes(table);
        QVERIFY2(csv.startsWith("\"path\",\"fingerprint\",\"title\""), csv.constData());
        QVERIFY(csv.contains(",\"Help\","));
        QVERIFY(WriteBytes(table, csv.replace(",\"Help\",", ",\"Help with plots\",")));
        rig.picker.answers = {table};
        rig.Run(ID_FILE_IMPORT_SITE);
        plan = PlanDialog(rig);
        QVERIFY(plan);
        QCOMPARE(plan->Pages()->topLevelItemCount() >= 1, true);
        QTest::mouseClick(plan->WriteButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(
            !session.IsBusy() &&
                ReadBytes(Path("docs/help.htm")).contains("<title>Help with plots<"),
            20000);
        QCOMPARE(
            ReadBytes(Path("docs/help.htm")),
            QByteArray(before["docs/help.htm"]).replace("Help</title>", "Help with plots</title>"));
        // The rows show the imported page once it is read again.
        QTRY_VERIFY_WITH_TIMEOUT(view->Session().Model().Sheet().Text(
                                     *view->Session().Model().Sheet().Find("docs/help.htm"),
                                     view->Session().Model().Sheet().ColumnOf("title")) ==
                                     "Help with plots",
                                 20000);

        // A double click opens the page in the editing view.
        QTableView* pages = view->Table();
        const QModelIndex news = pages->model()->index(ViewRowOf(view, "news.html"), 0);
        const QPoint at = pages->visualRect(news).center();
        QTest::mouseClick(pages->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(pages->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(QFileInfo(rig.doc.GetPathName()).fileName(), QString("news.html"));
        QVERIFY(!view->isVisible());
        QVERIFY(rig.frame->ChildFrame()->isVisible());
        QVERIFY(!rig.Action(ID_VIEW_SITE)->isChecked());
        QVERIFY(rig.prompt.unexpected.empty() && rig.picker.unexpected.empty());
    }
};

QTEST_MAIN(SiteViewFlowTest)
#include "site_view_flow_test.moc"
