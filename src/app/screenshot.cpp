#include "app/screenshot.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/main_frame.h"
#include "document/tessel_doc.h"

namespace {

// Time for the window to lay out and paint after the scene is ready.
constexpr int kSettleMilliseconds = 500;

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
             // The File menu open under its title, as a click leaves it.
             QMenuBar* bar = frame.menuBar();
             QAction* file = bar->actions().value(0);
             if (file && file->menu())
                 file->menu()->popup(bar->mapToGlobal(bar->actionGeometry(file).bottomLeft()));
             ready();
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
    auto grab = [&frame, file] {
        QTimer::singleShot(kSettleMilliseconds, &frame, [&frame, file] {
            const QString folder = QFileInfo(file).absolutePath();
            if (!QDir().mkpath(folder)) {
                Fail(QStringLiteral("cannot create %1").arg(folder));
                return;
            }
            if (!Grab(frame).save(file, "PNG")) {
                Fail(QStringLiteral("cannot write %1").arg(file));
                return;
            }
            QCoreApplication::exit(0);
        });
    };
    found.value()(frame, doc, grab);
}
