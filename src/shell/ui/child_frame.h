// CChildFrame: the right-hand column of the main window. It shows the page's
// two views, the meta-data editing view above the web page preview, one at a
// time under a tab bar ("Meta-data", "Web page") or both at once in the split
// view, where the tab bar is hidden.
//
// The main window's View commands call ShowMetaData, ShowWebPage and
// ShowSplit and take their enabled and checked state from State(); Ctrl+P
// calls Print, which prints while the preview is the active view. The rules
// are CViewModeState's; this widget applies them. The mode belongs
// to the frame, not to the page, so it stays when other pages are opened.
#pragma once

#include <QByteArray>
#include <QWidget>

#include "shell/view_mode_state.h"

class CHideSplitterWnd;
class CTesselDoc;
class CPreviewPane;
class QTabBar;

class CChildFrame : public QWidget {
    Q_OBJECT

public:
    // The frame around editingView and a preview of doc (CPreviewPane).
    CChildFrame(CTesselDoc* doc, QWidget* editingView, QWidget* parent = nullptr);
    // The frame around two given views; preview stands in row 1.
    CChildFrame(QWidget* editingView, QWidget* preview, QWidget* parent);

    // The View commands; each does nothing while its mode is the current one.
    void ShowMetaData() { SetViewMode(VIEW_MODE_METADATA); }
    void ShowWebPage() { SetViewMode(VIEW_MODE_WEBPAGE); }
    void ShowSplit() { SetViewMode(VIEW_MODE_SPLIT); }

    const CViewModeState& State() const { return m_state; }
    // Whether Ctrl+P prints now: the preview is the active view and has a page.
    bool CanPrint() const;
    void Print();

    // The editing view's height in the split view, for the main window's
    // settings. RestoreState returns 0 and changes nothing for a state it did
    // not write.
    QByteArray SaveState() const { return m_state.SaveState(); }
    bool RestoreState(const QByteArray& state);

    QWidget* EditingView() const { return m_editingView; }
    QWidget* PreviewWidget() const { return m_preview; }
    // The preview as a CPreviewPane, null when another widget stands in.
    CPreviewPane* Preview() const;
    QTabBar* TabBar() const { return m_tabs; }
    CHideSplitterWnd* Splitter() const { return m_splitter; }

signals:
    // The view mode, the active view or what can be printed changed: the
    // View actions and Print follow.
    void stateChanged();

private:
    void SetViewMode(int mode);
    void OnTabSelected(int index);
    void OnFocusChanged(QWidget* now);
    void Apply();

    CViewModeState m_state;
    QWidget* m_editingView;
    QWidget* m_preview;
    CHideSplitterWnd* m_splitter;
    QTabBar* m_tabs;
};
