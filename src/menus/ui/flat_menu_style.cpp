#include "menus/ui/flat_menu_style.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <optional>

#include "menus/menu_item_data.h"
#include "menus/menu_item_look.h"
#include "menus/menu_mnemonic.h"
#include "menus/menu_shadow.h"
#include "menus/tool_button_look.h"
#include "menus/ui/compositor.h"
#include "menus/ui/flat_paint.h"
#include "menus/ui/memory_dc.h"

namespace {

// What lay on the screen behind a menu when it opened (a QImage of the
// menu's size), kept on the menu while it is shown.
constexpr const char* BACKGROUND_PROPERTY = "tsleFlatMenuBackground";
// The frame of a pop-up: an outline and two more inside it.
constexpr int MENU_FRAME_WIDTH = 3;

// A toolbar lays its buttons out inside one margin, the same on every side
// (PM_ToolBarItemMargin); the flat borders differ per side. The margin is
// the top border; the widget's own margins add what the right and bottom
// borders need beyond it, and the grip is made narrower by what the margin
// takes beyond the left border.
constexpr int TOOLBAR_MARGIN = TOOLBAR_BORDER_TOP;
constexpr int TOOLBAR_GRIP_SHARE = TOOLBAR_MARGIN - TOOLBAR_BORDER_LEFT;

const QMenu* AsMenu(const QWidget* widget) {
    return qobject_cast<const QMenu*>(widget);
}

const QMenuBar* AsMenuBar(const QWidget* widget) {
    return qobject_cast<const QMenuBar*>(widget);
}

// The screen rectangle of the open menu-bar item whose pop-up menu is,
// without the item's shadow strip.
std::optional<QRect> OpenBarItem(const QMenu* menu) {
    QAction* action = menu->menuAction();
    for (QObject* object : action->associatedObjects()) {
        const QMenuBar* bar = qobject_cast<const QMenuBar*>(object);
        if (!bar || bar->activeAction() != action)
            continue;
        QRect item = bar->actionGeometry(action);
        item.setWidth(item.width() - MENU_BAR_ITEM_STRIP);
        return QRect(bar->mapToGlobal(item.topLeft()), item.size());
    }
    return std::nullopt;
}

} // namespace

CFlatMenuStyle::ShadowMode CFlatMenuStyle::DetectShadowMode() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("windows") || platform == QLatin1String("cocoa"))
        return ShadowMode::None;
    return IsCompositingManagerRunning() ? ShadowMode::Translucent : ShadowMode::Painted;
}

CFlatMenuStyle::CFlatMenuStyle(const CMenuSettings& settings, ShadowMode shadow, QStyle* base)
    : QProxyStyle(base), m_settings(settings), m_shadow(shadow) {}

int CFlatMenuStyle::ShadowMargin() const {
    return m_shadow == ShadowMode::None ? 0 : SHADOW_SIZE;
}

bool CFlatMenuStyle::IsDeepColour(const QWidget* widget) const {
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return !screen || screen->depth() > 8;
}

// --- Dispatch -------------------------------------------------------------------------

void CFlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (const QMenu* menu = AsMenu(widget)) {
        if (element == PE_PanelMenu) {
            DrawMenuPanel(option, painter, menu);
            return;
        }
        // The panel has painted the frame and shadow already.
        if (element == PE_FrameMenu)
            return;
    }
    if (AsMenuBar(widget) && element == PE_PanelMenuBar) {
        FillRect(*painter, option->rect, MenuPaletteFrom(option->palette).face);
        return;
    }
    if (qobject_cast<const QToolBar*>(widget)) {
        if (element == PE_PanelToolBar) {
            FillRect(*painter, option->rect, ToolBarBackground(MenuPaletteFrom(option->palette)));
            return;
        }
        if (element == PE_IndicatorToolBarSeparator) {
            DrawToolBarSeparator(option, painter);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CFlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (const QMenu* menu = AsMenu(widget)) {
        if (element == CE_MenuItem && item &&
            item->menuItemType != QStyleOptionMenuItem::Scroller &&
            item->menuItemType != QStyleOptionMenuItem::TearOff) {
            DrawMenuItem(item, painter, menu);
            return;
        }
        if (element == CE_MenuEmptyArea)
            return;
    }
    if (const QMenuBar* bar = AsMenuBar(widget)) {
        if (element == CE_MenuBarItem && item) {
            DrawMenuBarItem(item, painter, bar);
            return;
        }
        if (element == CE_MenuBarEmptyArea) {
            FillRect(*painter, option->rect, MenuPaletteFrom(option->palette).face);
            return;
        }
    }
    if (element == CE_ToolBar && qobject_cast<const QToolBar*>(widget)) {
        FillRect(*painter, option->rect, ToolBarBackground(MenuPaletteFrom(option->palette)));
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CFlatMenuStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
    if (control == CC_ToolButton && IsFlatToolButton(widget)) {
        if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option)) {
            DrawToolButton(button, painter);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

int CFlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const {
    if (AsMenu(widget)) {
        switch (metric) {
        case PM_MenuPanelWidth:
            return MENU_FRAME_WIDTH;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuDesktopFrameWidth:
            return 0;
        case PM_SmallIconSize:
            return MENU_IMAGE_SIZE;
        default:
            break;
        }
    }
    if (AsMenuBar(widget)) {
        switch (metric) {
        case PM_MenuBarPanelWidth:
        case PM_MenuBarItemSpacing:
        case PM_MenuBarHMargin:
        case PM_MenuBarVMargin:
            return 0;
        default:
            break;
        }
    }
    if (qobject_cast<const QToolBar*>(widget)) {
        switch (metric) {
        case PM_ToolBarItemSpacing:
        case PM_ToolBarFrameWidth:
            return 0;
        case PM_ToolBarItemMargin:
            return TOOLBAR_MARGIN;
        case PM_ToolBarHandleExtent:
            return std::max(0,
                            QProxyStyle::pixelMetric(metric, option, widget) - TOOLBAR_GRIP_SHARE);
        case PM_ToolBarSeparatorExtent:
            return TOOL_SEPARATOR_EXTENT;
        default:
            break;
        }
    }
    if (metric == PM_MenuButtonIndicator && IsFlatToolButton(widget))
        return TOOL_DROPDOWN_WIDTH;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize CFlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& contents, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (const QMenu* menu = AsMenu(widget)) {
        if (type == CT_Menu)
            return contents + QSize(ShadowMargin(), ShadowMargin());
        if (type == CT_MenuItem && item && item->menuItemType != QStyleOptionMenuItem::Scroller &&
            item->menuItemType != QStyleOptionMenuItem::TearOff)
            return MenuItemSize(item, menu);
    }
    if (const QMenuBar* bar = AsMenuBar(widget); bar && type == CT_MenuBarItem && item)
        return MenuBarItemSize(item, bar);
    if (type == CT_ToolButton && IsFlatToolButton(widget))
        return contents + QSize(TOOL_BUTTON_MARGIN, TOOL_BUTTON_MARGIN);
    return QProxyStyle::sizeFromContents(type, option, contents, widget);
}

int CFlatMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
    // A disabled item can be selected, so that the keyboard walks over it.
    if (hint == SH_Menu_AllowActiveAndDisabled && AsMenu(widget))
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

// --- Polishing and menu events -----------------------------------------------------------

void CFlatMenuStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        menu->installEventFilter(this);
        // Must be set before the menu's window is made; menus make theirs
        // when they first open, after being polished.
        if (m_shadow == ShadowMode::Translucent)
            menu->setAttribute(Qt::WA_TranslucentBackground);
    } else if (auto* menuBar = qobject_cast<QMenuBar*>(widget)) {
        menuBar->installEventFilter(this);
    } else if (auto* bar = qobject_cast<QToolBar*>(widget)) {
        bar->setContentsMargins(0, 0, TOOLBAR_BORDER_RIGHT - TOOLBAR_MARGIN,
                                TOOLBAR_BORDER_BOTTOM - TOOLBAR_MARGIN);
    }
}

void CFlatMenuStyle::unpolish(QWidget* widget) {
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        menu->removeEventFilter(this);
        if (m_shadow == ShadowMode::Translucent)
            menu->setAttribute(Qt::WA_TranslucentBackground, false);
        menu->setProperty(BACKGROUND_PROPERTY, QVariant());
    } else if (auto* menuBar = qobject_cast<QMenuBar*>(widget)) {
        menuBar->removeEventFilter(this);
    } else if (auto* bar = qobject_cast<QToolBar*>(widget)) {
        bar->setContentsMargins(0, 0, 0, 0);
    }
    QProxyStyle::unpolish(widget);
}

