// CRecentFileList: the most recently opened or saved files, newest first.
//
// Stored in the profile section "Recent File List" as "File1" (newest) to
// "File6"; paths are written as the file system's bytes, so any name reads
// back unchanged. Empty slots are written as "" and skipped when read.
#pragma once

#include <QString>
#include <QStringList>

class IProfile;

inline constexpr int RECENT_FILE_COUNT = 6;
inline constexpr int RECENT_FILE_DISPLAY_LENGTH = 30;

class CRecentFileList {
public:
    // Puts path first; an entry already in the list moves up, the oldest
    // falls off when the list is full. Paths are compared exactly.
    void Add(const QString& path);
    void Remove(int index);
    int GetSize() const { return static_cast<int>(m_files.size()); }
    QString At(int index) const { return m_files.value(index); }
    const QStringList& Files() const { return m_files; }

    void ReadList(const IProfile& profile);
    void WriteList(IProfile& profile) const;

    // The name the File menu shows for entry index: the path, or when it is
    // longer than maxLength, the root, "..." and as many of the last folders as
    // fit before the file name, which is always shown whole. A path inside the
    // home folder starts with "~".
    QString GetDisplayName(int index, int maxLength = RECENT_FILE_DISPLAY_LENGTH) const;

    // The shortening of GetDisplayName for any path and home folder.
    static QString AbbreviatePath(const QString& path, const QString& home, int maxLength);

private:
    QStringList m_files;
};
