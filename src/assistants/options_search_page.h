// CSearchOptionsPage: the logic of the "Search results" options page: the
// widths at which search results cut titles and descriptions (the meters and
// previews measure against them), the site address of the project open now
// (the search preview's address line and {site}). The page edits copies and
// hands them to the settings on Apply; a page never shown applies nothing.
#pragma once

#include <QString>
#include <string>

#include "settings/app_settings.h"

enum class SearchLimit { TITLE_FONT, TITLE, DESCRIPTION_FONT, DESCRIPTION, DESCRIPTION_MOBILE };

class CSearchOptionsPage {
public:
    // projectDir: the project folder open now, as ScriptFolderKey gives it
    // ("" for none: no site address can be set).
    CSearchOptionsPage(CAppSettings& app, std::string projectDir);

    int OnSetActive();
    int IsLoaded() const { return m_bLoaded; }

    int GetLimit(SearchLimit limit) const;
    // Sizes from 1 to 10000 px, as the settings keep them; others are clamped.
    void SetLimit(SearchLimit limit, int px);
    // Back to the crawlers' defaults.
    void RestoreDefaults();

    bool HasProject() const { return !m_strProject.empty(); }
    const std::string& GetProjectDir() const { return m_strProject; }
    const QString& GetSiteText() const { return m_strSite; }
    void SetSiteText(const QString& text);

    int IsModified() const { return m_bModified; }
    // Gives the settings the values: 1; or 0 with error saying why the site
    // address is not one (nothing is applied then).
    int OnApply(QString& error);

private:
    CAppSettings& m_app;
    std::string m_strProject;
    CSearchLimits m_limits;
    QString m_strSite;
    int m_bLoaded = 0;
    int m_bModified = 0;
};
