#include "shell/ui/child_frame.h"

#include <QApplication>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "image_strip.h"
#include "shell/ui/hide_splitter_wnd.h"
#include "shell/ui/preview_pane.h"

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

bool CChildFrame::CanPrint() const {
    const CPreviewPane* preview = Preview();
    return preview && m_state.ActiveRow() == VIEW_ROW_PREVIEW && preview->CanPrint();
}

void CChildFrame::Print() {
    if (CanPrint())
        Preview()->Print();
}

bool CChildFrame::RestoreState(const QByteArray& state) {
    if (!m_state.RestoreState(state))
        return false;
    if (m_state.IsSplit())
        Apply();
    return true;
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
