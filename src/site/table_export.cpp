#include "site/table_export.h"

#include <atomic>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <sys/stat.h>

#include "page/html_page.h"
#include "site/csv_table.h"
#include "site/page_scan.h"
#include "site/site_page.h"

namespace {

struct CTablePage {
    CPageValues values;
    std::optional<CSiteColumns::CWidthCells> widths;
};

// Measures the pages read so far that were read before there was a measurer.
// Their readers are done with them; the container may grow meanwhile.
void MeasureUnmeasured(std::deque<std::optional<CTablePage>>& pages, std::mutex& mutex,
                       const CSiteColumns& columns, const ITextMeasurer& measurer) {
    std::vector<CTablePage*> due;
    {
        std::lock_guard lock(mutex);
        for (std::optional<CTablePage>& page : pages) {
            if (page && !page->widths)
                due.push_back(&*page);
        }
    }
    for (CTablePage* page : due)
        page->widths = columns.MeasureWidths(page->values, measurer);
}

// Makes the table of the pages read, in order; pages[i] is null for a page
// not read, with errors[i] saying why ("" when never reached).
void MakeTable(const std::vector<CPageJob>& jobs, const std::vector<std::string>& names,
               const std::vector<size_t>& order, std::deque<std::optional<CTablePage>>& pages,
               const std::vector<std::string>& errors, CSiteColumns& columns, std::string& csv,
               std::vector<CExportFailure>& failures) {
    // The columns in the order their names are met, page by page.
    for (size_t i : order) {
        if (!errors[i].empty())
            pages[i].reset();
        else if (pages[i])
            columns.AddMetas(pages[i]->values);
    }
    // The rows on several threads (their cells are text to convert and
    // quote; the columns no longer change), then joined in order.
    std::vector<std::string> rows(order.size());
    ForEachPage(order.size(), [&](size_t k) {
        if (const std::optional<CTablePage>& page = pages[order[k]])
            AppendCsvRow(rows[k],
                         columns.RowCells(names.empty() ? jobs[k].path : names[k], page->values,
                                          page->widths ? &*page->widths : nullptr));
    });
    csv.clear();
    failures.clear();
    AppendCsvRow(csv, columns.HeaderCells());
    size_t size = csv.size();
    for (const std::string& row : rows)
        size += row.size();
    csv.reserve(size);
    for (size_t k = 0; k < order.size(); ++k) {
        const size_t i = order[k];
        if (pages[i])
            csv += rows[k];
        else
            failures.push_back({k, errors[i].empty() ? std::string("not read") : errors[i]});
        std::string().swap(rows[k]);
    }
}

} // namespace

bool ExportTable(const std::vector<CPageJob>& jobs, const std::vector<std::string>& names,
                 CSiteColumns& columns, const CRunControl& control, std::string& csv,
                 std::vector<CExportFailure>& failures) {
    const std::vector<QString> wanted = columns.MetaNames();
    std::deque<std::optional<CTablePage>> pages(jobs.size());
    const std::vector<std::string> errors = ScanPages(
        jobs,
        [&](size_t i, std::string& text) {
            const CPageHead head(text);
            pages[i].emplace();
            pages[i]->values.Read(head.Bytes(), head.Page(), wanted);
            return std::string();
        },
        control);
    // A table of the pages read so far would pass for the whole site.
    if (control.StopRequested())
        return false;
    std::vector<size_t> order(jobs.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    MakeTable(jobs, names, order, pages, errors, columns, csv, failures);
    return true;
}

bool ExportListedTable(const std::function<std::vector<size_t>(const CPageSink& sink)>& list,
                       const std::function<const ITextMeasurer*()>& measurer,
                       std::vector<CPageJob>& jobs, CSiteColumns& columns,
                       const CRunControl& control, std::string& csv,
                       std::vector<CExportFailure>& failures) {
    const std::vector<QString> wanted = columns.MetaNames();
    const bool widths = columns.HasWidths();
    // The pages read, by the order listed; the container grows while pages
    // are read, so it is only touched under the lock.
    std::mutex mutex;
    std::deque<std::optional<CTablePage>> pages; // grows without moving a page
    // Set once the measurer is there; a page read before is measured after.
    std::atomic<const ITextMeasurer*> ready{widths ? columns.Measurer() : nullptr};
    std::vector<size_t> order;
    std::vector<CPageJob> listed;
    const std::vector<std::string> errors =
        ScanListedPages([&](const CPageSink& sink) { order = list(sink); }, listed,
                        [&](size_t i, std::string& text) {
                            CTablePage page;
                            {
                                const CPageHead head(text);
                                page.values.Read(head.Bytes(), head.Page(), wanted);
                            }
                            if (const ITextMeasurer* m = ready.load())
                                page.widths = columns.MeasureWidths(page.values, *m);
                            std::lock_guard lock(mutex);
                            if (pages.size() <= i)
                                pages.resize(i + 1);
                            pages[i].emplace(std::move(page));
                            return std::string();
                        },
                        control,
                        [&] {
                            // The font loads on this thread while pages are listed and read.
                            if (!widths || ready.load() || !measurer)
                                return;
                            ready.store(measurer());
                            // The pages read meanwhile are measured here while the rest are
                            // read; a page read from now on is measured by its reader.
                            if (const ITextMeasurer* m = ready.load())
                                MeasureUnmeasured(pages, mutex, columns, *m);
                        });
    if (control.StopRequested())
        return false;
    pages.resize(listed.size());
    if (const ITextMeasurer* m = ready.load())
        MeasureUnmeasured(pages, mutex, columns, *m);
    jobs.clear();
    jobs.reserve(order.size());
    for (size_t i : order)
        jobs.push_back(std::move(listed[i]));
    MakeTable(jobs, {}, order, pages, errors, columns, csv, failures);
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
