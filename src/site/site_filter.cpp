#include "site/site_filter.h"

#include "site/site_sheet.h"

bool CSiteFilter::Matches(const CSiteSheet& sheet, size_t row) const {
    switch (show) {
    case ALL:
        break;
    case WITH_FINDINGS:
        if (sheet.Audit(row).findings.empty() && sheet.State(row) == SiteRowState::CURRENT)
            return false;
        break;
    case EDITED:
        if (!sheet.HasEdits(row))
            return false;
        break;
    case CHANGED_ON_DISK:
        if (sheet.State(row) == SiteRowState::CURRENT)
            return false;
        break;
    case FINDING:
        if (!sheet.HasFinding(row, finding))
            return false;
        break;
    }
    if (text.isEmpty())
        return true;
    return sheet.Holds(row, text);
}

std::vector<CSiteFilterChoice> SiteFilterChoices() {
    std::vector<CSiteFilterChoice> choices = {
        {QStringLiteral("All pages"), CSiteFilter::ALL},
        {QStringLiteral("Pages with findings"), CSiteFilter::WITH_FINDINGS},
        {QStringLiteral("Pages changed, not saved"), CSiteFilter::EDITED},
        {QStringLiteral("Pages changed on disk"), CSiteFilter::CHANGED_ON_DISK},
    };
    for (size_t c = 0; c < AUDIT_CODE_COUNT; ++c) {
        const auto code = static_cast<AuditCode>(c);
        const std::string_view label = AuditCodeLabel(code);
        choices.push_back({QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())),
                           CSiteFilter::FINDING, code});
    }
    return choices;
}
