// The editing view driven as a user drives it: typing, saving, pages with
// their own rows, the template bar, Tab, the clipboard commands, assistants.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>

#include "document/tessel_doc.h"
#include "document/text_file.h"
#include "fakes/scripted_prompt.h"
#include "fields/field_groups.h"
#include "form/ui/disk_change_bar.h"
#include "form/ui/field_assistants.h"
#include "form/ui/tessel_view.h"
#include "settings/app_settings.h"
#include "settings/memory_profile.h"

namespace {

// Answers each assistant with the next scripted value and records what it was given.
class ScriptedAssistants : public IFieldAssistants {
public:
    bool HasAssistant(int buttonId) const override { return buttonId != 21; }
    bool Run(int buttonId, QWidget*, const AssistantContext& context, QString& value) override {
        ids << buttonId;
        given << value;
        bodyTexts << context.bodyText;
        if (results.empty())
            return false;
        value = results.takeFirst();
        return true;
    }
    void RunOptions(QWidget*, CFieldList& fields, CAppSettings& settings,
                    const std::function<void()>& applied) override {
        if (options) {
            options(fields, settings);
            applied();
        }
    }
    std::function<void(CFieldList&, CAppSettings&)> options;
    QList<int> ids;
    QStringList given;
    QStringList bodyTexts;
    QStringList results;
};

} // namespace

class TesselViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typingCommitsOnlyTheEditedTagAndSavesByteForByte();
    void foundRowsComeAndGoBetweenPages();
    void templateBarNewEditApply();
    void tabSkipsReadOnlyBoxesAndWraps();
    void clipboardCommandsFollowFocusAndSelection();
    void assistantResultCountsAsTyped();
    void unencodableCharacterIsRefused();
    void optionsChangeRowsAndStoreSettings();
    void changesOnDiskShowABarThatReloads();
    void aPageOfManyTagsGetsWidgetsOnlyInView();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    QByteArray Read(const QString& name) const;
    void Open(const QByteArray& bytes);
    // The shown widget with this accessible name, or null.
    template <class Widget = QWidget>
    Widget* Named(const QString& name) const;
    QStringList ShownNames() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CTesselDoc> m_doc;
    ScriptedPrompt m_prompt;
    CMemoryProfile m_profile;
    CAppSettings m_settings;
    std::unique_ptr<CTesselView> m_view;
};

void TesselViewTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompt = ScriptedPrompt();
    m_doc = std::make_unique<CTesselDoc>();
    m_doc->SetPrompt(&m_prompt);
    // Saves normalize the head, as the texts these tests expect are written.
    m_profile.WriteProfileInt("User", "NormalizeHead", 1);
    m_doc->SetSettings(&m_settings);
    m_doc->OnNewDocument();
    m_view = std::make_unique<CTesselView>(*m_doc, m_profile, m_settings);
    m_view->resize(640, 900);
    m_view->show();
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
}

void TesselViewTest::cleanup() {
    m_view.reset();
    m_doc.reset();
    m_dir.reset();
}

