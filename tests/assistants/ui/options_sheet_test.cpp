// The "Options" sheet driven as a user does: Apply and Cancel, the
// user-defined tags with the Define Meta Tag dialog, and the file types.
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "assistants/ui/assistant_dialogs.h"
#include "assistants/ui/options_sheet.h"
#include "dialog_test_util.h"
#include "fields/field_groups.h"
#include "fields/field_list.h"

class OptionsSheetTest : public QObject {
    Q_OBJECT

private slots:
    void applyAndCancel();
    void addedTagSurvivesPageSwitchAndOk();
    void defineTagRefusesBadNames();
    void fileTypesAddReplaceRemove();
    void sceneShowsTheChosenPage();
    void previewPageAllowsScriptsForTheProject();
};

namespace {

constexpr int kOwner = 4; // a standard field shown if it has content

struct Sheet {
    CFieldList fields;
    CAppSettings settings;
    int applied = 0;
    COptionsSheet sheet{fields, settings, [this] { ++applied; }};
    Sheet() {
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    }
    QAbstractButton* Apply() { return Control<QAbstractButton>(&sheet, QStringLiteral("Apply")); }
    QWidget* Page(int index) {
        sheet.ShowPage(index);
        return sheet.Tabs()->currentWidget();
    }
};

QLineEdit* NameBox(QWidget* dialog) {
    return Control<QLineEdit>(dialog, QStringLiteral("Name"));
}

} // namespace

void OptionsSheetTest::applyAndCancel() {
    Sheet s;
    QWidget* page = s.Page(0);
    auto* list = Control<QListWidget>(page, QStringLiteral("Standard meta tags"));
    QCOMPARE(list->count(), FIRST_CUSTOM_FIELD); // the catalogue, Search and Social
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(Control<QRadioButton>(page, QStringLiteral("Always display"))->isChecked());
    QVERIFY(!s.Apply()->isEnabled());

    ClickEntry(list, QStringLiteral("owner"));
    QVERIFY(Control<QRadioButton>(page, QStringLiteral("Display if content exists"))->isChecked());
    Click(page, QStringLiteral("Never display"));
    QVERIFY(s.Apply()->isEnabled());
    QCOMPARE(s.fields.GetAt(kOwner).GetDisplay(), int(DISPLAY_IF_CONTENT)); // not yet applied

    Click(&s.sheet, QStringLiteral("Apply"));
    QCOMPARE(s.fields.GetAt(kOwner).GetDisplay(), int(DISPLAY_NEVER));
    QCOMPARE(s.applied, 1);
    QVERIFY(!s.Apply()->isEnabled());
    QVERIFY(s.sheet.isVisible());

    // Cancel keeps what was applied and drops the rest.
    Click(page, QStringLiteral("Always display"));
    Click(&s.sheet, QStringLiteral("Cancel"));
    QCOMPARE(s.fields.GetAt(kOwner).GetDisplay(), int(DISPLAY_NEVER));
    QCOMPARE(s.applied, 1);

    // Through the bridge: OK without a change applies nothing and tells nobody.
    CAssistantDialogs dialogs;
    int applied = 0;
    OnNextModal([](QWidget* sheet) { Click(sheet, QStringLiteral("OK")); });
    dialogs.RunOptions(nullptr, s.fields, s.settings, [&applied] { ++applied; });
    QCOMPARE(applied, 0);
    OnNextModal([](QWidget* sheet) {
        Click(static_cast<COptionsSheet*>(sheet)->Tabs()->currentWidget(),
              QStringLiteral("Always display"));
        Click(sheet, QStringLiteral("OK"));
    });
    dialogs.RunOptions(nullptr, s.fields, s.settings, [&applied] { ++applied; });
    QCOMPARE(applied, 1);
    QCOMPARE(s.fields.GetAt(0).GetDisplay(), int(DISPLAY_ALWAYS));
}

