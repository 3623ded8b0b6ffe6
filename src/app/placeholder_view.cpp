#include "app/placeholder_view.h"

CTesselView::CTesselView(CTesselDoc&, IProfile&, CAppSettings&, QWidget* parent)
    : QScrollArea(parent) {
    setObjectName(QStringLiteral("tesselView"));
    setAccessibleName(QStringLiteral("Meta-data"));
}

void CTesselView::ToggleDisplayAll() {
    m_bDisplayAll = !m_bDisplayAll;
    emit commandStatesChanged();
}