QString TesselViewTest::Write(const QString& name, const QByteArray& bytes) {
    QFile file(m_dir->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

QByteArray TesselViewTest::Read(const QString& name) const {
    QFile file(m_dir->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void TesselViewTest::Open(const QByteArray& bytes) {
    static int count = 0;
    const QString name = QStringLiteral("page%1.html").arg(++count);
    QCOMPARE(m_doc->OpenDocumentFile(Write(name, bytes)), 1);
}

template <class Widget>
Widget* TesselViewTest::Named(const QString& name) const {
    for (Widget* widget : m_view->findChildren<Widget*>())
        if (widget->accessibleName() == name && widget->isVisible())
            return widget;
    return nullptr;
}

QStringList TesselViewTest::ShownNames() const {
    QStringList names;
    for (QWidget* widget : m_view->findChildren<QWidget*>())
        if (widget->isVisible() && !widget->accessibleName().isEmpty())
            names << widget->accessibleName();
    return names;
}

void TesselViewTest::typingCommitsOnlyTheEditedTagAndSavesByteForByte() {
    const QByteArray page = "<html><head><title>Home</title>\n"
                            "<meta name=\"AUTHOR\" lang=\"en\" content=\"Ann\">\n"
                            "<meta name=\"copyright\" content=\"\">\n"
                            "</head><BODY>Body <B>kept</B></BODY></html>";
    Open(page);
    const QString path = m_doc->GetPathName();
    QCOMPARE(Named<QLineEdit>("Author")->text(), QString("Ann"));
    QCOMPARE(Named<QLineEdit>("title")->text(), QString("Home"));
    for (const char* name : {"title", "description", "keywords", "Author", "copyright", "robots",
                             "Suggest description", "Suggest keywords", "Edit robots"})
        QVERIFY2(ShownNames().contains(name), name);
    QVERIFY(!ShownNames().contains("owner")); // shown only with content

    auto* description = Named<QPlainTextEdit>("description");
    QSignalSpy status(m_view.get(), &CTesselView::statusTextChanged);
    description->setFocus();
    QCOMPARE(status.last().at(0).toString(),
             QString("A short description of what the page contains"));
    // The focused box shows it on its frame, as the one-line boxes do.
    const QColor highlight = description->palette().color(QPalette::Highlight);
    QCOMPARE(description->grab().toImage().pixelColor(0, description->height() / 2), highlight);
    QTest::keyClicks(description, "Hi");
    QCOMPARE(m_doc->IsModified(), 1);
    QCOMPARE(m_doc->FileSave(), 1);
    QCOMPARE(Read(QFileInfo(path).fileName()),
             QByteArray("<html><head><title>Home</title>\n"
                        "<meta name=\"AUTHOR\" lang=\"en\" content=\"Ann\">\n"
                        "<meta name=\"copyright\" content=\"\">\r\n\t"
                        "<meta name=\"description\" content=\"Hi\"/>\n"
                        "</head><BODY>Body <B>kept</B></BODY></html>"));
    QCOMPARE(m_doc->IsModified(), 0);
}

void TesselViewTest::foundRowsComeAndGoBetweenPages() {
    Open("<head><meta name=\"rating\" content=\"general\"><meta property=\"og:type\" "
         "content=\"x\"></head><body></body>");
    auto* rating = Named<QLineEdit>("rating");
    QVERIFY(rating);
    QCOMPARE(rating->text(), QString("general"));
    QCOMPARE(rating->objectName(), QString("field_%1").arg(10 * (FIRST_CUSTOM_FIELD + 1)));
    QVERIFY(!rating->isReadOnly());
    QCOMPARE(m_view->GetForm().GetFields().GetCount(), FIRST_CUSTOM_FIELD + 1);
    // The property tag shows in its Social row.
    QCOMPARE(Named<QLineEdit>("og:type")->text(), QString("x"));

    // A field entered at any position is the clipboard target.
    rating->setFocus();
    QVERIFY(m_view->CanPaste());
    QTest::keyClicks(rating, "!");
    QVERIFY(QString::fromStdString(m_doc->GetPageText()).contains("content=\"general!\""));

    m_prompt.answers = {IUserPrompt::ANSWER_NO}; // drop the edit
    Open("<head><meta name=\"audience\" content=\"all\"></head><body></body>");
    QVERIFY(!Named("rating"));
    QVERIFY(Named<QLineEdit>("audience"));
    QCOMPARE(m_view->GetForm().GetFields().GetCount(), FIRST_CUSTOM_FIELD + 1);
    // The focus was in the row that went; it comes back to the row in its place.
    QCOMPARE(QApplication::focusWidget(), Named("audience"));
}

void TesselViewTest::templateBarNewEditApply() {
    Open("<html><head><title>Home</title></head><body></body></html>");
    QVERIFY(!Named("Apply"));
    m_prompt.answers = {IUserPrompt::ANSWER_NO}; // not based on the page
    QCOMPARE(m_doc->NewTemplate(), 1);
    auto* apply = Named<QPushButton>("Apply");
    auto* edit = Named<QPushButton>("End editing");
    QVERIFY(apply && edit);
    QVERIFY(!apply->isEnabled());
    // The bar's text is there for screen readers too.
    QVERIFY(Named<QLabel>("Editing template - unnamed template"));
    QVERIFY(Named<QComboBox>("description template action"));
    QCOMPARE(Named<QLineEdit>("title")->text(), QString()); // the template's, not the page's
    QVERIFY(Named<QLineEdit>("title")->y() > edit->y() + edit->height());

    // A value and action typed into the template land there, not in the page.
    auto* keywords = Named<QPlainTextEdit>("keywords");
    auto* action = Named<QComboBox>("keywords template action");
    action->setCurrentIndex(action->findData(1));
    QTest::keyClicks(keywords, "k");
    QVERIFY(QString::fromStdString(m_doc->GetTemplateText())
                .contains("<meta name=\"keywords\" content=\"k\" action=\"1\"/>"));
    QVERIFY(!QString::fromStdString(m_doc->GetTemplateText()).contains("content=\"\""));
    QCOMPARE(m_doc->IsTemplateModified(), 1);
    QCOMPARE(m_doc->IsModified(), 0);

    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(m_doc->IsEditingTemplate(), 0);
    QCOMPARE(edit->text(), QString("Edit template"));
    QVERIFY(Named<QLabel>("Template - unnamed template"));
    QVERIFY(apply->isEnabled());
    QVERIFY(!Named("description template action"));
    QCOMPARE(Named<QLineEdit>("title")->text(), QString("Home"));
    QTest::mouseClick(apply, Qt::LeftButton);
    QCOMPARE(m_doc->IsModified(), 1);
    QCOMPARE(Named<QPlainTextEdit>("keywords")->toPlainText(), QString("k"));
}

void TesselViewTest::tabSkipsReadOnlyBoxesAndWraps() {
    Open("<html><head><meta http-equiv=\"Window-Target\" content=\"_TOP\"></head></html>");
    auto* target = Named<QComboBox>("Window-Target");
    QCOMPARE(target->currentText(), QString("_top"));
    auto* title = Named<QLineEdit>("title");
    title->setFocus();
    const QStringList forward = {
        "description", "Suggest description", "keywords", "Suggest keywords", "Author", "copyright",
        "Edit robots", "Window-Target",       "title"};
    for (const QString& name : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->accessibleName(), name);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->accessibleName(), QString("Window-Target"));
    QTest::keyClick(target->lineEdit(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->accessibleName(), QString("Edit robots"));
    // Tab never goes into a multi-line box as a character.
    auto* description = Named<QPlainTextEdit>("description");
    description->setFocus();
    QTest::keyClick(description, Qt::Key_Tab);
    QCOMPARE(description->toPlainText(), QString());
    QCOMPARE(m_doc->IsModified(), 0);
    // The untouched Window-Target tag kept its case; a chosen entry is written.
    QVERIFY(QString::fromStdString(m_doc->GetPageText()).contains("content=\"_TOP\""));
    target->setCurrentIndex(0);
    QVERIFY(QString::fromStdString(m_doc->GetPageText())
                .contains("<meta http-equiv=\"Window-Target\" content=\"_blank\"/>"));
}

void TesselViewTest::clipboardCommandsFollowFocusAndSelection() {
    Open("<html><head><meta name=\"robots\" content=\"noindex\"></head><body></body></html>");
    QSignalSpy states(m_view.get(), &CTesselView::commandStatesChanged);
    auto* author = Named<QLineEdit>("Author");
    author->setFocus();
    QVERIFY(m_view->CanPaste());
    QVERIFY(!m_view->CanCopy() && !m_view->CanCut() && !m_view->CanUndo());
    QTest::keyClicks(author, "Ann");
    QVERIFY(m_view->CanUndo());
    author->selectAll();
    QVERIFY(m_view->CanCopy() && m_view->CanCut());
    QVERIFY(!states.isEmpty());
    m_view->Cut();
    QCOMPARE(author->text(), QString());
    m_view->Paste();
    QCOMPARE(author->text(), QString("Ann"));
    QVERIFY(QString::fromStdString(m_doc->GetPageText()).contains("content=\"Ann\""));
    m_view->Undo();
    QCOMPARE(author->text(), QString());

    // A read-only box and a button take no part; the undo target stays.
    auto* robots = Named<QLineEdit>("robots");
    QTest::mouseClick(robots, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), robots);
    robots->selectAll();
    QVERIFY(!m_view->CanCopy() && !m_view->CanPaste());
    Named<QPushButton>("Edit robots")->setFocus();
    QVERIFY(!m_view->CanPaste());
    QCOMPARE(m_view->GetStatusText(), QString());
    QVERIFY(m_view->CanUndo());
}

void TesselViewTest::assistantResultCountsAsTyped() {
    Open("<html><head></head><body><p>Words of the page</p></body></html>");
    Named<QPushButton>("Suggest description")->click();
    QCOMPARE(m_prompt.messages, std::vector<std::string>{"Clicked button ID 21, no action setup!"});

    ScriptedAssistants assistants;
    assistants.results = {"noindex, nofollow"};
    m_view->SetAssistants(&assistants);
    Named<QPushButton>("Edit robots")->click();
    QCOMPARE(assistants.ids, QList<int>{81});
    QCOMPARE(assistants.given, QStringList{QString()});
    QCOMPARE(assistants.bodyTexts, QStringList{"Words of the page"});
    QCOMPARE(Named<QLineEdit>("robots")->text(), QString("noindex, nofollow"));
    QCOMPARE(m_doc->IsModified(), 1);
    QVERIFY(QString::fromStdString(m_doc->GetPageText())
                .contains("<meta name=\"robots\" content=\"noindex, nofollow\"/>"));

    // Cancel changes nothing.
    m_doc->SetModifiedFlag(0);
    Named<QPushButton>("Suggest keywords")->click();
    QCOMPARE(m_doc->IsModified(), 0);
    QCOMPARE(Named<QPlainTextEdit>("keywords")->toPlainText(), QString());
    m_view->SetAssistants(nullptr);
}

void TesselViewTest::unencodableCharacterIsRefused() {
    Open("<html><head><title>Caf\xE9</title></head><body></body></html>");
    QCOMPARE(Named<QLineEdit>("title")->text(), QString::fromUtf8("Caf\xC3\xA9"));
    auto* description = Named<QPlainTextEdit>("description");
    description->setFocus();
    for (const QString& character : {QStringLiteral("\u20AC"), QStringLiteral("\u4E2D")})
        QTest::sendKeyEvent(QTest::Click, description, Qt::Key_unknown, character, Qt::NoModifier);
    QCOMPARE(description->toPlainText(), QString::fromUtf8("\xE2\x82\xAC"));
    QCOMPARE(m_prompt.messages.size(), size_t(1));
    QVERIFY(m_prompt.messages[0].find("U+4E2D") != std::string::npos);
    QVERIFY(QByteArray::fromStdString(m_doc->GetPageText())
                .contains("<meta name=\"description\" content=\"\x80\"/>"));
}

void TesselViewTest::optionsChangeRowsAndStoreSettings() {
    Open("<html><head><meta name=\"rating\" content=\"general\"></head><body></body></html>");
    ScriptedAssistants assistants;
    assistants.options = [](CFieldList& fields, CAppSettings& settings) {
        // The found row becomes a multi-line user field under another name,
        // and a new user field comes after it.
        CMetaField& rating = fields.GetAt(FIRST_CUSTOM_FIELD);
        rating.Define("content-rating", 0, "", 1, 1, 0);
        rating.SetKind(FIELD_USER);
        rating.SetDisplay(DISPLAY_ALWAYS);
        auto audience = std::make_unique<CMetaField>(FIELD_USER);
        audience->Define("audience", 0, "", 1, 0, 0);
        audience->SetDisplay(DISPLAY_ALWAYS);
        fields.AddField(std::move(audience));
        settings.m_strFileTypes = "*.html";
    };
    m_view->SetAssistants(&assistants);
    m_view->ShowOptions();
    QVERIFY(!Named("rating"));
    auto* renamed = Named<QPlainTextEdit>("content-rating");
    QVERIFY(renamed);
    QCOMPARE(renamed->toPlainText(), QString("general"));
    QCOMPARE(Named<QLineEdit>("audience")->objectName(),
             QString("field_%1").arg(10 * (FIRST_CUSTOM_FIELD + 2)));
    QCOMPARE(m_profile.GetProfileInt("User", "IBC", 0), 15);
    QCOMPARE(m_profile.GetProfileString("User", "UIB_0_N", ""), std::string("content-rating"));
    QCOMPARE(m_profile.GetProfileString("User", "FileTypes", ""), std::string("*.html"));
    QCOMPARE(m_doc->IsModified(), 0);
    m_view->SetAssistants(nullptr);
}

QTEST_MAIN(TesselViewTest)
// Another program saving over the open page (by a rename, as most editors
// and sed -i do) shows the bar over the form at once; Reload reads the page
// again. The file stays watched after it was replaced.
void TesselViewTest::changesOnDiskShowABarThatReloads() {
    Open("<html><head><title>Mine</title></head><body></body></html>");
    const QString path = m_doc->GetPathName();
    CDiskChangeBar* bar = m_view->DiskChangeBar();
    QVERIFY(!bar->isVisible());
    for (const char* title : {"First", "Second"}) {
        QString error;
        QVERIFY(SaveTextFile(
            path,
            QStringLiteral("<html><head><title>%1</title></head></html>").arg(title).toStdString(),
            error));
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(Named<QLabel>("The page " + QFileInfo(path).fileName() +
                              " was changed on disk by another program."));
        QVERIFY(bar->ReloadPageButton()->isVisible());
        QVERIFY(!bar->ReloadTemplateButton()->isVisible());
        // The rows start below the bar.
        QVERIFY(m_view->viewport()->y() >= bar->geometry().bottom());
        QTest::mouseClick(bar->ReloadPageButton(), Qt::LeftButton);
        QCOMPARE(Named<QLineEdit>("title")->text(), QString(title));
        QVERIFY(!bar->isVisible());
    }
    QVERIFY(QFile::remove(path));
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(!bar->ReloadPageButton()->isVisible()); // nothing to read: saving asks what to do
}

// Thousands of found tags: every one has its row, but only the rows near the
// visible part have widgets; scrolling or tabbing to any row makes them, and
// typing there writes the page like anywhere else.
void TesselViewTest::aPageOfManyTagsGetsWidgetsOnlyInView() {
    QByteArray page = "<html><head><title>Many</title>\n";
    const int count = 3000;
    for (int i = 0; i < count; ++i)
        page += "<meta name=\"tag" + QByteArray::number(i) + "\" content=\"v" +
                QByteArray::number(i) + "\">\n";
    Open(page + "</head><body></body></html>");
    CFieldForm& form = m_view->GetForm();
    const int first = form.GetFields().GetCount() - count; // tag0's row
    QVERIFY(first >= 13);
    QVERIFY(m_view->findChildren<QLineEdit*>().size() < 200);
    const int last = form.GetFields().GetCount() - 1;
    QVERIFY(!m_view->ControlWidget(last, CONTROL_VALUE));

    // Scrolled to the end, the last rows have widgets and the first found ones none.
    m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
    auto* lastBox = qobject_cast<QLineEdit*>(m_view->ControlWidget(last, CONTROL_VALUE));
    QVERIFY(lastBox && lastBox->isVisible());
    QCOMPARE(lastBox->text(), QString("v2999"));
    QVERIFY(!m_view->ControlWidget(first + 100, CONTROL_VALUE));
    QVERIFY(m_view->findChildren<QLineEdit*>().size() < 200);
    QTest::keyClicks(lastBox, "!");
    QVERIFY(QString::fromStdString(m_doc->GetPageText()).contains("content=\"v2999!\""));

    // Back at the top, the edited row keeps its value without widgets, and
    // Tab walks from row to row, making them as it goes.
    m_view->verticalScrollBar()->setValue(0);
    QCOMPARE(QString::fromStdString(form.GetFields().GetAt(last).GetValue()), QString("v2999!"));
    QWidget* box = m_view->ControlWidget(first + 10, CONTROL_VALUE);
    QVERIFY(box);
    box->setFocus();
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto* reached = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(reached);
    QCOMPARE(reached, m_view->ControlWidget(first + 110, CONTROL_VALUE));
    QCOMPARE(reached->text(), QString("v110"));
    QVERIFY(reached->visibleRegion().boundingRect().height() > 0);
}

#include "tessel_view_test.moc"