void OptionsSheetTest::addedTagSurvivesPageSwitchAndOk() {
    Sheet s;
    QWidget* page = s.Page(1);
    auto* list = Control<QListWidget>(page, QStringLiteral("User defined meta tags"));
    QCOMPARE(list->count(), 0);
    for (const char* name : {"Always display", "Edit", "Remove"})
        QVERIFY(!Control<QAbstractButton>(page, QString::fromLatin1(name))->isEnabled());

    OnNextModal([](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Define Meta Tag"));
        QTest::keyClicks(NameBox(dialog), QStringLiteral("rating"));
        Click(dialog, QStringLiteral("Multi-line edit box"));
        QTest::keyClick(NameBox(dialog), Qt::Key_Return);
    });
    Click(page, QStringLiteral("Add ..."));
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("rating"));
    QVERIFY(Control<QRadioButton>(page, QStringLiteral("Always display"))->isChecked());
    QVERIFY(s.Apply()->isEnabled());

    // Edit shows the definition; Remove takes it out again.
    OnNextModal([](QWidget* dialog) {
        QCOMPARE(NameBox(dialog)->text(), QStringLiteral("rating"));
        QVERIFY(
            Control<QAbstractButton>(dialog, QStringLiteral("Multi-line edit box"))->isChecked());
        Click(dialog, QStringLiteral("Cancel"));
    });
    Click(page, QStringLiteral("Edit"));
    OnNextModal([](QWidget* dialog) {
        QTest::keyClicks(NameBox(dialog), QStringLiteral("audience"));
        Click(dialog, QStringLiteral("OK"));
    });
    Click(page, QStringLiteral("Add ..."));
    Click(page, QStringLiteral("Remove"));
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("rating"));

    s.Page(2);
    s.Page(1);
    QCOMPARE(list->count(), 1);
    Click(&s.sheet, QStringLiteral("OK"));
    QCOMPARE(s.applied, 1);
    QCOMPARE(s.fields.GetCount(), FIRST_CUSTOM_FIELD + 1);
    const CMetaField& added = s.fields.GetAt(FIRST_CUSTOM_FIELD);
    QCOMPARE(added.GetName(), std::string("rating"));
    QCOMPARE(added.GetKind(), int(FIELD_USER));
    QCOMPARE(added.GetDisplay(), int(DISPLAY_ALWAYS));
    QCOMPARE(added.IsMultiLine(), 1);
}

void OptionsSheetTest::defineTagRefusesBadNames() {
    Sheet s;
    QWidget* page = s.Page(1);
    OnNextModal([](QWidget* dialog) {
        auto* ok = Control<QAbstractButton>(dialog, QStringLiteral("OK"));
        QVERIFY(!ok->isEnabled()); // no name yet
        QTest::keyClicks(NameBox(dialog), QStringLiteral("   "));
        QVERIFY(!ok->isEnabled());
        const struct {
            const char* name;
            const char* message;
        } refused[] = {
            {"Description", "A tag named \"Description\" already exists."},
            {"it's \"x\"", "A tag name cannot hold both kinds of quote mark (\" and ')."},
        };
        for (const auto& r : refused) {
            NameBox(dialog)->clear();
            QTest::keyClicks(NameBox(dialog), QString::fromLatin1(r.name));
            QString message;
            AnswerNextMessage(message);
            Click(dialog, QStringLiteral("OK"));
            QCOMPARE(message, QString::fromLatin1(r.message));
            QVERIFY(dialog->isVisible());
        }
        Click(dialog, QStringLiteral("Cancel"));
    });
    Click(page, QStringLiteral("Add ..."));
    QCOMPARE(Control<QListWidget>(page, QStringLiteral("User defined meta tags"))->count(), 0);
    QVERIFY(!s.Apply()->isEnabled());
}

