// The editing view's canvas under a light and a dark desktop palette: its
// labels and the template bar's text stand out from what lies under them.
#include <QLabel>
#include <QPalette>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "form/ui/form_canvas.h"

class FormCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void labelsStandOutUnderEveryPalette_data();
    void labelsStandOutUnderEveryPalette();
};

namespace {

// The contrast ratio of two colours, 1 to 21, as accessibility guidelines
// reckon it.
double Contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) {
            v /= 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The pixel of area that differs most from ground: the core of its text.
QColor Ink(const QImage& image, const QRect& area, QColor ground) {
    QColor best = ground;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (Contrast(c, ground) > Contrast(best, ground))
                best = c;
        }
    }
    return best;
}

QPalette DarkPalette() {
    // The colours of a common dark desktop theme.
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, QColor(238, 238, 236));
    p.setColor(QPalette::Base, QColor(45, 45, 45));
    p.setColor(QPalette::Text, QColor(238, 238, 236));
    return p;
}

QPalette LightPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(246, 245, 244));
    p.setColor(QPalette::WindowText, QColor(46, 52, 54));
    return p;
}

} // namespace

void FormCanvasTest::labelsStandOutUnderEveryPalette_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << LightPalette();
    QTest::newRow("dark") << DarkPalette();
}

void FormCanvasTest::labelsStandOutUnderEveryPalette() {
    QFETCH(QPalette, palette);
    CFormCanvas canvas;
    canvas.setPalette(palette);
    canvas.resize(400, 120);
    CFormCanvas::Painting painting;
    painting.templateBar = true;
    painting.barBox = QRect(4, 4, 300, 30);
    // The bar's text is a label on the canvas, as the editing view puts it.
    auto* barLabel = new QLabel(QStringLiteral("Template - site"), &canvas);
    barLabel->move(10, 10);
    barLabel->adjustSize();
    painting.labels.emplace_back(QPoint(10, 60), QStringLiteral("Description"));
    canvas.SetPainting(painting);
    const QImage shot = canvas.grab().toImage();

    // The ground beside the label, the bar's fill beside its text.
    const QColor ground = shot.pixelColor(390, 110);
    const QColor bar = shot.pixelColor(295, 30);
    QVERIFY2(Contrast(ground, palette.color(QPalette::Window)) < 1.2,
             "the canvas follows the window colour");
    const QColor label = Ink(shot, QRect(10, 60, 120, 20), ground);
    const QColor barText = Ink(shot, QRect(10, 10, 150, 20), bar);
    QVERIFY2(Contrast(label, ground) >= 4.5,
             qPrintable(QStringLiteral("label %1 on %2").arg(label.name(), ground.name())));
    QVERIFY2(Contrast(barText, bar) >= 4.5,
             qPrintable(QStringLiteral("bar text %1 on %2").arg(barText.name(), bar.name())));
}

QTEST_MAIN(FormCanvasTest)
#include "form_canvas_test.moc"