bool CFlatMenuStyle::eventFilter(QObject* watched, QEvent* event) {
    // The bar's labels grey when its window is inactive; the widget repaints
    // on activation only when the palette differs, so it is told here.
    if (auto* bar = qobject_cast<QMenuBar*>(watched)) {
        if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
            bar->update();
        return QProxyStyle::eventFilter(watched, event);
    }
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        switch (event->type()) {
        case QEvent::Show:
            MenuAboutToShow(menu);
            break;
        case QEvent::Hide:
            menu->setProperty(BACKGROUND_PROPERTY, QVariant());
            break;
        case QEvent::KeyPress:
            if (MenuKeyPressed(menu, static_cast<QKeyEvent*>(event)))
                return true;
            break;
        default:
            break;
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

void CFlatMenuStyle::MenuAboutToShow(QMenu* menu) const {
    // Up by one pixel: a menu opened from the bar then covers the bottom edge
    // of its bar item, which is where the two are joined.
    menu->move(menu->pos() - QPoint(0, 1));
    if (m_shadow != ShadowMode::Painted)
        return;
    // The menu is not on the screen yet: what the screen shows there now is
    // what the shadow falls on.
    QImage background;
    if (QScreen* screen = menu->screen()) {
        const QRect area = menu->geometry();
        const QPoint origin = area.topLeft() - screen->geometry().topLeft();
        const QPixmap shot =
            screen->grabWindow(0, origin.x(), origin.y(), area.width(), area.height());
        if (!shot.isNull())
            background = shot.toImage().scaled(area.size()).convertToFormat(QImage::Format_RGB32);
    }
    menu->setProperty(BACKGROUND_PROPERTY, background);
}

bool CFlatMenuStyle::MenuKeyPressed(QMenu* menu, const QKeyEvent* event) const {
    const Qt::KeyboardModifiers extra =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier);
    const QString text = event->text();
    if (extra != Qt::NoModifier || text.size() != 1 || !text.at(0).isPrint() ||
        text.at(0).isSpace())
        return false;
    const QList<QAction*> actions = menu->actions();
    QStringList labels;
    for (const QAction* action : actions) {
        labels.append(action->isSeparator() || !action->isVisible()
                          ? QString()
                          : SplitMenuText(action->text()).strLabel);
    }
    const int pos = MenuCharToItem(labels, text.at(0));
    if (pos < 0)
        return false;
    // The first item with the mnemonic is chosen even when a later one has
    // it too; a disabled one takes the key and does nothing.
    QAction* action = actions.at(pos);
    if (action->isEnabled()) {
        menu->setActiveAction(action);
        // Enter does what choosing the item does: run its command and close
        // the menus, or open its sub-menu.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &enter);
    }
    return true;
}

// --- Pop-up menus -------------------------------------------------------------------------

void CFlatMenuStyle::DrawMenuPanel(const QStyleOption* option, QPainter* painter,
                                   const QMenu* menu) const {
    const QRect rect = option->rect;
    const int margin = ShadowMargin();
    const QRect frame = rect.adjusted(0, 0, -margin, -margin);
    const CMenuPanelLook look =
        MenuPanelLook(MenuPaletteFrom(option->palette), m_settings, IsDeepColour(menu));

    CMemoryDC dc(painter, rect);
    QPainter& p = dc.Painter();
    if (margin > 0)
        DrawMenuShadow(p, rect, menu);
    FillRect(
        p, frame.adjusted(MENU_FRAME_WIDTH, MENU_FRAME_WIDTH, -MENU_FRAME_WIDTH, -MENU_FRAME_WIDTH),
        look.background);
    DrawOutline(p, frame, look.outline);
    DrawOutline(p, frame.adjusted(1, 1, -1, -1), look.innerOutline);
    DrawOutline(p, frame.adjusted(2, 2, -2, -2), look.innerOutline);

    // Under the open bar item the top edge takes the item's fill colour.
    const std::optional<QRect> item = OpenBarItem(menu);
    const QPoint origin = menu->mapToGlobal(QPoint(0, 0));
    if (item && origin.y() == item->bottom()) {
        const int left = std::max(item->left() + 1 - origin.x(), 1);
        const int right = std::min(item->right() - 1 - origin.x(), frame.right() - 1);
        if (right >= left)
            FillRect(p, QRect(rect.left() + left, rect.top(), right - left + 1, 1), look.joinLine);
    }
}

void CFlatMenuStyle::DrawMenuShadow(QPainter& painter, const QRect& rect, const QMenu* menu) const {
    const int width = rect.width();
    const int height = rect.height();
    QImage layer(rect.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if (m_shadow == ShadowMode::Translucent) {
        for (const CShadowPixel& pixel : MenuShadowPixels(width, height)) {
            layer.setPixelColor(pixel.x, pixel.y,
                                QColor(0, 0, 0, (255 * ShadowOpacityPercent(pixel.k) + 50) / 100));
        }
    } else {
        QImage background = menu->property(BACKGROUND_PROPERTY).value<QImage>();
        if (background.size() != rect.size()) {
            // Nothing was captured (the platform cannot read the screen):
            // the shadow falls on the window colour.
            background = QImage(rect.size(), QImage::Format_RGB32);
            background.fill(menu->palette().color(QPalette::Active, QPalette::Window));
        }
        // The corners of the margin show the background as it was ...
        QPainter copy(&layer);
        const QRect right(width - SHADOW_SIZE, 0, SHADOW_SIZE, height);
        const QRect bottom(0, height - SHADOW_SIZE, width, SHADOW_SIZE);
        copy.drawImage(right, background, right);
        copy.drawImage(bottom, background, bottom);
        copy.end();
        // ... and the shadow darkens it.
        for (const CShadowPixel& pixel : MenuShadowPixels(width, height)) {
            const CRgb under = ToRgb(background.pixelColor(pixel.x, pixel.y));
            layer.setPixelColor(pixel.x, pixel.y, ToQColor(ShadowDarken(under, pixel.k)));
        }
    }
    painter.drawImage(rect.topLeft(), layer);
}

void CFlatMenuStyle::DrawMenuItem(const QStyleOptionMenuItem* option, QPainter* painter,
                                  const QMenu* menu) const {
    const QRect rect = option->rect;
    CPopupItemState state;
    state.bSeparator = option->menuItemType == QStyleOptionMenuItem::Separator;
    state.bSelected = option->state & State_Selected;
    state.bDisabled = !(option->state & State_Enabled);
    state.bChecked = option->checkType != QStyleOptionMenuItem::NotCheckable && option->checked;
    state.bRadio = option->checkType == QStyleOptionMenuItem::Exclusive;
    state.bDefault = option->menuItemType == QStyleOptionMenuItem::DefaultItem;
    state.bImage = !option->icon.isNull();
    const CMenuPalette palette = MenuPaletteFrom(option->palette);
    const CPopupItemLook look = PopupItemLook(state, palette, m_settings, IsDeepColour(menu));

    CMemoryDC dc(painter, rect);
    QPainter& p = dc.Painter();
    PaintItemBackground(p, rect, look.background);
    if (state.bSeparator) {
        const int y = rect.top() + rect.height() / 2;
        const int left = rect.left() + MENU_LABEL_LEFT;
        FillRect(p, QRect(left, y, rect.right() - left, 1), look.separator);
        return;
    }

    const int middle = rect.top() + rect.height() / 2;
    if (look.bCheckBox) {
        const QRect box(QPoint(rect.left() + 1, rect.top() + 1),
                        QPoint(rect.left() + 19, rect.bottom() - 1));
        FillRect(p, box, look.checkBoxFill);
        DrawOutline(p, box, palette.highlight);
    }
    if (look.mark == CheckMark::Radio) {
        const QPoint centre(rect.left() + 12, middle);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(look.markColor));
        p.drawEllipse(QRectF(centre.x() - 4, centre.y() - 3, 7, 7));
        p.restore();
        FillRect(p, QRect(centre.x() + 1, centre.y() + 2, 1, 1), look.checkBoxFill);
    } else if (look.mark == CheckMark::Check) {
        DrawCheckMark(p, QPoint(rect.left() + 10, middle), look.markColor);
    }
    if (state.bImage) {
        // Images sit at fixed offsets from the top-left corner of an item of
        // the usual height, and keep to the middle of taller ones.
        const QPoint corner(rect.left(),
                            rect.top() + std::max(0, (rect.height() - MENU_IMAGE_SIZE - 4) / 2));
        const QPixmap image = option->icon.pixmap(QSize(MENU_IMAGE_SIZE, MENU_IMAGE_SIZE),
                                                  p.device()->devicePixelRatioF());
        if (look.bSilhouette)
            p.drawPixmap(corner + QPoint(look.nSilhouetteOffset, look.nSilhouetteOffset),
                         Silhouette(image, look.silhouette));
        if (look.bImage)
            p.drawPixmap(corner + QPoint(look.nImageOffset, look.nImageOffset), image);
    }

    const CMenuText text = SplitMenuText(option->text);
    QFont font = option->font;
    font.setBold(look.bBold);
    p.setFont(font);
    p.setPen(ToQColor(look.text));
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, option, menu))
        flags |= Qt::TextHideMnemonic;
    const QRect labelRect(rect.left() + MENU_LABEL_LEFT, rect.top(),
                          rect.width() - MENU_LABEL_LEFT - MENU_ACCEL_RIGHT_GAP, rect.height());
    p.drawText(labelRect, flags | Qt::AlignLeft, text.strLabel);
    if (!text.strAccel.isEmpty())
        p.drawText(labelRect, Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine,
                   text.strAccel);

    if (option->menuItemType == QStyleOptionMenuItem::SubMenu) {
        // A small arrow toward the sub-menu, in the accelerator's gap.
        const QColor color = ToQColor(look.text);
        const int x = rect.right() - MENU_ACCEL_RIGHT_GAP + 4;
        for (int i = 0; i < 4; ++i)
            p.fillRect(QRect(x + i, middle - 3 + i, 1, 7 - 2 * i), color);
    }
}

