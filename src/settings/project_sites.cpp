#include "settings/project_sites.h"

#include <algorithm>

#include "settings/profile.h"

namespace {

constexpr std::string_view kEntry = "ProjectSites";

} // namespace

std::string CProjectSites::SiteOf(std::string_view folder) const {
    for (const auto& [f, site] : m_sites) {
        if (f == folder)
            return site;
    }
    return {};
}

void CProjectSites::SetSite(std::string_view folder, std::string_view address) {
    if (folder.empty())
        return;
    const auto it = std::find_if(m_sites.begin(), m_sites.end(),
                                 [&](const auto& entry) { return entry.first == folder; });
    if (address.empty()) {
        if (it != m_sites.end())
            m_sites.erase(it);
    } else if (it != m_sites.end()) {
        it->second = address;
    } else {
        m_sites.emplace_back(folder, address);
    }
}

std::string CProjectSites::ProjectOf(std::string_view file) const {
    std::string best;
    for (const auto& entry : m_sites) {
        const std::string& folder = entry.first;
        const bool holds = folder == "/"
                               ? file.starts_with('/')
                               : file.size() > folder.size() && file.starts_with(folder) &&
                                     file[folder.size()] == '/';
        if (holds && folder.size() > best.size())
            best = folder;
    }
    return best;
}

void LoadProjectSites(const IProfile& profile, CProjectSites& sites) {
    sites.m_sites.clear();
    const std::string text = profile.GetProfileString(PROFILE_SECTION_USER, kEntry, "");
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        const size_t tab = line.find('\t');
        // Only absolute folders with an address: a hand-edited line of
        // anything else matches no project.
        if (tab == std::string_view::npos || !line.starts_with('/') || tab + 1 == line.size())
            continue;
        sites.SetSite(line.substr(0, tab), line.substr(tab + 1));
    }
}

void SaveProjectSites(IProfile& profile, const CProjectSites& sites) {
    std::string text;
    for (const auto& [folder, site] : sites.m_sites) {
        // Neither may hold the separators of the stored form.
        if (folder.find_first_of("\t\n") != std::string::npos ||
            site.find_first_of("\t\n") != std::string::npos)
            continue;
        if (!text.empty())
            text += '\n';
        text += folder + '\t' + site;
    }
    profile.WriteProfileString(PROFILE_SECTION_USER, kEntry, text);
}
