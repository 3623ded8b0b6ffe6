// CFlatMenuStyle: the toolbar buttons and separators.
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "menus/tool_button_look.h"
#include "menus/ui/flat_menu_style.h"
#include "menus/ui/flat_paint.h"
#include "menus/ui/memory_dc.h"

bool IsFlatToolButton(const QWidget* widget) {
    return qobject_cast<const QToolButton*>(widget) &&
           qobject_cast<const QToolBar*>(widget->parentWidget());
}

void CFlatMenuStyle::DrawToolButton(const QStyleOptionToolButton* option, QPainter* painter) const {
    const QRect rect = option->rect;
    CToolButtonState state;
    state.bHot = option->state & State_MouseOver;
    state.bEnabled = option->state & State_Enabled;
    state.bChecked = option->state & State_On;
    state.bPressed = option->state & State_Sunken;
    state.bDropDown = option->features & QStyleOptionToolButton::MenuButtonPopup;
    state.bArrowPressed = option->activeSubControls & SC_ToolButtonMenu;
    const bool bShowIcon = option->toolButtonStyle != Qt::ToolButtonTextOnly;
    state.bImage = bShowIcon && !option->icon.isNull();
    const CMenuPalette palette = MenuPaletteFrom(option->palette);
    const CToolButtonLook look = ToolButtonLook(state, palette);

    CMemoryDC dc(painter, rect);
    QPainter& p = dc.Painter();
    FillRect(p, rect, ToolBarBackground(palette));
    if (look.bBox) {
        const QRect box = rect.adjusted(0, 0, -look.nBoxTrimRight, 0);
        FillRect(p, box, look.boxFill);
        DrawOutline(p, box, look.boxOutline);
        if (look.dropDown == DropDownPart::PressedArrow) {
            const QRect arrowPart(QPoint(box.right(), rect.top()), rect.bottomRight());
            FillRect(p, arrowPart, look.arrowPartFill);
            DrawOutline(p, arrowPart, look.boxOutline);
        } else if (look.dropDown == DropDownPart::SplitLine) {
            FillRect(p,
                     QRect(rect.right() - (TOOL_DROPDOWN_WIDTH - 1), rect.top(), 1, rect.height()),
                     look.boxOutline);
        }
    }

    QRect imageArea = rect;
    if (state.bDropDown) {
        // A small arrow, pointing down, in the rightmost part.
        const QColor color = ToQColor(look.arrow);
        const int right = rect.right() + 1;
        const int middle = rect.top() + (rect.height() + 1) / 2;
        p.fillRect(QRect(right - 9, middle - 1, 5, 1), color);
        p.fillRect(QRect(right - 8, middle, 3, 1), color);
        p.fillRect(QRect(right - 7, middle + 1, 1, 1), color);
        imageArea.setRight(imageArea.right() - TOOL_DROPDOWN_WIDTH);
    }

    // The image keeps to the top-left corner of a button of the usual size
    // and to the middle of larger ones.
    const QSize cell = option->iconSize + QSize(TOOL_BUTTON_MARGIN, TOOL_BUTTON_MARGIN);
    const QPoint corner =
        imageArea.topLeft() + QPoint(std::max(0, (imageArea.width() - cell.width()) / 2),
                                     std::max(0, (imageArea.height() - cell.height()) / 2));
    if (state.bImage) {
        const QPixmap image =
            option->icon.pixmap(option->iconSize, p.device()->devicePixelRatioF());
        if (look.bSilhouette)
            p.drawPixmap(corner + QPoint(look.nSilhouetteOffset, look.nSilhouetteOffset),
                         Silhouette(image, look.silhouette));
        if (look.bImage)
            p.drawPixmap(corner + QPoint(look.nImageOffset, look.nImageOffset), image);
    }
    if (option->toolButtonStyle != Qt::ToolButtonIconOnly && !option->text.isEmpty()) {
        QRect textArea = imageArea;
        if (state.bImage)
            textArea.setLeft(corner.x() + cell.width() - 2);
        p.setFont(option->font);
        p.setPen(ToQColor(state.bEnabled ? palette.buttonText : palette.grayText));
        p.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine,
                   option->text);
    }
}

void CFlatMenuStyle::DrawToolBarSeparator(const QStyleOption* option, QPainter* painter) const {
    const QRect rect = option->rect;
    const CRgb color = ToolBarSeparator(MenuPaletteFrom(option->palette));
    if (option->state & State_Horizontal) {
        // A vertical line between the groups of a horizontal bar.
        const int x = rect.left() + rect.width() / 2 - 1;
        FillRect(*painter, QRect(x, rect.top() + 2, 1, std::max(0, rect.height() - 4)), color);
    } else {
        const int y = rect.bottom() - 3;
        FillRect(*painter, QRect(rect.left() + 2, y, std::max(0, rect.width() - 4), 1), color);
    }
}
