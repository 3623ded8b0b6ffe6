#include "assistants/options_preview_page.h"

namespace {

ScriptScope ScopeOf(const CPreviewSettings& preview, const std::string& project) {
    if (preview.m_bScriptsThisRun)
        return ScriptScope::ThisRun;
    if (!project.empty() && preview.IsScriptFolder(project))
        return ScriptScope::Project;
    return ScriptScope::Never;
}

} // namespace

CPreviewOptionsPage::CPreviewOptionsPage(CAppSettings& app, std::string projectDir)
    : m_app(app), m_strProject(std::move(projectDir)),
      m_scope(ScopeOf(app.m_preview, m_strProject)), m_bRemote(app.m_preview.m_bRemoteResources) {}

int CPreviewOptionsPage::OnSetActive() {
    m_bLoaded = 1;
    return 1;
}

int CPreviewOptionsPage::SetScriptScope(ScriptScope scope) {
    if (scope == ScriptScope::Project && m_strProject.empty())
        return 0;
    if (scope != m_scope) {
        m_scope = scope;
        m_bModified = 1;
    }
    return 1;
}

void CPreviewOptionsPage::SetRemoteResources(bool allowed) {
    if (allowed != m_bRemote) {
        m_bRemote = allowed;
        m_bModified = 1;
    }
}

int CPreviewOptionsPage::OnApply() {
    if (!m_bLoaded)
        return 1;
    CPreviewSettings& preview = m_app.m_preview;
    // One choice at a time: "until the program ends" or "never" also takes
    // the project off the remembered list, so that it does not come back
    // at the next start.
    preview.m_bScriptsThisRun = m_scope == ScriptScope::ThisRun;
    preview.SetScriptFolder(m_strProject, m_scope == ScriptScope::Project);
    preview.m_bRemoteResources = m_bRemote;
    m_bModified = 0;
    return 1;
}
