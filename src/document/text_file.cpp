#include "document/text_file.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

#include "page/page_file.h"

int LoadTextFile(const QString& path, std::string& text, QString& error) {
    std::string reason;
    if (!ReadPageFile(QFile::encodeName(path).toStdString(), text, reason)) {
        text.clear();
        error = QString::fromLocal8Bit(reason);
        return 0;
    }
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) {
        text.clear();
        error = QStringLiteral("Not a text file (it contains zero bytes)");
        return 0;
    }
    error.clear();
    return 1;
}

int SaveTextFile(const QString& path, std::string_view bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return 0;
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        error = file.errorString();
        file.cancelWriting();
        return 0;
    }
    if (!file.commit()) {
        error = file.errorString();
        return 0;
    }
    error.clear();
    return 1;
}
