// CPreviewOptionsPage: the logic of the "Web page preview" options page.
//
// A page's scripts run in the preview never (the default), for the project
// folder open now (remembered), or for every page until the program ends
// (forgotten at exit). Images, style sheets and fonts from the web load
// only when allowed too. The page edits copies and hands them to the
// settings on Apply; a page never shown applies nothing.
#pragma once

#include <string>

#include "settings/app_settings.h"

enum class ScriptScope { Never, Project, ThisRun };

class CPreviewOptionsPage {
public:
    // projectDir: the project folder open now, as ScriptFolderKey gives it
    // ("" for none).
    CPreviewOptionsPage(CAppSettings& app, std::string projectDir);

    int OnSetActive();
    int IsLoaded() const { return m_bLoaded; }

    ScriptScope GetScriptScope() const { return m_scope; }
    // "For this project" needs a project folder; without one it is refused
    // (returns 0) and the choice stays.
    int SetScriptScope(ScriptScope scope);
    int IsProjectScopeEnabled() const { return m_strProject.empty() ? 0 : 1; }
    const std::string& GetProjectDir() const { return m_strProject; }

    bool GetRemoteResources() const { return m_bRemote; }
    void SetRemoteResources(bool allowed);

    int IsModified() const { return m_bModified; }
    // Gives the settings the choices. Returns 1.
    int OnApply();

private:
    CAppSettings& m_app;
    std::string m_strProject;
    ScriptScope m_scope;
    bool m_bRemote;
    int m_bLoaded = 0;
    int m_bModified = 0;
};
