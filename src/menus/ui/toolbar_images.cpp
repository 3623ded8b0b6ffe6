#include "menus/ui/toolbar_images.h"

#include <QPixmap>

QList<QIcon> ToolbarImagesFromStrip(const QImage& strip, int imageWidth) {
    QList<QIcon> icons;
    if (strip.isNull() || imageWidth <= 0)
        return icons;
    QImage image = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = image.pixel(0, 0) | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == mask)
                line[x] = 0;
        }
    }
    for (int i = 0; i < image.width() / imageWidth; ++i)
        icons.append(
            QIcon(QPixmap::fromImage(image.copy(i * imageWidth, 0, imageWidth, image.height()))));
    return icons;
}

QList<QIcon> LoadToolbarImages(const QString& path, int imageWidth) {
    return ToolbarImagesFromStrip(QImage(path), imageWidth);
}
