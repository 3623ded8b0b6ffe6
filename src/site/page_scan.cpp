#include "site/page_scan.h"

#include <cerrno>
#include <cstring>

#include "page/page_file.h"

namespace {

constexpr size_t MAX_KEPT_BUFFER = 16 << 20;

} // namespace

std::vector<std::string>
ScanPages(const std::vector<CPageJob>& jobs,
          const std::function<std::string(size_t i, std::string& text)>& read,
          const CRunControl& control) {
    std::vector<std::string> errors(jobs.size());
    ForEachPage(
        jobs.size(),
        [&](size_t i) {
            // One buffer per thread: a page's memory serves the next page, so
            // that reading a site does not fault in fresh memory for each page.
            thread_local std::string buffer;
            const CPageJob& job = jobs[i];
            std::string why = job.error;
            if (why.empty() && ReadPageFile(job.path, buffer, why)) {
                try {
                    why = read(i, buffer);
                } catch (const std::bad_alloc&) {
                    why = std::strerror(ENOMEM);
                }
            }
            errors[i] = std::move(why);
            // A huge page's memory is not kept for the pages after it.
            if (buffer.capacity() > MAX_KEPT_BUFFER)
                std::string().swap(buffer);
        },
        control);
    return errors;
}
