// CHideSplitterWnd: a splitter that can take one pane out of its layout and
// put it back without destroying it.
//
// A hidden pane keeps its widget, its state and the size it had; showing it
// again gives it that size back, taken from the other panes. At most one pane
// is hidden at a time. In a horizontal splitter the panes are columns
// (HideColumn, ShowColumn), in a vertical one rows (HideRow, ShowRow).
#pragma once

#include <QSplitter>

class CHideSplitterWnd : public QSplitter {
    Q_OBJECT

public:
    explicit CHideSplitterWnd(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Takes pane index out of the layout; the focus, when it was inside that
    // pane, moves to the next pane (wrapping to the first). Nothing happens
    // while another pane is hidden or when index names no pane.
    void HidePane(int index);
    // Puts the hidden pane back with the size it had; nothing when none is hidden.
    void ShowPane();
    // The hidden pane's index, -1 when none is hidden.
    int HiddenPane() const { return m_hidden; }

    void HideColumn(int column) { HidePane(column); }
    void ShowColumn() { ShowPane(); }
    int HiddenColumn() const { return m_hidden; }
    void HideRow(int row) { HidePane(row); }
    void ShowRow() { ShowPane(); }
    int HiddenRow() const { return m_hidden; }

    // The size pane index should have: at once when it is shown, else when it
    // is shown next. Before the splitter itself is first shown (and laid out
    // at its real size) the size waits for that.
    void SetPaneSize(int index, int size);
    // The pane's size: its current one, or the one it gets back when hidden.
    int PaneSize(int index) const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyWaitingSize();

    int m_hidden = -1;
    int m_hiddenSize = 0;
    // A size set before the splitter was laid out: pane and size, or -1.
    int m_waitingPane = -1;
    int m_waitingSize = 0;
};
