#include "app/recent_file_list.h"

#include <QDir>
#include <QFile>
#include <string>

#include "settings/profile.h"

namespace {

constexpr std::string_view kSection = "Recent File List";

std::string Entry(int index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty())
        return;
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > RECENT_FILE_COUNT)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

void CRecentFileList::ReadList(const IProfile& profile) {
    m_files.clear();
    for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
        const std::string bytes = profile.GetProfileString(kSection, Entry(i), "");
        if (bytes.empty())
            continue;
        const QString path =
            QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        if (!m_files.contains(path))
            m_files.append(path);
    }
}

void CRecentFileList::WriteList(IProfile& profile) const {
    for (int i = 0; i < RECENT_FILE_COUNT; ++i) {
        const QByteArray bytes = i < m_files.size() ? QFile::encodeName(m_files[i]) : QByteArray();
        profile.WriteProfileString(kSection, Entry(i),
                                   std::string_view(bytes.constData(), bytes.size()));
    }
}

QString CRecentFileList::GetDisplayName(int index, int maxLength) const {
    return AbbreviatePath(At(index), QDir::homePath(), maxLength);
}

QString CRecentFileList::AbbreviatePath(const QString& path, const QString& home, int maxLength) {
    QString shown = path;
    QString root = QStringLiteral("/");
    if (!home.isEmpty() && home != QLatin1String("/") && path.startsWith(home + QLatin1Char('/'))) {
        shown = QLatin1Char('~') + path.mid(home.size());
        root = QStringLiteral("~/");
    }
    if (shown.size() <= maxLength)
        return shown;
    const qsizetype slash = shown.lastIndexOf(QLatin1Char('/'));
    const QString name = shown.mid(slash + 1);
    // Folders from the end, as many as fit between "root..." and the name.
    const QString lead = root + QStringLiteral("...");
    QString tail = QLatin1Char('/') + name;
    if (lead.size() + tail.size() > maxLength)
        return name;
    qsizetype end = slash;
    while (end > 0) {
        const qsizetype start = shown.lastIndexOf(QLatin1Char('/'), end - 1);
        if (start < 0)
            break;
        const QString folder = shown.mid(start, end - start); // "/folder"
        if (lead.size() + folder.size() + tail.size() > maxLength)
            break;
        tail.prepend(folder);
        end = start;
    }
    return lead + tail;
}
