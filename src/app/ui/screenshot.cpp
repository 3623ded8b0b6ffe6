#include "app/ui/screenshot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/ui/main_frame.h"
#include "assistants/ui/assistant_dialogs.h"
#include "document/tessel_doc.h"
#include "form/ui/length_meter.h"
#include "form/ui/snippet_previews.h"
#include "form/ui/tessel_view.h"
#include "menus/ui/flat_style_install.h"
#include "resource_ids.h"
#include "settings/app_settings.h"
#include "shell/ui/child_frame.h"
#include "shell/ui/file_tree_view.h"
#include "shell/ui/preview_pane.h"
#include "site/site_session.h"
#include "site/ui/site_view.h"

namespace {

// Time for the window to lay out and paint after the scene is ready.
constexpr int kSettleMilliseconds = 500;
// The longest wait for the preview's page before the picture is taken anyway.
constexpr int kPreviewTimeoutMilliseconds = 30000;

// Runs the View command (ID_VIEW_...) and calls ready once the
// preview has loaded its page (or failed to, or the wait ran out).
void ShowPreview(CMainFrame& frame, int command, std::function<void()> ready) {
    CChildFrame* child = frame.ChildFrame();
    CPreviewPane* preview = child->Preview();
    auto done = std::make_shared<bool>(false);
    auto once = [done, ready] {
        if (!*done) {
            *done = true;
            ready();
        }
    };
    QObject::connect(preview, &CPreviewPane::loadFinished, &frame, [once] { once(); });
    QTimer::singleShot(kPreviewTimeoutMilliseconds, &frame, once);
    frame.RunCommand(command);
    // No engine to wait for: the placeholder says why.
    QTimer::singleShot(0, &frame, [preview, once] {
        if (!preview->EngineError().isEmpty())
            once();
    });
}

void Fail(const QString& message);

// Opens the sample page with search and social tags beside the page given,
// typing a title into it (not saved) when one is given.
bool OpenSocialPage(CMainFrame& frame, CTesselDoc& doc, const QString& title = {}) {
    const QString folder = QFileInfo(doc.GetPathName()).absolutePath();
    // The sample project's address, for the search result's address line.
    frame.Settings().m_projectSites.SetSite(ScriptFolderKey(folder),
                                            "https://riverside-allotments.example.org");
    const QString page = folder + QStringLiteral("/events.html");
    if (!doc.OpenDocumentFile(page)) {
        Fail(QStringLiteral("cannot open %1").arg(page));
        return false;
    }
    if (!title.isEmpty()) {
        CFieldForm& form = frame.View()->GetForm();
        form.SetValueAsTyped(0, title.toStdString());
    }
    return true;
}

// A picture that stands for the window's (a scene that shows a part of it).
QPixmap& RightPicture() {
    static QPixmap picture;
    return picture;
}

// A picture that goes left of the window's (a scene that shows two states).
QPixmap& LeftPicture() {
    static QPixmap picture;
    return picture;
}

// The window with whatever lies over it; declared here, defined below.
QPixmap Grab(CMainFrame& frame);

// The colours of a common dark desktop theme, as the platform would hand
// them to the program.
QPalette DarkDesktopPalette() {
    QPalette p;
    const QColor text(238, 238, 236), window(53, 53, 53), base(45, 45, 45), disabled(145, 145, 144);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(21, 83, 158));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(27, 27, 27));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Link, QColor(53, 132, 228));
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Light, QColor(74, 74, 74));
    p.setColor(QPalette::Midlight, QColor(64, 64, 64));
    p.setColor(QPalette::Mid, QColor(42, 42, 42));
    p.setColor(QPalette::Dark, QColor(30, 30, 30));
    p.setColor(QPalette::Shadow, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

QMap<QString, ScreenshotScene>& Scenes() {
    static QMap<QString, ScreenshotScene> scenes = {
        {QStringLiteral("page"),
         [](CMainFrame&, CTesselDoc&, std::function<void()> ready) { ready(); }},
        {QStringLiteral("template"),
         [](CMainFrame&, CTesselDoc& doc, std::function<void()> ready) {
             doc.NewTemplate(); // based on the page: the prompt answers Yes
             ready();
         }},
        {QStringLiteral("menu"),
         [](CMainFrame& frame, CTesselDoc&, std::function<void()> ready) {
             // The File menu open under its title, as a click leaves it, and
             // a toolbar button beside it under the mouse.
             ShowFlatStyleScene(&frame);
             ready();
         }},
        {QStringLiteral("options"),
         [](CMainFrame& frame, CTesselDoc&, std::function<void()> ready) {
             CAssistantDialogs::ShowOptionsScene(&frame, frame.View()->GetForm().GetFields(),
                                                 frame.Settings());
             ready();
         }},
        {QStringLiteral("preview-options"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // What pages may do in the preview, with the page's folder as the project.
             const QString project = QFileInfo(doc.GetPathName()).absolutePath();
             CAssistantDialogs::ShowOptionsScene(&frame, frame.View()->GetForm().GetFields(),
                                                 frame.Settings(), 3, project);
             ready();
         }},
        {QStringLiteral("themes"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // A template being edited (its bar, the labels, the action lists)
             // under the desktop's light palette, then beside it under a dark one.
             doc.NewTemplate();
             QTimer::singleShot(kSettleMilliseconds, &frame, [&frame, ready] {
                 LeftPicture() = Grab(frame);
                 QApplication::setPalette(DarkDesktopPalette());
                 ready();
             });
         }},
        {QStringLiteral("expires"),
         [](CMainFrame& frame, CTesselDoc&, std::function<void()> ready) {
             CAssistantDialogs::ShowExpiresScene(&frame,
                                                 QStringLiteral("Mon, 07 Dec 2026 00:00:00 GMT"));
             ready();
         }},
        {QStringLiteral("browser"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // The page's folder as the project, one sub-folder opened.
             frame.OpenProjectDir(QFileInfo(doc.GetPathName()).absolutePath());
             QTreeWidgetItem* root = frame.FileBrowser()->Tree()->topLevelItem(0);
             for (int i = 0; root && i < root->childCount(); ++i) {
                 if (CFileTreeView::ItemImage(root->child(i)) == FILE_TREE_IMAGE_FOLDER) {
                     root->child(i)->setExpanded(true);
                     break;
                 }
             }
             ready();
         }},
        {QStringLiteral("site"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // The page's folder in the site view, read whole, with one title
             // edited and not yet written.
             CSiteSession& session = frame.SiteView()->Session();
             auto once = std::make_shared<QMetaObject::Connection>();
             *once = QObject::connect(
                 &session, &CSiteSession::scanFinished, &frame,
                 [&frame, &session, once, ready](bool) {
                     QObject::disconnect(*once);
                     CSiteTableModel& model = session.Model();
                     const std::optional<size_t> row = model.Sheet().Find("news.html");
                     const int title = model.Sheet().ColumnOf(QStringLiteral("title"));
                     QString error;
                     if (row && title >= 0)
                         model.SetCell(*row, title,
                                       QStringLiteral("News from the allotments: spring 2026"),
                                       error);
                     model.UpdateFindings();
                     if (row)
                         frame.SiteView()->Table()->selectRow(model.ViewRowOf(*row));
                     ready();
                 });
             frame.OpenSiteView(QFileInfo(doc.GetPathName()).absolutePath());
         }},
        {QStringLiteral("preview"),
         [](CMainFrame& frame, CTesselDoc&, std::function<void()> ready) {
             ShowPreview(frame, ID_VIEW_WEBPAGE, ready);
         }},
        {QStringLiteral("meters"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // A title that fits beside a description that results would cut.
             if (OpenSocialPage(frame, doc, QStringLiteral("Open Day and Summer Show")))
                 ready();
         }},
        {QStringLiteral("search-preview"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // The title too wide: both results cut it, and its meter is red.
             if (!OpenSocialPage(frame, doc))
                 return;
             frame.resize(std::max(frame.width(), 1200), std::max(frame.height(), 860));
             frame.RunCommand(ID_VIEW_SNIPPETS);
             frame.EditingPane()->setSizes({300, 500});
             ready();
         }},
        {QStringLiteral("social-card"),
         [](CMainFrame& frame, CTesselDoc& doc, std::function<void()> ready) {
             // The card a shared link shows, large picture first, then as a
             // summary card beside it.
             if (!OpenSocialPage(frame, doc))
                 return;
             frame.resize(std::max(frame.width(), 1200), std::max(frame.height(), 860));
             frame.RunCommand(ID_VIEW_SNIPPETS);
             QTimer::singleShot(kSettleMilliseconds, &frame, [&frame, ready] {
                 CSocialCardPane* card = frame.EditingPane()->Panel()->SocialCard();
                 LeftPicture() = card->grab();
                 CFieldForm& form = frame.View()->GetForm();
                 form.SetValueAsTyped(form.FindField("twitter:card"), "summary");
                 QTimer::singleShot(kSettleMilliseconds, &frame, [card, ready] {
                     RightPicture() = card->grab();
                     ready();
                 });
             });
         }},
        {QStringLiteral("split"),
         [](CMainFrame& frame, CTesselDoc&, std::function<void()> ready) {
             ShowPreview(frame, ID_VIEW_SPLIT, ready);
         }},
    };
    return scenes;
}

// The window with whatever lies over it (an open menu, a dialog) as the
// screen shows it; where the screen cannot be read (the offscreen
// platform), the window alone.
QPixmap Grab(CMainFrame& frame) {
    QScreen* screen = frame.screen();
    QRect area = frame.frameGeometry();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top != &frame && !top->inherits("QSplashScreen"))
            area = area.united(top->frameGeometry());
    }
    if (screen) {
        area = area.intersected(screen->geometry());
        const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.isNull())
            return shot;
    }
    return frame.grab();
}

