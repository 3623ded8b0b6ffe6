#include "shell/view_mode_state.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 STATE_MAGIC = 0x54534346; // "TSCF"
constexpr quint8 STATE_VERSION = 1;
// Heights beyond any screen come from a damaged state.
constexpr int MAX_HEIGHT = 1 << 16;

} // namespace

int CViewModeState::SetViewMode(int mode) {
    if (mode != VIEW_MODE_METADATA && mode != VIEW_MODE_WEBPAGE && mode != VIEW_MODE_SPLIT)
        return 0;
    if (mode == m_nViewMode)
        return 0;
    m_nViewMode = mode;
    m_bSplit = mode == VIEW_MODE_SPLIT ? 1 : 0;
    if (!m_bSplit) {
        m_nTab = mode;
        m_nActiveRow = mode == VIEW_MODE_METADATA ? VIEW_ROW_EDIT : VIEW_ROW_PREVIEW;
    }
    return 1;
}

int CViewModeState::HiddenRow() const {
    switch (m_nViewMode) {
    case VIEW_MODE_METADATA:
        return VIEW_ROW_PREVIEW;
    case VIEW_MODE_WEBPAGE:
        return VIEW_ROW_EDIT;
    default:
        return -1;
    }
}

void CViewModeState::SetActiveRow(int row) {
    if ((row == VIEW_ROW_EDIT || row == VIEW_ROW_PREVIEW) && row != HiddenRow())
        m_nActiveRow = row;
}

void CViewModeState::SetSplitEditHeight(int height) {
    if (height > 0 && height <= MAX_HEIGHT)
        m_nSplitEditHeight = height;
}

QByteArray CViewModeState::SaveState() const {
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << STATE_MAGIC << STATE_VERSION << qint32(m_nSplitEditHeight);
    return state;
}

int CViewModeState::RestoreState(const QByteArray& state) {
    QDataStream in(state);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint8 version = 0;
    qint32 height = 0;
    in >> magic >> version >> height;
    if (in.status() != QDataStream::Ok || magic != STATE_MAGIC || version != STATE_VERSION ||
        height <= 0 || height > MAX_HEIGHT)
        return 0;
    m_nSplitEditHeight = height;
    return 1;
}
