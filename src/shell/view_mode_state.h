// CViewModeState: which of the page's two views the child frame shows, the
// meta-data editing view (row 0), the web page preview (row 1) or both, and
// everything that follows from it: the hidden row, the tab bar, the enabled
// and checked state of the three View commands, the active view and the
// editing view's height in the split view.
//
// The widgets apply this state; they decide nothing themselves.
#pragma once

#include <QByteArray>

// The view modes; each has one View command and, but for the split view, one tab.
inline constexpr int VIEW_MODE_METADATA = 0;
inline constexpr int VIEW_MODE_WEBPAGE = 1;
inline constexpr int VIEW_MODE_SPLIT = -1;

// The rows of the child frame's splitter.
inline constexpr int VIEW_ROW_EDIT = 0;
inline constexpr int VIEW_ROW_PREVIEW = 1;

class CViewModeState {
public:
    // The height the editing view starts with in the split view; the preview
    // takes the rest.
    static constexpr int IDEAL_EDIT_HEIGHT = 300;
    static constexpr int IDEAL_PREVIEW_HEIGHT = 100;

    // The View command of mode. Returns 1 when the mode changed, 0 when the
    // command is disabled (mode is the current one) or mode is no mode.
    int SetViewMode(int mode);
    // A tab chosen on the tab bar: tab 0 is the meta-data view, any other the
    // web page.
    int SelectTab(int index) {
        return SetViewMode(index == 0 ? VIEW_MODE_METADATA : VIEW_MODE_WEBPAGE);
    }

    int GetViewMode() const { return m_nViewMode; }
    int IsSplit() const { return m_bSplit; }
    // The command of the current mode is disabled and checked, the others
    // enabled and unchecked.
    bool IsCommandEnabled(int mode) const { return mode != m_nViewMode; }
    bool IsCommandChecked(int mode) const { return mode == m_nViewMode; }

    // The row taken out of the splitter, -1 in the split view.
    int HiddenRow() const;
    int IsTabBarShown() const { return m_bSplit ? 0 : 1; }
    // The tab shown selected; in the split view the tab bar is hidden and
    // keeps the tab it had.
    int SelectedTab() const { return m_nTab; }

    // The view that last had the focus; a hidden row is never the active one,
    // so hiding it makes the other row active.
    int ActiveRow() const { return m_nActiveRow; }
    void SetActiveRow(int row);

    // The editing view's height in the split view: the ideal height until the
    // user drags the splitter bar or a saved state is restored.
    int SplitEditHeight() const { return m_nSplitEditHeight; }
    void SetSplitEditHeight(int height);
    // The heights as the main window keeps them in its settings. RestoreState
    // returns 0 and changes nothing for a state it did not write.
    QByteArray SaveState() const;
    int RestoreState(const QByteArray& state);

private:
    int m_bSplit = 0;
    int m_nViewMode = VIEW_MODE_METADATA;
    int m_nTab = 0;
    int m_nActiveRow = VIEW_ROW_EDIT;
    int m_nSplitEditHeight = IDEAL_EDIT_HEIGHT;
};
