#include "site/site_row.h"

#include "page/html_page.h"

CSiteRow ReadSiteRow(std::string path, std::string& text, const PageStamp& stamp,
                     const std::vector<QString>& names, const CSiteAudit* measure) {
    CSiteRow row;
    const CPageHead head(text);
    const CHtmlPage& page = head.Page();
    row.values.Read(head.Bytes(), page, names);
    row.audit = AuditPage(std::move(path), page, row.values.codec);
    // One copy of each text: the audit's share the values' (they are equal).
    if (row.audit.title == row.values.title)
        row.audit.title = row.values.title;
    if (const CPageMetaValue* description = row.values.FindMeta(QStringLiteral("description"));
        description && description->content == row.audit.description)
        row.audit.description = description->content;
    if (measure)
        measure->Measure(row.audit);
    row.stamp = stamp;
    return row;
}

CSiteRow UnreadSiteRow(std::string path, std::string error, const PageStamp& stamp) {
    CSiteRow row;
    row.audit.path = std::move(path);
    row.audit.error = error.empty() ? std::string("not read") : std::move(error);
    row.stamp = stamp;
    return row;
}