QSize CFlatMenuStyle::MenuItemSize(const QStyleOptionMenuItem* option, const QMenu* menu) const {
    const CMenuItemHeights heights = MenuItemHeights(menu->fontMetrics().height());
    if (option->menuItemType == QStyleOptionMenuItem::Separator) {
        const CMenuItemSize size = MeasureMenuItem(PackSeparatorData(heights.nSeparator));
        return {size.nWidth, size.nHeight};
    }
    const CMenuText text = SplitMenuText(option->text);
    QFont font = option->font;
    const bool bDefault = option->menuItemType == QStyleOptionMenuItem::DefaultItem;
    font.setBold(bDefault);
    const QFontMetrics metrics(font);
    const int label =
        metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, text.strLabel).width();
    // The menu adds the widest accelerator to every item, measured in its
    // own font; a bold one needs the difference.
    int boldAccel = 0;
    if (bDefault && !text.strAccel.isEmpty())
        boldAccel = std::max(0, metrics.horizontalAdvance(text.strAccel) -
                                    menu->fontMetrics().horizontalAdvance(text.strAccel));
    const CMenuItemSize size = MeasureMenuItem(PackPopupItemData(heights.nItem, 0, label));
    return {size.nWidth + MENU_LABEL_ACCEL_GAP + boldAccel, size.nHeight};
}

