// CProjectSites: the address each project's pages are published under
// ("https://example.org"), set per project folder in the options: the
// search-result preview shows it, and the template variable {site} gives it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IProfile;

struct CProjectSites {
    // (project folder, site address): folders as ScriptFolderKey gives them
    // (absolute, clean, UTF-8), addresses as NormalizeSiteAddress makes them.
    std::vector<std::pair<std::string, std::string>> m_sites;

    // The address of the project folder, "" when none is set.
    std::string SiteOf(std::string_view folder) const;
    // Sets (or with "" removes) the address of the project folder.
    void SetSite(std::string_view folder, std::string_view address);
    // The innermost project folder with an address that holds file (an
    // absolute, clean path), or "".
    std::string ProjectOf(std::string_view file) const;
};

// In the profile's "User" section, one project a line: folder, a tab, address.
void LoadProjectSites(const IProfile& profile, CProjectSites& sites);
void SaveProjectSites(IProfile& profile, const CProjectSites& sites);
