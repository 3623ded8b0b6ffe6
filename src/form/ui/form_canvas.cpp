#include "form/ui/form_canvas.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

// The template bar's colours.
const QColor kBarFill(225, 225, 194);
const QColor kBarEdgeTopLeft(64, 64, 64);
const QColor kBarEdgeBottomRight(0, 0, 0);
// Behind the rows when the background picture is missing.
const QColor kPlainBackground(238, 238, 228);

} // namespace

CFormCanvas::CFormCanvas(QWidget* parent)
    : QWidget(parent), m_background(QStringLiteral(":/images/background.png")) {
    setObjectName(QStringLiteral("formCanvas"));
}

void CFormCanvas::SetPainting(Painting painting) {
    m_painting = std::move(painting);
    update();
}

void CFormCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (m_background.isNull())
        painter.fillRect(area, kPlainBackground);
    else
        painter.drawTiledPixmap(area, m_background, area.topLeft());

    const int edge = m_painting.frameWidth;
    if (m_painting.templateBar) {
        const QRect box = m_painting.barBox;
        painter.fillRect(box, kBarFill);
        painter.fillRect(QRect(box.left(), box.top(), box.width(), edge), kBarEdgeTopLeft);
        painter.fillRect(QRect(box.left(), box.top(), edge, box.height()), kBarEdgeTopLeft);
        painter.fillRect(QRect(box.left(), box.bottom() - edge + 1, box.width(), edge),
                         kBarEdgeBottomRight);
        painter.fillRect(QRect(box.right() - edge + 1, box.top(), edge, box.height()),
                         kBarEdgeBottomRight);
    }

    painter.setPen(palette().color(QPalette::WindowText));
    const auto drawText = [&](QPoint at, const QString& text) {
        const QRect rect(at, QSize(width() - at.x(), fontMetrics().height() * 2));
        if (rect.intersects(area))
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    };
    for (const auto& [at, text] : m_painting.labels)
        drawText(at, text);
}
