#include "shell/ui/image_strip.h"

#include <QImage>
#include <QPixmap>

QList<QIcon> LoadImageStrip(const QString& path, int count, int width) {
    QList<QIcon> icons;
    icons.reserve(count);
    QImage strip(path);
    if (!strip.isNull()) {
        strip = strip.convertToFormat(QImage::Format_ARGB32);
        const QRgb mask = strip.pixel(0, 0);
        for (int y = 0; y < strip.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
            for (int x = 0; x < strip.width(); ++x) {
                if (line[x] == mask)
                    line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        if (strip.isNull() || (i + 1) * width > strip.width())
            icons.append(QIcon());
        else
            icons.append(
                QIcon(QPixmap::fromImage(strip.copy(i * width, 0, width, strip.height()))));
    }
    return icons;
}
