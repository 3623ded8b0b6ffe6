#include "shell/ui/hide_splitter_wnd.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

CHideSplitterWnd::CHideSplitterWnd(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    // A pane dragged to nothing would be hidden behind the program's back;
    // only HidePane hides panes.
    setChildrenCollapsible(false);
}

void CHideSplitterWnd::HidePane(int index) {
    if (m_hidden >= 0 || index < 0 || index >= count())
        return;
    QWidget* pane = widget(index);
    m_hiddenSize = PaneSize(index);
    if (m_waitingPane == index)
        m_waitingPane = -1;
    const QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = focus && (focus == pane || pane->isAncestorOf(focus));
    m_hidden = index;
    pane->hide();
    refresh(); // lay the others out now, not at the next event
    if (hadFocus && count() > 1) {
        QWidget* next = widget((index + 1) % count());
        next->setFocus(Qt::OtherFocusReason);
    }
}

void CHideSplitterWnd::ShowPane() {
    if (m_hidden < 0)
        return;
    const int index = m_hidden;
    m_hidden = -1;
    widget(index)->show();
    refresh();
    // The pane's old size back, taken from the others in proportion to theirs.
    SetPaneSize(index, m_hiddenSize);
}

void CHideSplitterWnd::SetPaneSize(int index, int size) {
    if (index < 0 || index >= count())
        return;
    if (index == m_hidden) {
        m_hiddenSize = size;
        return;
    }
    if (!isVisible()) {
        // Shares worked out now would be of a size the splitter does not have yet.
        m_waitingPane = index;
        m_waitingSize = size;
        return;
    }
    if (m_waitingPane == index)
        m_waitingPane = -1;
    QList<int> s = sizes();
    int total = 0;
    for (int i = 0; i < s.size(); ++i) {
        if (i != m_hidden)
            total += s[i];
    }
    if (total <= 0) {
        // Not laid out yet: the splitter shares the space out in these proportions.
        s[index] = size;
        setSizes(s);
        return;
    }
    const int give = std::clamp(size, 0, total);
    const int rest = total - give;
    const int othersBefore = total - s[index];
    const int others = s.size() - 1 - (m_hidden >= 0 ? 1 : 0);
    for (int i = 0; i < s.size(); ++i) {
        if (i == index || i == m_hidden)
            continue;
        // Others with no room yet share the rest evenly.
        s[i] = othersBefore > 0 ? static_cast<int>(qint64(s[i]) * rest / othersBefore)
                                : rest / std::max(others, 1);
    }
    s[index] = give;
    setSizes(s);
}

int CHideSplitterWnd::PaneSize(int index) const {
    if (index == m_hidden)
        return m_hiddenSize;
    if (index == m_waitingPane)
        return m_waitingSize;
    return sizes().value(index);
}

void CHideSplitterWnd::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    ApplyWaitingSize();
}

void CHideSplitterWnd::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    if (isVisible())
        ApplyWaitingSize();
}

void CHideSplitterWnd::ApplyWaitingSize() {
    const int index = m_waitingPane;
    m_waitingPane = -1;
    if (index >= 0 && index != m_hidden)
        SetPaneSize(index, m_waitingSize);
}
