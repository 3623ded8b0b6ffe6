#include "form/ui/form_canvas.h"

#include <QHash>
#include <QPaintEvent>
#include <QPainter>

namespace {

// The template bar's colours.
const QColor kBarFill(225, 225, 194);
const QColor kBarEdgeTopLeft(64, 64, 64);
const QColor kBarEdgeBottomRight(0, 0, 0);

// a + (b - a) * t, per component.
QColor Mix(const QColor& a, const QColor& b, double t) {
    const auto mix = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

// The colour most pixels of image have: the ground its pattern lies on.
QRgb GroundOf(const QImage& image) {
    QHash<QRgb, int> counts;
    QRgb best = 0;
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int n = ++counts[image.pixel(x, y)];
            if (n > most) {
                most = n;
                best = image.pixel(x, y);
            }
        }
    }
    return best;
}

} // namespace

CFormCanvas::Colors CFormCanvas::ColorsFor(const QPalette& palette) {
    Colors colors;
    colors.background = palette.color(QPalette::Window);
    colors.text = palette.color(QPalette::WindowText);
    // The bar's pale straw on a light window; on a dark one, a straw tint of
    // the window, which its light text stands out on.
    const bool dark = colors.background.lightness() < colors.text.lightness();
    colors.barFill = dark ? Mix(colors.background, kBarFill, 0.22) : kBarFill;
    return colors;
}

CFormCanvas::CFormCanvas(QWidget* parent)
    : QWidget(parent), m_pattern(QStringLiteral(":/images/background.png")) {
    setObjectName(QStringLiteral("formCanvas"));
    if (!m_pattern.isNull()) {
        m_pattern = m_pattern.convertToFormat(QImage::Format_RGB32);
        m_patternGround = GroundOf(m_pattern);
    }
}

const QPixmap& CFormCanvas::Pattern(const QColor& background) {
    if (m_tintedFor == background && !m_tinted.isNull())
        return m_tinted;
    // Each pixel keeps its difference from the pattern's ground, now laid
    // over the background: the same faint threads on any window colour.
    QImage tinted(m_pattern.size(), QImage::Format_RGB32);
    const int r0 = qRed(m_patternGround), g0 = qGreen(m_patternGround), b0 = qBlue(m_patternGround);
    for (int y = 0; y < m_pattern.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(m_pattern.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 0; x < m_pattern.width(); ++x)
            out[x] = qRgb(qBound(0, background.red() + qRed(in[x]) - r0, 255),
                          qBound(0, background.green() + qGreen(in[x]) - g0, 255),
                          qBound(0, background.blue() + qBlue(in[x]) - b0, 255));
    }
    m_tinted = QPixmap::fromImage(tinted);
    m_tintedFor = background;
    return m_tinted;
}

void CFormCanvas::SetPainting(Painting painting) {
    m_painting = std::move(painting);
    update();
}

void CFormCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    const Colors colors = ColorsFor(palette());
    if (m_pattern.isNull())
        painter.fillRect(area, colors.background);
    else
        painter.drawTiledPixmap(area, Pattern(colors.background), area.topLeft());

    const int edge = m_painting.frameWidth;
    if (m_painting.templateBar) {
        const QRect box = m_painting.barBox;
        painter.fillRect(box, colors.barFill);
        painter.fillRect(QRect(box.left(), box.top(), box.width(), edge), kBarEdgeTopLeft);
        painter.fillRect(QRect(box.left(), box.top(), edge, box.height()), kBarEdgeTopLeft);
        painter.fillRect(QRect(box.left(), box.bottom() - edge + 1, box.width(), edge),
                         kBarEdgeBottomRight);
        painter.fillRect(QRect(box.right() - edge + 1, box.top(), edge, box.height()),
                         kBarEdgeBottomRight);
    }

    painter.setPen(colors.text);
    const auto drawText = [&](QPoint at, const QString& text) {
        const QRect rect(at, QSize(width() - at.x(), fontMetrics().height() * 2));
        if (rect.intersects(area))
            painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    };
    for (const auto& [at, text] : m_painting.labels)
        drawText(at, text);
    if (!m_painting.headings.empty()) {
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        for (const auto& [at, text] : m_painting.headings)
            drawText(at, text);
    }
}
