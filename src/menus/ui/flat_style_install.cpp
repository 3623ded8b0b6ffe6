#include "menus/ui/flat_style_install.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>

#include "image_strip.h"
#include "menus/ui/flat_menu_style.h"

CFlatMenuStyle* InstallFlatStyle(QMainWindow* window, const IProfile& profile) {
    auto* style = qobject_cast<CFlatMenuStyle*>(QApplication::style());
    if (!style) {
        QStyle* base = QStyleFactory::create(QApplication::style()->name());
        style = new CFlatMenuStyle(CMenuSettings::Read(profile), CFlatMenuStyle::DetectShadowMode(),
                                   base);
        QApplication::setStyle(style);
    }
    if (window) {
        for (QToolBar* bar : window->findChildren<QToolBar*>())
            bar->setIconSize(QSize(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT));
    }
    return style;
}

void ShowFlatStyleScene(QMainWindow* window) {
    window->activateWindow();
    QMenuBar* bar = window->menuBar();
    QRect menuArea;
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->isVisible() && action->isEnabled()) {
            bar->setActiveAction(action);
            menuArea = action->menu()->geometry();
            break;
        }
    }
    // The first button the open menu leaves in sight.
    QToolButton* hot = nullptr;
    for (QToolBar* toolbar : window->findChildren<QToolBar*>()) {
        for (QToolButton* button : toolbar->findChildren<QToolButton*>()) {
            const QRect area(button->mapToGlobal(QPoint(0, 0)), button->size());
            if (button->isVisible() && button->isEnabled() && !button->icon().isNull() &&
                !area.intersects(menuArea)) {
                hot = button;
                break;
            }
        }
        if (hot)
            break;
    }
    if (hot) {
        // What the application sets when the mouse enters a widget; the open
        // menu holds the mouse, so it cannot be moved there.
        hot->setAttribute(Qt::WA_UnderMouse);
        hot->update();
    }
}
