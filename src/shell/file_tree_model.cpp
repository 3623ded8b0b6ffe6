#include "shell/file_tree_model.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "settings/file_types.h"

void SortNoCase(QStringList& names) {
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

int CFileTreeModel::RefreshRoot(const QString& dir) {
    if (dir.isEmpty() || dir == m_strRoot)
        return 0;
    m_strRoot = dir;
    return 1;
}

QList<CFileTreeEntry> CFileTreeModel::ListFolder(const QString& folder,
                                                 std::string_view fileTypes) {
    // Exact order first, so that the stable sort below leaves names that
    // differ only in case in a fixed order.
    const QFileInfoList infos = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    QStringList dirs;
    QStringList files;
    for (const QFileInfo& info : infos) {
        const QString name = info.fileName();
        if (info.isDir()) {
            dirs << name;
        } else if (info.isFile()) {
            const QByteArray utf8 = name.toUtf8();
            if (IsWebPageName(std::string_view(utf8.constData(), size_t(utf8.size())), fileTypes))
                files << name;
        }
        // Broken links, pipes, sockets and devices are no pages to open.
    }
    SortNoCase(dirs);
    SortNoCase(files);
    QList<CFileTreeEntry> entries;
    entries.reserve(dirs.size() + files.size());
    for (const QString& name : dirs)
        entries.append({name, FILE_TREE_IMAGE_FOLDER});
    for (const QString& name : files)
        entries.append({name, FILE_TREE_IMAGE_FILE});
    return entries;
}

QString CFileTreeModel::ItemPath(const QStringList& textsFromRoot) {
    QString path;
    for (const QString& text : textsFromRoot) {
        if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += text;
    }
    return path;
}

CFileTreeToggle CFileTreeModel::Toggle(bool expand, int image, bool isRoot,
                                       const QString& firstChild) {
    CFileTreeToggle toggle;
    toggle.nImage = image;
    if (expand) {
        if (image == FILE_TREE_IMAGE_FOLDER)
            toggle.nImage = FILE_TREE_IMAGE_FOLDER_OPEN;
        toggle.bPopulate = firstChild == QLatin1String(FILE_TREE_PLACEHOLDER) ? 1 : 0;
    } else {
        if (image == FILE_TREE_IMAGE_FOLDER_OPEN)
            toggle.nImage = FILE_TREE_IMAGE_FOLDER;
        toggle.bCancel = isRoot ? 1 : 0;
    }
    return toggle;
}
