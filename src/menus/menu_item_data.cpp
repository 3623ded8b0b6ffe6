#include "menus/menu_item_data.h"

#include <algorithm>

CMenuItemHeights MenuItemHeights(int textHeight) {
    return {std::max(textHeight + 2, MENU_IMAGE_SIZE) + 4, textHeight / 2 + 2};
}

namespace {

uint32_t Field(int value, int maximum) {
    return static_cast<uint32_t>(std::clamp(value, 0, maximum));
}

} // namespace

uint32_t PackBarItemData(int labelWidth) {
    return Field(labelWidth, 0xFFFF) << 16;
}

uint32_t PackPopupItemData(int itemHeight, int widestAccel, int widestLabel) {
    // A height of 0 would read as a menu-bar item.
    return std::max(Field(itemHeight, 0xFF), 1u) |
           (static_cast<uint32_t>(widestAccel) & 0xFF) << 8 | Field(widestLabel, 0xFFFF) << 16;
}

uint32_t PackSeparatorData(int separatorHeight) {
    return std::max(Field(separatorHeight, 0xFF), 1u);
}

bool IsBarItemData(uint32_t data) {
    return (data & 0xFF) == 0;
}

CMenuItemSize MeasureMenuItem(uint32_t data) {
    const int label = static_cast<int>(data >> 16);
    if (IsBarItemData(data))
        return {label + MENU_BAR_ITEM_STRIP, 0};
    const int accel = static_cast<int>((data >> 8) & 0xFF);
    return {label + accel + MENU_ITEM_EXTRA_WIDTH, static_cast<int>(data & 0xFF)};
}