// --- The menu bar --------------------------------------------------------------------------

void CFlatMenuStyle::DrawMenuBarItem(const QStyleOptionMenuItem* option, QPainter* painter,
                                     const QMenuBar* bar) const {
    const QRect rect = option->rect;
    CBarItemState state;
    state.bOpen = (option->state & State_Selected) && (option->state & State_Sunken);
    state.bHot = (option->state & State_Selected) && !state.bOpen;
    // An open pop-up may take the focus from the window; the window still
    // counts as active then, since menus open only from active windows.
    state.bInactive = !bar->isActiveWindow() && !QApplication::activePopupWidget();
    state.bDisabled = !(option->state & State_Enabled);
    const CMenuPalette palette = MenuPaletteFrom(option->palette);
    const CBarItemLook look = BarItemLook(state, palette);

    CMemoryDC dc(painter, rect);
    QPainter& p = dc.Painter();
    FillRect(p, rect, look.background);
    const QRect box = rect.adjusted(0, 0, -MENU_BAR_ITEM_STRIP, 0);
    if (look.bBox) {
        FillRect(p, box, look.boxFill);
        DrawOutline(p, box, look.boxOutline);
    }
    if (look.bStripShadow) {
        for (const CShadowPixel& pixel : RightShadowPixels(rect.width(), rect.height())) {
            FillRect(p, QRect(rect.left() + pixel.x, rect.top() + pixel.y, 1, 1),
                     ShadowDarken(look.background, pixel.k));
        }
    }
    p.setFont(bar->font());
    p.setPen(ToQColor(look.text));
    int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, option, bar))
        flags |= Qt::TextHideMnemonic;
    p.drawText(box, flags, option->text);
}

QSize CFlatMenuStyle::MenuBarItemSize(const QStyleOptionMenuItem* option,
                                      const QMenuBar* bar) const {
    const QFontMetrics metrics = bar->fontMetrics();
    const int label = metrics.size(Qt::TextSingleLine | Qt::TextShowMnemonic, option->text).width();
    const CMenuItemSize size = MeasureMenuItem(PackBarItemData(label));
    return {size.nWidth + MENU_BAR_ITEM_PADDING, MenuItemHeights(metrics.height()).nItem};
}
