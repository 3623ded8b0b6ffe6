#include "app/toolbar_images.h"

#include <QImage>

QList<QPixmap> LoadToolbarImages(const QString& path, int imageWidth) {
    QList<QPixmap> images;
    QImage strip(path);
    if (strip.isNull() || imageWidth <= 0)
        return images;
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = strip.pixel(0, 0);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if (line[x] == mask)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    for (int x = 0; x + imageWidth <= strip.width(); x += imageWidth)
        images.append(QPixmap::fromImage(strip.copy(x, 0, imageWidth, strip.height())));
    return images;
}
