// CFlatMenuStyle: the flat look of the menu bar, the pop-up menus and the
// toolbars, as a proxy over the application's own style.
//
// It paints only menus (QMenu, QMenuBar) and the buttons, separators and
// background of toolbars (QToolBar); every other widget, and every part it
// does not paint, is left to the base style. So it can be the application's
// style (InstallFlatStyle does that) and still leave dialogs as they were.
//
// Pop-up menus get a light band on the left, a framed selection, a frame of
// three outlines, and a soft shadow at the right and bottom. The shadow is
// painted by the menu itself where the platform draws none: with a
// compositing manager as translucent black over the desktop, without one by
// darkening what lay behind the menu when it opened. Menus are moved one
// pixel up, so that a menu opened from the bar covers the bottom edge of its
// bar item and the two look joined. A letter typed in an open menu picks the
// first item whose mnemonic it is.
//
// Sizes: pop-up items are as high as max(text + 2, 16) + 4 and as wide as
// the widest label plus the widest accelerator plus 42 (plus a gap between
// the two); separators half a text line plus 2. Tool buttons are their image
// plus 7 in both directions; toolbars keep borders of 1, 3, 6 and 4 pixels.
#pragma once

#include <QProxyStyle>

#include "menus/menu_colors.h"
#include "menus/menu_settings.h"

class QKeyEvent;
class QMenu;
class QMenuBar;
class QStyleOptionMenuItem;
class QStyleOptionToolButton;

class CFlatMenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    enum class ShadowMode {
        None,        // the platform draws menu shadows
        Painted,     // darken a capture of what lies behind the menu
        Translucent, // translucent black; a compositing manager blends it
    };

    // The shadow this platform needs; asks the display server once per call.
    static ShadowMode DetectShadowMode();

    // base is the style everything else is left to; the application's
    // default style when none is given. The style owns it.
    CFlatMenuStyle(const CMenuSettings& settings, ShadowMode shadow, QStyle* base = nullptr);

    const CMenuSettings& Settings() const { return m_settings; }
    ShadowMode Shadow() const { return m_shadow; }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int ShadowMargin() const;
    bool IsDeepColour(const QWidget* widget) const;

    void DrawMenuPanel(const QStyleOption* option, QPainter* painter, const QMenu* menu) const;
    void DrawMenuShadow(QPainter& painter, const QRect& rect, const QMenu* menu) const;
    void DrawMenuItem(const QStyleOptionMenuItem* option, QPainter* painter,
                      const QMenu* menu) const;
    void DrawMenuBarItem(const QStyleOptionMenuItem* option, QPainter* painter,
                         const QMenuBar* bar) const;
    QSize MenuItemSize(const QStyleOptionMenuItem* option, const QMenu* menu) const;
    QSize MenuBarItemSize(const QStyleOptionMenuItem* option, const QMenuBar* bar) const;

    void DrawToolButton(const QStyleOptionToolButton* option, QPainter* painter) const;
    void DrawToolBarSeparator(const QStyleOption* option, QPainter* painter) const;

    // Menus: moved up a pixel, the screen behind captured, mnemonics.
    void MenuAboutToShow(QMenu* menu) const;
    bool MenuKeyPressed(QMenu* menu, const QKeyEvent* event) const;

    CMenuSettings m_settings;
    ShadowMode m_shadow;
};

// Whether the style paints this tool button (it sits on a toolbar).
bool IsFlatToolButton(const QWidget* widget);
