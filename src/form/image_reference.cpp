#include "form/image_reference.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

QString ImageReference(const QString& pagePath, const QString& imageFile) {
    if (pagePath.isEmpty())
        return QUrl::fromLocalFile(QFileInfo(imageFile).absoluteFilePath())
            .toString(QUrl::FullyEncoded);
    const QDir folder = QFileInfo(pagePath).absoluteDir();
    const QString relative = folder.relativeFilePath(QFileInfo(imageFile).absoluteFilePath());
    QStringList segments = relative.split(QLatin1Char('/'));
    for (QString& segment : segments)
        segment = QString::fromLatin1(QUrl::toPercentEncoding(segment));
    return segments.join(QLatin1Char('/'));
}
