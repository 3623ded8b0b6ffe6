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
    m_hiddenSize = sizes().value(index);
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
    return sizes().value(index);
}
