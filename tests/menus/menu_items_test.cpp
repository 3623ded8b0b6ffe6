// Item measurements, mnemonics, the profile settings and the looks of items
// and buttons in their states.
#include <gtest/gtest.h>

#include "menus/menu_item_data.h"
#include "menus/menu_item_look.h"
#include "menus/menu_mnemonic.h"
#include "menus/menu_settings.h"
#include "menus/tool_button_look.h"
#include "rgb_print.h"
#include "settings/memory_profile.h"

namespace {

TEST(MenuItemData, MeasuresFromThePackedData) {
    // Separators measure 42 wide, whatever their height; the menu widens them.
    EXPECT_EQ(MeasureMenuItem(PackSeparatorData(9)).nWidth, 42);
    EXPECT_EQ(MeasureMenuItem(PackSeparatorData(9)).nHeight, 9);
    // Pop-up items: widest label + widest accelerator + 42, their own height.
    const uint32_t item = PackPopupItemData(21, 40, 95);
    EXPECT_FALSE(IsBarItemData(item));
    EXPECT_EQ(MeasureMenuItem(item).nWidth, 95 + 40 + 42);
    EXPECT_EQ(MeasureMenuItem(item).nHeight, 21);
    // Menu-bar items: a low byte of 0, the label plus the 4-pixel strip.
    const uint32_t bar = PackBarItemData(31);
    EXPECT_TRUE(IsBarItemData(bar));
    EXPECT_EQ(MeasureMenuItem(bar).nWidth, 35);
    // Only 8 bits of the accelerator width fit; no field spills into another.
    EXPECT_EQ(MeasureMenuItem(PackPopupItemData(21, 256 + 7, 10)).nWidth, 10 + 7 + 42);
    EXPECT_EQ(MeasureMenuItem(PackPopupItemData(300, 0, 0)).nHeight, 255);
    EXPECT_FALSE(IsBarItemData(PackPopupItemData(0, 0, 10)));
}

TEST(MenuItemData, HeightsFollowTheText) {
    struct Row {
        int text, item, separator;
    };
    for (const Row& row : {Row{13, 20, 8}, Row{15, 21, 9}, Row{20, 26, 12}, Row{0, 20, 2}}) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(MenuItemHeights(row.text).nItem, row.item);
        EXPECT_EQ(MenuItemHeights(row.text).nSeparator, row.separator);
    }
}

TEST(MenuMnemonic, MatchesTheCharacterAfterASingleAmpersand) {
    struct Row {
        const char* label;
        char ch;
        bool match;
    };
    const Row rows[] = {
        {"Save &As...", 'a', true},     {"Save &As...", 'A', true}, {"Save &As...", 'S', false},
        {"A&&B", 'b', false},           {"&&&B", 'b', true},        {"Fish && &Chips", 'c', true},
        {"Fish && &Chips", ' ', false}, {"Trailing&", '&', false},  {"&&", '&', false},
        {"E&xit", 'x', true},           {"", 'x', false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.label << " / " << row.ch);
        EXPECT_EQ(IsMnemonic(QString::fromUtf8(row.label), QChar(row.ch)), row.match);
    }
    // The first item with the mnemonic wins; separators have empty labels.
    const QStringList labels{"&New", "", "&Open...", "&Options", "A&&O"};
    EXPECT_EQ(MenuCharToItem(labels, u'o'), 2);
    EXPECT_EQ(MenuCharToItem(labels, u'N'), 0);
    EXPECT_EQ(MenuCharToItem(labels, u'z'), -1);
}

TEST(MenuMnemonic, SplitsLabelAndAccelerator) {
    const CMenuText text = SplitMenuText("&Open...\tCtrl+O");
    EXPECT_EQ(text.strLabel, "&Open...");
    EXPECT_EQ(text.strAccel, "Ctrl+O");
    EXPECT_EQ(SplitMenuText("E&xit").strAccel, "");
    EXPECT_EQ(SplitMenuText("a\tb\tc").strAccel, "b\tc");
}

