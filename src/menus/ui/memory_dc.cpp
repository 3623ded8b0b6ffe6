#include "menus/ui/memory_dc.h"

#include <QPaintDevice>

CMemoryDC::CMemoryDC(QPainter* target, const QRect& rect) : m_pTarget(target), m_rect(rect) {
    const qreal ratio = target->device() ? target->device()->devicePixelRatioF() : 1.0;
    // An empty rectangle still gets a painter, so that callers need not
    // check; nothing is copied at the end.
    const QSize size = rect.size().expandedTo(QSize(1, 1));
    m_pixmap = QPixmap(size * ratio);
    m_pixmap.setDevicePixelRatio(ratio);
    m_pixmap.fill(Qt::transparent);
    m_painter.begin(&m_pixmap);
    m_painter.translate(-rect.topLeft());
    m_painter.setFont(target->font());
}

CMemoryDC::~CMemoryDC() {
    m_painter.end();
    if (!m_rect.isEmpty())
        m_pTarget->drawPixmap(m_rect.topLeft(), m_pixmap);
}
