// CPreviewSettings: what a page shown in the web page preview may do.
//
// A page's scripts run only where the user allowed them: for a project folder
// (stored in the profile) or for every page until the program ends (never
// stored). Images, style sheets and fonts from the web (http and https) load
// only when the user allowed them too. Nothing here lets a page read local
// files or reach the network otherwise; the preview's request policy
// (shell/preview_request_policy.h) enforces that.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

class IProfile;

// A project folder as the settings store and compare it: absolute, clean, as
// UTF-8; "" for none.
std::string ScriptFolderKey(const QString& folder);

struct CPreviewSettings {
    // Scripts run in the preview for every page until the program ends.
    bool m_bScriptsThisRun = false;
    // The project folders (absolute, clean, no trailing "/") whose pages run
    // their scripts in the preview.
    std::vector<std::string> m_scriptFolders;
    // Images, style sheets and fonts over http and https.
    bool m_bRemoteResources = false;

    // Whether a page of the project folder projectDir ("" for none) runs its
    // scripts.
    bool ScriptsAllowed(std::string_view projectDir) const;
    bool IsScriptFolder(std::string_view folder) const;
    // Adds or removes folder from the stored list.
    void SetScriptFolder(std::string_view folder, bool allowed);
};

// The stored part (the folders and the web resources), in the profile's "User"
// section; the folders as one text, one folder a line.
void LoadPreviewSettings(const IProfile& profile, CPreviewSettings& settings);
void SavePreviewSettings(IProfile& profile, const CPreviewSettings& settings);
