#include "suggestions/common_words.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr char kFileName[] = "common_words.txt";

// The executable's folder, also when no application object exists yet.
QString ExecutableDir() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    const QFileInfo exe(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    return exe.exists() ? exe.absolutePath() : QString();
}

} // namespace

std::string BuildCommonWords(std::string_view fileText) {
    std::string words = " ";
    words.reserve(fileText.size() + 2);
    size_t start = 0;
    while (start < fileText.size()) {
        size_t end = fileText.find('\n', start);
        const size_t next = end == std::string_view::npos ? fileText.size() : end + 1;
        if (end == std::string_view::npos)
            end = fileText.size();
        else if (end > start && fileText[end - 1] == '\r')
            --end; // a "\r\n" line end
        words.append(fileText.substr(start, end - start));
        words += ' ';
        start = next;
    }
    return words;
}

int LoadCommonWordsFile(const QString& path, std::string& commonWords, QString& error) {
    commonWords.clear();
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("Is a directory");
        return 0;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return 0;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return 0;
    }
    commonWords = BuildCommonWords(std::string_view(bytes.constData(), bytes.size()));
    return 1;
}

std::string LoadCommonWords() {
    std::string words;
    QString error;
    const QString besideExe = ExecutableDir();
    if (!besideExe.isEmpty() &&
        LoadCommonWordsFile(QDir(besideExe).filePath(kFileName), words, error))
        return words;
    if (LoadCommonWordsFile(QDir(QStringLiteral(TSLE_DATA_DIR)).filePath(kFileName), words, error))
        return words;
    return {};
}
