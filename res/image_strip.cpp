#include "image_strip.h"

#include <QPixmap>

QList<QIcon> CutImageStrip(const QImage& strip, int count, int width) {
    QList<QIcon> icons;
    if (width <= 0)
        return icons;
    QImage image;
    if (!strip.isNull()) {
        image = strip.convertToFormat(QImage::Format_ARGB32);
        // The mask colour whatever alpha the picture's format gives it.
        const QRgb mask = image.pixel(0, 0) | 0xFF000000u;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] | 0xFF000000u) == mask)
                    line[x] = 0;
            }
        }
    }
    const int whole = image.isNull() ? 0 : image.width() / width;
    const int wanted = count < 0 ? whole : count;
    icons.reserve(wanted);
    for (int i = 0; i < wanted; ++i) {
        if (i < whole)
            icons.append(
                QIcon(QPixmap::fromImage(image.copy(i * width, 0, width, image.height()))));
        else
            icons.append(QIcon());
    }
    return icons;
}
