// How big the items of the flat menus are, and where their parts sit.
//
// An item's measurements travel as one 32-bit number (its item data), so that
// measuring an item needs nothing but that number:
// - pop-up item: bits 0 to 7 the item height, bits 8 to 15 the widest
//   accelerator text of the menu (only its low 8 bits), bits 16 to 31 the
//   widest label of the menu;
// - separator: its height, higher bits 0;
// - menu-bar item: bits 16 to 31 its label width, low byte 0, which is what
//   tells a menu-bar item from the others.
#pragma once

#include <cstdint>

// Where the label of a pop-up item starts, from the item's left edge; the
// check box and image sit in the columns before it.
inline constexpr int MENU_LABEL_LEFT = 30;
// Between the accelerator text's right end and the item's right edge.
inline constexpr int MENU_ACCEL_RIGHT_GAP = 12;
// What a pop-up item adds to its widest label and accelerator: the label's
// left offset and the accelerator's right gap.
inline constexpr int MENU_ITEM_EXTRA_WIDTH = MENU_LABEL_LEFT + MENU_ACCEL_RIGHT_GAP;
// The room the menu keeps between a label and the accelerator texts.
inline constexpr int MENU_LABEL_ACCEL_GAP = 12;
// The strip at the right of a menu-bar item (the open item's shadow).
inline constexpr int MENU_BAR_ITEM_STRIP = 4;
// The room the menu bar keeps around each item's label, both sides together.
inline constexpr int MENU_BAR_ITEM_PADDING = 12;
// The band of an unselected item when no gradient is drawn.
inline constexpr int MENU_PLAIN_BAND_WIDTH = 22;
// The images in pop-up items and toolbar buttons are 16 pixels wide.
inline constexpr int MENU_IMAGE_SIZE = 16;

struct CMenuItemHeights {
    int nItem = 0;
    int nSeparator = 0;
};

// The heights of items and separators for text of the given height: items
// are at least 16 pixels plus 4, separators half a text line plus 2.
CMenuItemHeights MenuItemHeights(int textHeight);

uint32_t PackBarItemData(int labelWidth);
uint32_t PackPopupItemData(int itemHeight, int widestAccel, int widestLabel);
uint32_t PackSeparatorData(int separatorHeight);
// Whether item data is that of a menu-bar item.
bool IsBarItemData(uint32_t data);

struct CMenuItemSize {
    int nWidth = 0;
    int nHeight = 0;
};

// The size an item's data measures: a pop-up item (or separator) is as high
// as its low byte and as wide as the widest label plus the widest accelerator
// plus MENU_ITEM_EXTRA_WIDTH (a separator so 42 wide); a menu-bar item is its
// label width plus MENU_BAR_ITEM_STRIP wide, its height left to the bar (0).
CMenuItemSize MeasureMenuItem(uint32_t data);