// Runs then once window is the active window (menus and the menu bar of an
// inactive window are greyed), or after a while without.
void WhenActive(QWidget& window, std::function<void()> then, int triesLeft = 100) {
    if (window.isActiveWindow() || triesLeft <= 0) {
        then();
        return;
    }
    QTimer::singleShot(20, &window,
                       [&window, then, triesLeft] { WhenActive(window, then, triesLeft - 1); });
}

void Fail(const QString& message) {
    std::fprintf(stderr, "tsle: %s\n", qPrintable(message));
    QCoreApplication::exit(1);
}

} // namespace

void RegisterScreenshotScene(const QString& name, ScreenshotScene scene) {
    Scenes().insert(name, std::move(scene));
}

QStringList ScreenshotSceneNames() {
    return Scenes().keys();
}

void TakeScreenshot(CMainFrame& frame, CTesselDoc& doc, const QString& scene, const QString& file) {
    const auto found = Scenes().constFind(scene);
    if (found == Scenes().constEnd()) {
        Fail(QStringLiteral("no screenshot scene \"%1\" (scenes: %2)")
                 .arg(scene, ScreenshotSceneNames().join(QStringLiteral(", "))));
        return;
    }
    // An inactive window greys its menu bar: the picture shows it in use.
    frame.activateWindow();
    frame.raise();
    auto grab = [&frame, file] {
        QTimer::singleShot(kSettleMilliseconds, &frame, [&frame, file] {
            const QString folder = QFileInfo(file).absolutePath();
            if (!QDir().mkpath(folder)) {
                Fail(QStringLiteral("cannot create %1").arg(folder));
                return;
            }
            QPixmap shot = RightPicture().isNull() ? Grab(frame) : RightPicture();
            if (!LeftPicture().isNull()) {
                // Side by side, the left picture first.
                const QPixmap left = LeftPicture();
                QPixmap both(left.width() + shot.width(), std::max(left.height(), shot.height()));
                both.fill(Qt::white);
                QPainter painter(&both);
                painter.drawPixmap(0, 0, left);
                painter.drawPixmap(left.width(), 0, shot);
                painter.end();
                shot = both;
            }
            if (!shot.save(file, "PNG")) {
                Fail(QStringLiteral("cannot write %1").arg(file));
                return;
            }
            QCoreApplication::exit(0);
        });
    };
    const ScreenshotScene setUp = found.value();
    WhenActive(frame, [setUp, &frame, &doc, grab] { setUp(frame, doc, grab); });
}
