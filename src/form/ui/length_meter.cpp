#include "form/ui/length_meter.h"

#include <QPainter>
#include <algorithm>

namespace {

// The bar's width in the meter; the figures take the rest.
constexpr int kBarWidth = 60;

} // namespace

CLengthMeter::CLengthMeter(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("lengthMeter"));
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Length"));
}

void CLengthMeter::SetMeter(const CWidthMeter& meter) {
    m_meter = meter;
    m_strText = meter.Text();
    setAccessibleDescription(Text());
    setToolTip(Text());
    update();
}

void CLengthMeter::SetUnmeasured(const CWidthMeter& meter, const QString& reason) {
    m_meter = meter;
    m_meter.px = 0;
    m_meter.verdict = WidthVerdict::EMPTY; // no bar
    m_strText = QStringLiteral("%1 %2, width unknown")
                    .arg(meter.characters)
                    .arg(meter.characters == 1 ? QStringLiteral("character")
                                               : QStringLiteral("characters"));
    setAccessibleDescription(Text());
    setToolTip(reason);
    update();
}

QColor CLengthMeter::BarColor(WidthVerdict verdict) {
    switch (verdict) {
    case WidthVerdict::FITS:
        return QColor(0x2e, 0x8b, 0x3d);
    case WidthVerdict::TOO_WIDE:
        return QColor(0xc6, 0x28, 0x28);
    default:
        return QColor(0x9e, 0x9e, 0x9e);
    }
}

void CLengthMeter::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int bar = std::min(kBarWidth, width() / 3);
    const QRect textRect(0, 0, width() - bar - 6, height());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(Text(), Qt::ElideRight, textRect.width()));
    const QRect track(width() - bar, height() / 2 - 4, bar, 8);
    painter.fillRect(track, palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(track.adjusted(0, 0, -1, -1));
    const double fill = std::clamp(m_meter.Fill(), 0.0, 1.0);
    const QRect filled(track.left() + 1, track.top() + 1,
                       static_cast<int>((track.width() - 2) * fill), track.height() - 2);
    if (filled.width() > 0)
        painter.fillRect(filled, BarColor(m_meter.verdict));
}
