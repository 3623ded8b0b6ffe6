#include "image_strip.h"

#include <QPixmap>

namespace {

// The images of strip, masked, as CutImageStrip describes; null pixmaps
// stand in for those it lacks.
QList<QPixmap> CutPixmaps(const QImage& strip, int count, int width) {
    QList<QPixmap> pixmaps;
    if (width <= 0)
        return pixmaps;
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
    pixmaps.reserve(wanted);
    for (int i = 0; i < wanted; ++i) {
        if (i < whole)
            pixmaps.append(QPixmap::fromImage(image.copy(i * width, 0, width, image.height())));
        else
            pixmaps.append(QPixmap());
    }
    return pixmaps;
}

} // namespace

QList<QIcon> CutImageStrip(const QImage& strip, int count, int width) {
    QList<QIcon> icons;
    for (const QPixmap& pixmap : CutPixmaps(strip, count, width))
        icons.append(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    return icons;
}

QList<QIcon> LoadImageStrip(const QString& path, int count) {
    const QImage strip(path);
    QList<QIcon> icons = CutImageStrip(strip, count);
    QString twinPath = path;
    if (strip.isNull() || !twinPath.endsWith(QLatin1String(".png")))
        return icons;
    twinPath.insert(twinPath.size() - 4, QLatin1String("@2x"));
    const QImage twin(twinPath);
    // A twin that does not match its strip would show other pictures.
    if (twin.isNull() || twin.width() != 2 * strip.width() || twin.height() != 2 * strip.height())
        return icons;
    const QList<QPixmap> big = CutPixmaps(twin, icons.size(), 2 * STRIP_IMAGE_WIDTH);
    for (qsizetype i = 0; i < icons.size(); ++i) {
        if (!icons[i].isNull() && !big[i].isNull())
            icons[i].addPixmap(big[i]);
    }
    return icons;
}
