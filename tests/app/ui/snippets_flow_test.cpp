// The search and social meta-data through the whole window: the Search and
// Social rows, the length meters, the search-result and social-card
// previews following every keystroke, Choose... for the picture, and the
// saved file.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "fields/field_groups.h"
#include "form/ui/length_meter.h"
#include "form/ui/snippet_previews.h"
#include "form/ui/tessel_view.h"
#include "frame_test_util.h"
#include "resource_ids.h"
#include "snippet/search_font.h"

class SnippetsFlowTest : public QObject {
    Q_OBJECT

private slots:
    void typingMovesMetersAndPreviewsAndSavesOnlyTheEdits();

private:
    QTemporaryDir m_dir;
};

namespace {

template <typename T = QWidget>
T* Named(QWidget* root, const QString& accessibleName) {
    for (T* widget : root->findChildren<T*>())
        if (widget->accessibleName() == accessibleName && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

void SnippetsFlowTest::typingMovesMetersAndPreviewsAndSavesOnlyTheEdits() {
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("img")));
    QImage picture(120, 63, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(m_dir.filePath(QStringLiteral("img/plots.png"))));
    QVERIFY(picture.save(m_dir.filePath(QStringLiteral("img/new plot.png"))));
    const QString description(QStringLiteral("Plots, seeds and shows. ").repeated(5).trimmed());
    const QByteArray page =
        "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<title>Plots</title>\r\n"
        "<meta name=\"description\" content=\"" +
        description.toUtf8() +
        "\">\r\n"
        "<link rel=\"canonical\" href=\"https://plots.example.org/news/show.html\">\r\n"
        "<META PROPERTY=\"og:title\" CONTENT=\"The show\">\r\n"
        "<meta property=\"og:image\" content=\"img/plots.png\">\r\n"
        "<meta name=\"twitter:card\" content=\"summary_large_image\">\r\n"
        "</head>\r\n<body><p>Show day.</p></body>\r\n</html>\r\n";
    const QString path = m_dir.filePath(QStringLiteral("show.html"));
    QVERIFY(WriteBytes(path, page));

    FrameRig rig;
    rig.frame->SetImagePicker(&rig.picker);
    rig.Show();
    QCOMPARE(rig.doc.OpenDocumentFile(path), 1);
    CTesselView* view = rig.frame->View();

    // The group rows with content show, named after their tags.
    for (const char* name : {"canonical", "lang", "og:title", "og:image", "twitter:card"})
        QVERIFY2(Named(view, QString::fromLatin1(name)), name);
    QVERIFY(!Named(view, QStringLiteral("og:url")));
    QVERIFY(Named<QPushButton>(view, QStringLiteral("Choose... og:image")));

    // Alt+R shows the previews; the command is checked.
    QVERIFY(!rig.frame->EditingPane()->IsPanelShown());
    QTest::keyClick(rig.frame.get(), Qt::Key_R, Qt::AltModifier);
    QVERIFY(rig.frame->EditingPane()->IsPanelShown());
    QVERIFY(rig.Action(ID_VIEW_SNIPPETS)->isChecked());
    CSnippetPanel* panel = rig.frame->EditingPane()->Panel();
    CSearchPreviewPane* search = panel->SearchPreview();
    CSocialCardPane* card = panel->SocialCard();
    QCOMPARE(search->accessibleName(), QStringLiteral("Search result preview"));
    QCOMPARE(card->accessibleName(), QStringLiteral("Social card preview"));
    QCOMPARE(search->Label(0, 1)->text(), QStringLiteral("Plots"));
    QCOMPARE(card->TitleLabel()->text(), QStringLiteral("The show"));
    QCOMPARE(card->DomainLabel()->text(), QStringLiteral("PLOTS.EXAMPLE.ORG"));
    QCOMPARE(card->Layout(), CardLayout::SUMMARY_LARGE_IMAGE);
    QVERIFY(!card->ImageLabel()->pixmap().isNull());

    // Type a title far wider than results show: the meter, the box's
    // description and both results follow each keystroke.
    auto* title = Named<QLineEdit>(view, QStringLiteral("title"));
    QVERIFY(title);
    const bool measured = CSearchFont::Instance() != nullptr;
    CLengthMeter* meter = view->Meter(0);
    QVERIFY(meter->isVisible());
    QVERIFY(meter->Text().startsWith(QStringLiteral("5 characters, ")));
    QCOMPARE(title->accessibleDescription(), meter->Text());
    if (measured)
        QVERIFY(meter->Text().endsWith(QStringLiteral(", fits")));
    title->setFocus();
    title->end(false);
    const QString more =
        QStringLiteral(": the summer show, plot tours and prize vegetables judged in the pavilion");
    QTest::keyClicks(title, more);
    QCOMPARE(title->accessibleDescription(), meter->Text());
    const QString typed = QStringLiteral("Plots") + more;
    QVERIFY(meter->Text().startsWith(QStringLiteral("%1 characters, ").arg(typed.size())));
    if (measured) {
        QVERIFY2(meter->Text().endsWith(QStringLiteral(", too wide")), qPrintable(meter->Text()));
        QVERIFY(search->Label(0, 1)->text().endsWith(QStringLiteral("...")));
        QVERIFY(typed.startsWith(search->Label(0, 1)->text().chopped(3)));
        // The description is cut on a phone, not on a desktop.
        QVERIFY(search->Label(1, 2)->text().endsWith(QStringLiteral("...")));
        QCOMPARE(view->Meter(1)->GetMeter().verdict, WidthVerdict::FITS);
    }
    QCOMPARE(search->Label(0, 0)->text(), QStringLiteral("/show.html"));

    // og:title emptied: the card falls back to the typed title.
    auto* ogTitle = Named<QLineEdit>(view, QStringLiteral("og:title"));
    ogTitle->clear();
    QCOMPARE(card->TitleLabel()->text(), typed);

    // Choose... writes the picture's address relative to the page.
    rig.picker.answers = {m_dir.filePath(QStringLiteral("img/new plot.png"))};
    QTest::mouseClick(Named<QPushButton>(view, QStringLiteral("Choose... og:image")),
                      Qt::LeftButton);
    QCOMPARE(Named<QLineEdit>(view, QStringLiteral("og:image"))->text(),
             QStringLiteral("img/new%20plot.png"));
    QVERIFY(!card->ImageLabel()->pixmap().isNull());

    // Saved: the title and the picture changed in place, og:title gone with
    // its line, every other byte as it was.
    QCOMPARE(rig.doc.FileSave(), 1);
    QByteArray expected = page;
    expected.replace("<title>Plots</title>", "<title>" + typed.toUtf8() + "</title>");
    expected.replace("<META PROPERTY=\"og:title\" CONTENT=\"The show\">\r\n", "");
    expected.replace("img/plots.png", "img/new%20plot.png");
    QCOMPARE(ReadBytes(path), expected);
    QVERIFY(rig.prompt.unexpected.empty());
    QVERIFY(rig.picker.unexpected.empty());
}

QTEST_MAIN(SnippetsFlowTest)
#include "snippets_flow_test.moc"
