#include "settings/preview_settings.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "settings/profile.h"

namespace {

constexpr std::string_view kScriptFoldersEntry = "PreviewScriptFolders";
constexpr std::string_view kRemoteResourcesEntry = "PreviewRemoteResources";

} // namespace

std::string ScriptFolderKey(const QString& folder) {
    if (folder.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).toStdString();
}

bool CPreviewSettings::ScriptsAllowed(std::string_view projectDir) const {
    return m_bScriptsThisRun || (!projectDir.empty() && IsScriptFolder(projectDir));
}

bool CPreviewSettings::IsScriptFolder(std::string_view folder) const {
    return std::find(m_scriptFolders.begin(), m_scriptFolders.end(), folder) !=
           m_scriptFolders.end();
}

void CPreviewSettings::SetScriptFolder(std::string_view folder, bool allowed) {
    if (folder.empty())
        return;
    const auto found = std::find(m_scriptFolders.begin(), m_scriptFolders.end(), folder);
    if (allowed && found == m_scriptFolders.end())
        m_scriptFolders.emplace_back(folder);
    else if (!allowed && found != m_scriptFolders.end())
        m_scriptFolders.erase(found);
}

void LoadPreviewSettings(const IProfile& profile, CPreviewSettings& settings) {
    settings.m_scriptFolders.clear();
    const std::string folders =
        profile.GetProfileString(PROFILE_SECTION_USER, kScriptFoldersEntry, "");
    std::string_view rest = folders;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        // Only absolute folders: a hand-edited line of anything else matches
        // no project.
        if (const std::string_view line = rest.substr(0, end); line.starts_with('/'))
            settings.SetScriptFolder(line, true);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    settings.m_bRemoteResources =
        profile.GetProfileInt(PROFILE_SECTION_USER, kRemoteResourcesEntry, 0) != 0;
}

void SavePreviewSettings(IProfile& profile, const CPreviewSettings& settings) {
    std::string folders;
    for (const std::string& folder : settings.m_scriptFolders) {
        // A folder whose name holds a line break cannot be stored as a line.
        if (folder.find('\n') != std::string::npos)
            continue;
        if (!folders.empty())
            folders += '\n';
        folders += folder;
    }
    profile.WriteProfileString(PROFILE_SECTION_USER, kScriptFoldersEntry, folders);
    profile.WriteProfileInt(PROFILE_SECTION_USER, kRemoteResourcesEntry,
                            settings.m_bRemoteResources ? 1 : 0);
}
