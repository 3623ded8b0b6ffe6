#include "shell/ui/child_frame.h"

#include <QAction>
#include <QApplication>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "image_strip.h"
#include "resource_ids.h"
#include "shell/ui/hide_splitter_wnd.h"
#include "shell/ui/preview_pane.h"

namespace {

int ModeOfCommand(int id) {
    switch (id) {
    case ID_VIEW_METADATA:
        return VIEW_MODE_METADATA;
    case ID_VIEW_WEBPAGE:
        return VIEW_MODE_WEBPAGE;
    case ID_VIEW_SPLIT:
        return VIEW_MODE_SPLIT;
    default:
        return 2; // no mode
    }
}

bool IsViewCommand(int id) {
    return id == ID_VIEW_METADATA || id == ID_VIEW_WEBPAGE || id == ID_VIEW_SPLIT;
}

} // namespace

CChildFrame::CChildFrame(CTesselDoc* doc, QWidget* editingView, QWidget* parent)
    : CChildFrame(editingView, new CPreviewPane(doc), parent) {}

CChildFrame::CChildFrame(QWidget* editingView, QWidget* preview, QWidget* parent)
    : QWidget(parent), m_editingView(editingView), m_preview(preview) {
    setObjectName(QStringLiteral("child_frame"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("IDC_VIEW_TABS"));
    m_tabs->setAccessibleName(QStringLiteral("Views"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    const QList<QIcon> images = LoadImageStrip(QStringLiteral(":/images/tabs.png"), 2);
    m_tabs->addTab(images.at(0), QStringLiteral("Meta-data"));
    m_tabs->addTab(images.at(1), QStringLiteral("Web page"));
    m_tabs->setIconSize(QSize(STRIP_IMAGE_WIDTH, STRIP_IMAGE_HEIGHT));
    connect(m_tabs, &QTabBar::currentChanged, this, &CChildFrame::OnTabSelected);

    m_splitter = new CHideSplitterWnd(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("child_splitter"));
    m_splitter->addWidget(editingView);
    m_splitter->addWidget(preview);
    // A taller frame gives its room to the preview; the editing view keeps
    // the height it was given.
    m_splitter->setStretchFactor(VIEW_ROW_EDIT, 0);
    m_splitter->setStretchFactor(VIEW_ROW_PREVIEW, 1);
    m_splitter->setSizes({CViewModeState::IDEAL_EDIT_HEIGHT, CViewModeState::IDEAL_PREVIEW_HEIGHT});
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
        if (m_state.IsSplit())
            m_state.SetSplitEditHeight(m_splitter->sizes().value(VIEW_ROW_EDIT));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(1, 1, 1, 1);
    tabRow->addWidget(m_tabs);
    tabRow->addStretch(1);
    layout->addLayout(tabRow);
    layout->addWidget(m_splitter, 1);

    // A loaded page can be printed, a running print job cannot: Ctrl+P follows.
    if (CPreviewPane* web = Preview())
        connect(web, &CPreviewPane::printStateChanged, this, &CChildFrame::stateChanged);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    Apply();
}

CPreviewPane* CChildFrame::Preview() const {
    return qobject_cast<CPreviewPane*>(m_preview);
}

int CChildFrame::OnCommand(int id) {
    if (IsViewCommand(id)) {
        SetViewMode(ModeOfCommand(id));
        return 1;
    }
    if (id == ID_FILE_PRINT) {
        Print();
        return 1;
    }
    return 0;
}

int CChildFrame::IsCommandEnabled(int id) const {
    if (IsViewCommand(id))
        return m_state.IsCommandEnabled(ModeOfCommand(id));
    if (id == ID_FILE_PRINT)
        return CanPrint();
    return 0;
}

int CChildFrame::IsCommandChecked(int id) const {
    return IsViewCommand(id) ? m_state.IsCommandChecked(ModeOfCommand(id)) : 0;
}

void CChildFrame::UpdateAction(QAction* action) const {
    const int id = action->data().toInt();
    if (IsViewCommand(id)) {
        action->setCheckable(true);
        action->setChecked(IsCommandChecked(id));
    }
    action->setEnabled(IsCommandEnabled(id));
}

int CChildFrame::CanPrint() const {
    const CPreviewPane* preview = Preview();
    return preview && m_state.ActiveRow() == VIEW_ROW_PREVIEW && preview->CanPrint() ? 1 : 0;
}

void CChildFrame::Print() {
    if (CanPrint())
        Preview()->Print();
}

int CChildFrame::RestoreState(const QByteArray& state) {
    if (!m_state.RestoreState(state))
        return 0;
    if (m_state.IsSplit())
        Apply();
    return 1;
}

void CChildFrame::SetViewMode(int mode) {
    if (!m_state.SetViewMode(mode))
        return;
    Apply();
    emit stateChanged();
}

void CChildFrame::OnTabSelected(int index) {
    if (m_state.SelectTab(index)) {
        Apply();
        emit stateChanged();
    }
}

void CChildFrame::OnFocusChanged(QWidget* now) {
    if (!now)
        return;
    const int before = m_state.ActiveRow();
    if (now == m_editingView || m_editingView->isAncestorOf(now))
        m_state.SetActiveRow(VIEW_ROW_EDIT);
    else if (now == m_preview || m_preview->isAncestorOf(now))
        m_state.SetActiveRow(VIEW_ROW_PREVIEW);
    if (m_state.ActiveRow() != before) {
        setFocusProxy(m_state.ActiveRow() == VIEW_ROW_PREVIEW ? m_preview : m_editingView);
        emit stateChanged();
    }
}

void CChildFrame::Apply() {
    const int hidden = m_state.HiddenRow();
    if (m_splitter->HiddenRow() != hidden) {
        if (m_splitter->HiddenRow() >= 0)
            m_splitter->ShowRow();
        if (hidden >= 0)
            m_splitter->HideRow(hidden);
    }
    if (m_state.IsSplit())
        m_splitter->SetPaneSize(VIEW_ROW_EDIT, m_state.SplitEditHeight());
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_state.SelectedTab());
    }
    m_tabs->setVisible(m_state.IsTabBarShown());
    // A view hidden with the focus has given it to the other (CHideSplitterWnd).
    // Focus given to the frame (a neighbour pane closing, F6) goes to the
    // active view.
    setFocusProxy(m_state.ActiveRow() == VIEW_ROW_PREVIEW ? m_preview : m_editingView);
}
