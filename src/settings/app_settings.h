// CAppSettings: settings that belong to the application rather than to a view.
// The application object owns one; the field list reads and writes it with
// the rest of the profile ("NormalizeHead" in "User" among them), and the
// options pages edit it.
#pragma once

#include <string>

#include "settings/file_types.h"
#include "settings/preview_settings.h"
#include "settings/project_sites.h"
#include "settings/search_limits.h"

struct CAppSettings {
    // ";"-separated "*.ext" patterns of the files that count as web pages.
    std::string m_strFileTypes{DEFAULT_FILE_TYPES};
    // "Normalize head tags on save": a save writes every tag before the body
    // in its normalized form, instead of changing only what the user changed.
    bool m_bNormalizeHead = false;
    // What pages may do in the web page preview.
    CPreviewSettings m_preview;
    // How wide titles and descriptions may be in search results.
    CSearchLimits m_searchLimits;
    // The site address of each project folder.
    CProjectSites m_projectSites;
};