void OptionsSheetTest::fileTypesAddReplaceRemove() {
    Sheet s;
    QWidget* page = s.Page(2);
    auto* list = Control<QListWidget>(page, QStringLiteral("File types"));
    auto* box = Control<QLineEdit>(page, QStringLiteral("Extention"));
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    QCOMPARE(shown, (QStringList{"asp", "aspx", "htm", "html", "mtpl", "php"}));

    auto* add = Control<QAbstractButton>(page, QStringLiteral("Add"));
    QTest::keyClicks(box, QStringLiteral("htm"));
    QVERIFY(!add->isEnabled()); // present already
    box->clear();
    QTest::keyClicks(box, QStringLiteral(" shtml "));
    QVERIFY(!Control<QAbstractButton>(page, QStringLiteral("Replace"))->isEnabled());
    Click(page, QStringLiteral("Add"));
    QVERIFY(!add->isEnabled());
    QCOMPARE(list->count(), 7);

    ClickEntry(list, QStringLiteral("asp"));
    box->clear();
    QTest::keyClicks(box, QStringLiteral("jsp"));
    Click(page, QStringLiteral("Replace"));
    ClickEntry(list, QStringLiteral("php"));
    Click(page, QStringLiteral("Remove"));
    QVERIFY(!Control<QAbstractButton>(page, QStringLiteral("Remove"))->isEnabled());
    QCOMPARE(s.settings.m_strFileTypes, std::string(DEFAULT_FILE_TYPES)); // until OK

    Click(&s.sheet, QStringLiteral("OK"));
    QCOMPARE(s.settings.m_strFileTypes, std::string("*.aspx;*.htm;*.html;*.jsp;*.mtpl;*.shtml;"));
    QCOMPARE(s.applied, 1);
}

void OptionsSheetTest::sceneShowsTheChosenPage() {
    CFieldList fields;
    CAppSettings settings;
    QPointer<COptionsSheet> sheet =
        CAssistantDialogs::ShowOptionsScene(nullptr, fields, settings, 2);
    QVERIFY(sheet && sheet->isVisible());
    QCOMPARE(sheet->Tabs()->currentIndex(), 2);
    QCOMPARE(Control<QListWidget>(sheet, QStringLiteral("File types"))->count(), 6);
    sheet->close();
    QTRY_VERIFY(!sheet);
}

void OptionsSheetTest::previewPageAllowsScriptsForTheProject() {
    CFieldList fields;
    CAppSettings settings;
    int applied = 0;
    COptionsSheet sheet(
        fields, settings, [&applied] { ++applied; }, nullptr, "/srv/site/");
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    sheet.ShowPage(3);
    QWidget* page = sheet.Tabs()->currentWidget();
    QVERIFY(Control<QRadioButton>(page, QStringLiteral("Do not run scripts"))->isChecked());
    // A click on the round button (a click beside its text would miss it).
    auto* project =
        Control<QRadioButton>(page, QStringLiteral("Run scripts for this project (site)"));
    QTest::mouseClick(project, Qt::LeftButton, {}, QPoint(8, project->height() / 2));
    QVERIFY(project->isChecked());
    Click(page, QStringLiteral("Load images, style sheets and fonts from the web (http, https)"));
    Click(&sheet, QStringLiteral("Apply"));
    QCOMPARE(applied, 1);
    QCOMPARE(settings.m_preview.m_scriptFolders, std::vector<std::string>{"/srv/site"});
    QVERIFY(settings.m_preview.m_bRemoteResources && !settings.m_preview.m_bScriptsThisRun);

    // Without a project folder, scripts can only be allowed until the end.
    COptionsSheet plain(fields, settings, nullptr);
    plain.ShowPage(3);
    page = plain.Tabs()->currentWidget();
    QVERIFY(!Control<QRadioButton>(
                 page, QStringLiteral("Run scripts for this project (no project folder open)"))
                 ->isEnabled());
}

QTEST_MAIN(OptionsSheetTest)
#include "options_sheet_test.moc"
