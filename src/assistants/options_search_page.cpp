#include "assistants/options_search_page.h"

#include <algorithm>
#include <utility>

#include "document/template_variables.h"

namespace {

int* LimitOf(CSearchLimits& limits, SearchLimit limit) {
    switch (limit) {
    case SearchLimit::TITLE_FONT:
        return &limits.m_nTitleFontPx;
    case SearchLimit::TITLE:
        return &limits.m_nTitlePx;
    case SearchLimit::DESCRIPTION_FONT:
        return &limits.m_nDescriptionFontPx;
    case SearchLimit::DESCRIPTION:
        return &limits.m_nDescriptionPx;
    case SearchLimit::DESCRIPTION_MOBILE:
        return &limits.m_nDescriptionMobilePx;
    }
    return &limits.m_nTitlePx;
}

} // namespace

CSearchOptionsPage::CSearchOptionsPage(CAppSettings& app, std::string projectDir)
    : m_app(app), m_strProject(std::move(projectDir)) {}

int CSearchOptionsPage::OnSetActive() {
    if (m_bLoaded)
        return 1;
    m_limits = m_app.m_searchLimits;
    m_strSite = QString::fromStdString(m_app.m_projectSites.SiteOf(m_strProject));
    m_bLoaded = 1;
    return 1;
}

int CSearchOptionsPage::GetLimit(SearchLimit limit) const {
    return *LimitOf(const_cast<CSearchLimits&>(m_limits), limit);
}

void CSearchOptionsPage::SetLimit(SearchLimit limit, int px) {
    px = std::clamp(px, 1, 10000);
    int* value = LimitOf(m_limits, limit);
    if (*value != px) {
        *value = px;
        m_bModified = 1;
    }
}

void CSearchOptionsPage::RestoreDefaults() {
    m_limits = CSearchLimits();
    m_bModified = 1;
}

void CSearchOptionsPage::SetSiteText(const QString& text) {
    if (!HasProject() || text == m_strSite)
        return;
    m_strSite = text;
    m_bModified = 1;
}

int CSearchOptionsPage::OnApply(QString& error) {
    if (!m_bLoaded)
        return 1;
    QString address;
    if (HasProject() && !m_strSite.trimmed().isEmpty() &&
        !NormalizeSiteAddress(m_strSite, address, error))
        return 0;
    m_app.m_searchLimits = m_limits;
    if (HasProject()) {
        m_app.m_projectSites.SetSite(m_strProject, address.toStdString());
        m_strSite = address;
    }
    m_bModified = 0;
    return 1;
}
