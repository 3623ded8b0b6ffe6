#include "site/table_export.h"

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

#include "page/html_page.h"
#include "site/csv_table.h"
#include "site/page_scan.h"
#include "site/site_page.h"

bool ExportTable(const std::vector<CPageJob>& jobs, const std::vector<std::string>& names,
                 CSiteColumns& columns, const CRunControl& control, std::string& csv,
                 std::vector<CExportFailure>& failures) {
    const std::vector<QString> wanted = columns.MetaNames();
    std::vector<std::optional<CPageValues>> pages(jobs.size());
    const std::vector<std::string> errors = ScanPages(
        jobs,
        [&](size_t i, std::string& text) {
            CHtmlPage page;
            ReadPageHead(page, text);
            pages[i].emplace();
            pages[i]->Read(text, page, wanted);
            return std::string();
        },
        control);
    // A table of the pages read so far would pass for the whole site.
    if (control.StopRequested())
        return false;
    // The columns in the order their names are met, page by page.
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (!errors[i].empty())
            pages[i].reset();
        else if (pages[i])
            columns.AddMetas(*pages[i]);
    }
    csv.clear();
    failures.clear();
    AppendCsvRow(csv, columns.HeaderCells());
    for (size_t i = 0; i < jobs.size(); ++i) {
        if (pages[i])
            AppendCsvRow(csv, columns.RowCells(names.empty() ? jobs[i].path : names[i], *pages[i]));
        else
            failures.push_back({i, errors[i].empty() ? std::string("not read") : errors[i]});
    }
    return true;
}

std::string ExportTargetRefusal(const CPageWalker& walker, const std::string& target) {
    const auto isPageName = [&](const std::string& path) {
        const size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        return walker.IsPageName(name) || name.ends_with(".mtpl");
    };
    std::string real; // where a symbolic link leads
    if (char* resolved = ::realpath(target.c_str(), nullptr)) {
        real = resolved;
        std::free(resolved);
    }
    struct stat info;
    if (::stat(target.c_str(), &info) == 0 &&
        walker.Holds({static_cast<unsigned long long>(info.st_dev),
                      static_cast<unsigned long long>(info.st_ino)}))
        return "is one of the pages exported";
    if (isPageName(target) || (!real.empty() && isPageName(real)))
        return "is a web page by its name";
    return {};
}
