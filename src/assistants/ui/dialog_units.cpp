#include "assistants/ui/dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

CDialogUnits::CDialogUnits(const QWidget* widget) {
    const QFontMetrics metrics(widget->font());
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_nBaseX = (letters + 26) / 52;
    m_nBaseY = metrics.height();
}

int CDialogUnits::X(int units) const {
    return (units * m_nBaseX + 2) / 4;
}

int CDialogUnits::Y(int units) const {
    return (units * m_nBaseY + 4) / 8;
}

void CDialogUnits::SetMinimum(QWidget* widget, int width, int height) const {
    widget->setMinimumSize(widget->minimumSize().expandedTo(Size(width, height)));
}