TEST(MenuSettings, DefaultsSectionsAndFaceBasedColours) {
    const CRgb face{212, 208, 200};
    CMemoryProfile profile;
    const CMenuSettings defaults = CMenuSettings::Read(profile);
    EXPECT_TRUE(defaults.m_bShowGradient);
    EXPECT_TRUE(defaults.m_bShowGradientSel);
    EXPECT_EQ(defaults.GradientStart(face), (CRgb{180, 196, 228}));
    EXPECT_EQ(defaults.GradientEnd(face), (CRgb{255, 255, 255}));
    EXPECT_EQ(defaults.m_nGradientWidth, 30);

    // ShowGradientSel is read from "MenuEx" only.
    profile.WriteProfileInt("MenuXP", "ShowGradientSel", 0);
    EXPECT_TRUE(CMenuSettings::Read(profile).m_bShowGradientSel);
    profile.WriteProfileInt("MenuEx", "ShowGradientSel", 0);
    EXPECT_FALSE(CMenuSettings::Read(profile).m_bShowGradientSel);

    profile.WriteProfileInt("MenuXP", "ShowGradient", 0);
    profile.WriteProfileInt("MenuXP", "GradientStart", -1);
    profile.WriteProfileInt("MenuXP", "GradientEnd", -1);
    profile.WriteProfileInt("MenuXP", "GradientWidth", 12);
    const CMenuSettings read = CMenuSettings::Read(profile);
    EXPECT_FALSE(read.m_bShowGradient);
    EXPECT_EQ(read.GradientStart(face), AdjustColorHLS(face, 20, 0));
    EXPECT_EQ(read.GradientEnd(face), AdjustColorHLS(face, 75, 0));
    EXPECT_EQ(read.m_nGradientWidth, 12);
}

CMenuPalette TestPalette() {
    CMenuPalette palette;
    palette.face = {212, 208, 200};
    palette.highlight = {49, 106, 197};
    palette.darkShadow = {64, 64, 64};
    palette.shadow = {128, 128, 128};
    palette.menuText = {0, 0, 0};
    palette.buttonText = {1, 1, 1};
    palette.grayText = {109, 109, 109};
    return palette;
}

