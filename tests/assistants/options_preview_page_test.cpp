#include "assistants/options_preview_page.h"

#include <gtest/gtest.h>

#include "settings/memory_profile.h"

namespace {

using Strings = std::vector<std::string>;

TEST(PreviewOptionsPage, ChoicesReachTheSettingsAndTheProfile) {
    CMemoryProfile profile;
    CAppSettings app;
    app.m_preview.m_scriptFolders = {"/srv/other"};

    // Scripts for the project: remembered with the other project's.
    {
        CPreviewOptionsPage page(app, "/srv/site");
        page.OnSetActive();
        EXPECT_EQ(page.GetScriptScope(), ScriptScope::Never);
        EXPECT_EQ(page.SetScriptScope(ScriptScope::Project), 1);
        page.SetRemoteResources(true);
        EXPECT_EQ(page.IsModified(), 1);
        page.OnApply();
        EXPECT_EQ(page.IsModified(), 0);
    }
    EXPECT_TRUE(app.m_preview.ScriptsAllowed("/srv/site"));
    EXPECT_FALSE(app.m_preview.ScriptsAllowed("/srv"));
    EXPECT_FALSE(app.m_preview.ScriptsAllowed(""));

    // Until the program ends: every page, the project taken off the list,
    // and nothing of it stored.
    {
        CPreviewOptionsPage page(app, "/srv/site");
        page.OnSetActive();
        EXPECT_EQ(page.GetScriptScope(), ScriptScope::Project);
        page.SetScriptScope(ScriptScope::ThisRun);
        page.OnApply();
    }
    EXPECT_TRUE(app.m_preview.ScriptsAllowed(""));
    SavePreviewSettings(profile, app.m_preview);
    CPreviewSettings stored;
    LoadPreviewSettings(profile, stored);
    EXPECT_EQ(stored.m_scriptFolders, (Strings{"/srv/other"}));
    EXPECT_FALSE(stored.m_bScriptsThisRun);

    // Without a project folder only never and until the end can be chosen;
    // never ends the run's permission.
    {
        CPreviewOptionsPage page(app, "");
        page.OnSetActive();
        EXPECT_EQ(page.GetScriptScope(), ScriptScope::ThisRun);
        EXPECT_EQ(page.IsProjectScopeEnabled(), 0);
        EXPECT_EQ(page.SetScriptScope(ScriptScope::Project), 0);
        EXPECT_EQ(page.GetScriptScope(), ScriptScope::ThisRun);
        page.SetScriptScope(ScriptScope::Never);
        page.OnApply();
    }
    EXPECT_FALSE(app.m_preview.ScriptsAllowed("/srv/site"));
    EXPECT_TRUE(app.m_preview.ScriptsAllowed("/srv/other"));
}

TEST(PreviewOptionsPage, HandEditedFolderListsReadSafely) {
    // Relative lines and empty lines match no project; a folder whose name
    // holds a line break is not stored rather than split.
    CMemoryProfile profile;
    profile.WriteProfileString(PROFILE_SECTION_USER, "PreviewScriptFolders",
                               "/srv/a\n\nrelative\n/srv/b\n/srv/a");
    CPreviewSettings settings;
    LoadPreviewSettings(profile, settings);
    EXPECT_EQ(settings.m_scriptFolders, (Strings{"/srv/a", "/srv/b"}));
    settings.SetScriptFolder("/srv/c\n/etc", true);
    SavePreviewSettings(profile, settings);
    LoadPreviewSettings(profile, settings);
    EXPECT_EQ(settings.m_scriptFolders, (Strings{"/srv/a", "/srv/b"}));
}

} // namespace
