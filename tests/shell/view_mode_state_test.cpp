#include "shell/view_mode_state.h"

#include <gtest/gtest.h>

namespace {

// The whole state that a mode implies, checked at once.
void ExpectMode(const CViewModeState& s, int mode, int tab) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    EXPECT_EQ(s.GetViewMode(), mode);
    EXPECT_EQ(s.IsSplit(), mode == VIEW_MODE_SPLIT ? 1 : 0);
    EXPECT_EQ(s.HiddenRow(), mode == VIEW_MODE_METADATA  ? VIEW_ROW_PREVIEW
                             : mode == VIEW_MODE_WEBPAGE ? VIEW_ROW_EDIT
                                                         : -1);
    EXPECT_EQ(s.IsTabBarShown(), mode == VIEW_MODE_SPLIT ? 0 : 1);
    EXPECT_EQ(s.SelectedTab(), tab);
    for (int command : {VIEW_MODE_METADATA, VIEW_MODE_WEBPAGE, VIEW_MODE_SPLIT}) {
        EXPECT_EQ(s.IsCommandEnabled(command), command != mode) << command;
        EXPECT_EQ(s.IsCommandChecked(command), command == mode) << command;
    }
    EXPECT_NE(s.ActiveRow(), s.HiddenRow());
}

struct Step {
    const char* what;
    int command; // a mode, or 10 + a tab index for a tab chosen
    int changed;
    int mode;
    int tab;
};

} // namespace

TEST(ViewModeState, StartsOnTheEditingViewAlone) {
    const CViewModeState s;
    ExpectMode(s, VIEW_MODE_METADATA, 0);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_EDIT);
    EXPECT_EQ(s.SplitEditHeight(), 300);
}

TEST(ViewModeState, CommandsAndTabsWalkTheStateTable) {
    const Step steps[] = {
        {"Meta-data again does nothing", VIEW_MODE_METADATA, 0, VIEW_MODE_METADATA, 0},
        {"tab Meta-data again does nothing", 10, 0, VIEW_MODE_METADATA, 0},
        {"tab Web page", 11, 1, VIEW_MODE_WEBPAGE, 1},
        {"Web page again does nothing", VIEW_MODE_WEBPAGE, 0, VIEW_MODE_WEBPAGE, 1},
        {"split keeps the tab it had", VIEW_MODE_SPLIT, 1, VIEW_MODE_SPLIT, 1},
        {"split again does nothing", VIEW_MODE_SPLIT, 0, VIEW_MODE_SPLIT, 1},
        {"Meta-data from split selects tab 0", VIEW_MODE_METADATA, 1, VIEW_MODE_METADATA, 0},
        {"split from Meta-data", VIEW_MODE_SPLIT, 1, VIEW_MODE_SPLIT, 0},
        {"Web page from split selects tab 1", VIEW_MODE_WEBPAGE, 1, VIEW_MODE_WEBPAGE, 1},
        {"tab Meta-data", 10, 1, VIEW_MODE_METADATA, 0},
        {"any tab past the first is the web page", 17, 1, VIEW_MODE_WEBPAGE, 1},
        {"no such mode", 5, 0, VIEW_MODE_WEBPAGE, 1},
    };
    CViewModeState s;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const int changed =
            step.command >= 10 ? s.SelectTab(step.command - 10) : s.SetViewMode(step.command);
        EXPECT_EQ(changed, step.changed);
        ExpectMode(s, step.mode, step.tab);
    }
}

TEST(ViewModeState, HidingTheActiveViewActivatesTheOther) {
    CViewModeState s;
    s.SetActiveRow(VIEW_ROW_PREVIEW); // hidden: stays on the editing view
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_EDIT);
    s.SetViewMode(VIEW_MODE_WEBPAGE);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_PREVIEW);
    s.SetViewMode(VIEW_MODE_SPLIT);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_PREVIEW); // both shown: the focus decides
    s.SetActiveRow(VIEW_ROW_EDIT);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_EDIT);
    s.SetActiveRow(7);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_EDIT);
    s.SetViewMode(VIEW_MODE_WEBPAGE);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_PREVIEW);
    s.SetViewMode(VIEW_MODE_METADATA);
    EXPECT_EQ(s.ActiveRow(), VIEW_ROW_EDIT);
}

TEST(ViewModeState, SavedHeightsComeBackAndDamagedStatesAreIgnored) {
    CViewModeState saved;
    saved.SetSplitEditHeight(420);
    saved.SetSplitEditHeight(0); // no height: ignored
    saved.SetSplitEditHeight(-5);
    const QByteArray state = saved.SaveState();

    CViewModeState restored;
    EXPECT_EQ(restored.RestoreState(state), 1);
    EXPECT_EQ(restored.SplitEditHeight(), 420);

    CViewModeState zero;
    zero.SetSplitEditHeight(1);
    QByteArray zeroHeight = zero.SaveState();
    zeroHeight[zeroHeight.size() - 1] = 0; // the height's last byte: now 0

    const QByteArray damaged[] = {
        QByteArray(),
        QByteArray("garbage"),
        state.left(state.size() - 1),
        QByteArray(state).replace(0, 1, "X"),
        zeroHeight,
    };
    for (const QByteArray& bad : damaged) {
        CViewModeState s;
        s.SetSplitEditHeight(250);
        EXPECT_EQ(s.RestoreState(bad), 0) << bad.toHex().constData();
        EXPECT_EQ(s.SplitEditHeight(), 250);
    }
}