TEST(PopupItemLook, BackgroundsByStateAndSettings) {
    const CMenuPalette palette = TestPalette();
    const CRgb start{180, 196, 228};
    const CRgb white{255, 255, 255};
    const CRgb paleHighlight = AdjustColorHLS(palette.highlight, 70, -57);
    CMenuSettings noSelGradient;
    noSelGradient.m_bShowGradientSel = false;
    struct Row {
        const char* name;
        CPopupItemState state;
        const CMenuSettings settings;
        bool deep;
        CRgb from, to;
        int band;
        CRgb rest;
        bool outline;
    };
    const Row rows[] = {
        {"unselected", {}, {}, true, start, white, 30, white, false},
        {"unselected, 8 bits",
         {},
         {},
         false,
         AdjustColorHLS(palette.face, 20, 0),
         AdjustColorHLS(palette.face, 20, 0),
         22,
         AdjustColorHLS(palette.face, 75, 0),
         false},
        {"selected", {.bSelected = true}, {}, true, start, white, -1, white, true},
        {"selected, no gradient",
         {.bSelected = true},
         noSelGradient,
         true,
         paleHighlight,
         paleHighlight,
         -1,
         paleHighlight,
         true},
        {"selected, 8 bits",
         {.bSelected = true},
         {},
         false,
         paleHighlight,
         paleHighlight,
         -1,
         paleHighlight,
         true},
        {"selected disabled",
         {.bSelected = true, .bDisabled = true},
         {},
         true,
         AdjustColorHLS(palette.face, 73, 0),
         white,
         -1,
         white,
         true},
        {"separator under the mouse",
         {.bSelected = true, .bSeparator = true},
         {},
         true,
         start,
         white,
         30,
         white,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CItemBackground bg =
            PopupItemLook(row.state, palette, row.settings, row.deep).background;
        EXPECT_EQ(bg.bandFrom, row.from);
        EXPECT_EQ(bg.bandTo, row.to);
        EXPECT_EQ(bg.nBandWidth, row.band);
        EXPECT_EQ(bg.rest, row.rest);
        EXPECT_EQ(bg.bOutline, row.outline);
        if (row.outline) {
            EXPECT_EQ(bg.outline, palette.highlight);
        }
    }
}

TEST(PopupItemLook, CheckedItemsAndMarks) {
    const CMenuPalette palette = TestPalette();
    const CMenuSettings settings;
    const auto look = [&](CPopupItemState state) {
        return PopupItemLook(state, palette, settings, true);
    };
    // A checked image stays down in its box, even when selected.
    const CPopupItemLook checked = look({.bSelected = true, .bChecked = true, .bImage = true});
    EXPECT_FALSE(checked.bSilhouette);
    EXPECT_EQ(checked.nImageOffset, 3);
    EXPECT_EQ(checked.mark, CheckMark::None);
    EXPECT_EQ(checked.checkBoxFill, AdjustColorHLS(palette.highlight, 50, -50));
    // Without an image a checked item shows a radio dot or a check mark.
    EXPECT_EQ(look({.bChecked = true, .bRadio = true}).mark, CheckMark::Radio);
    EXPECT_EQ(look({.bChecked = true}).mark, CheckMark::Check);
    EXPECT_EQ(look({.bRadio = true}).mark, CheckMark::None);
    const CPopupItemLook disabled = look({.bDisabled = true, .bChecked = true, .bRadio = true});
    EXPECT_EQ(disabled.markColor, AdjustColorHLS(palette.face, -27, 0));
    EXPECT_EQ(disabled.checkBoxFill, AdjustColorHLS(palette.face, 73, 0));
    EXPECT_TRUE(look({.bDefault = true}).bBold);
}

TEST(ToolButtonLook, PressedAndDropDownButtons) {
    const CMenuPalette palette = TestPalette();
    const CRgb hl = palette.highlight;
    // Pressed: the darker fill and the image not lifted.
    const CToolButtonLook pressed = ToolButtonLook({.bHot = true, .bPressed = true}, palette);
    EXPECT_EQ(pressed.boxFill, AdjustColorHLS(hl, 50, -50));
    EXPECT_FALSE(pressed.bSilhouette);
    EXPECT_EQ(pressed.nImageOffset, 3);
    // Hot and checked: the darker fill, lifted.
    const CToolButtonLook hotChecked = ToolButtonLook({.bHot = true, .bChecked = true}, palette);
    EXPECT_EQ(hotChecked.boxFill, AdjustColorHLS(hl, 50, -50));
    EXPECT_EQ(hotChecked.nImageOffset, 2);
    // A disabled button is never raised.
    EXPECT_FALSE(ToolButtonLook({.bHot = true, .bEnabled = false}, palette).bBox);
    // A drop-down pressed on its main part leaves the arrow part to itself;
    // pressed on the arrow, the button shows raised with a split line.
    const CToolButtonLook main =
        ToolButtonLook({.bHot = true, .bPressed = true, .bDropDown = true}, palette);
    EXPECT_EQ(main.dropDown, DropDownPart::PressedArrow);
    EXPECT_EQ(main.nBoxTrimRight, 13);
    const CToolButtonLook arrow = ToolButtonLook(
        {.bHot = true, .bPressed = true, .bDropDown = true, .bArrowPressed = true}, palette);
    EXPECT_EQ(arrow.dropDown, DropDownPart::SplitLine);
    EXPECT_EQ(arrow.boxFill, AdjustColorHLS(hl, 70, -57));
    EXPECT_EQ(ToolButtonLook({.bEnabled = false, .bDropDown = true}, palette).arrow,
              palette.grayText);
}

} // namespace
