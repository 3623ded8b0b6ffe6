#include "site/page_scan.h"

#include <QThreadPool>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include "document/fingerprint.h"
#include "page/page_file.h"

namespace {

constexpr size_t MAX_KEPT_BUFFER = 16 << 20;

// Reads the page of job and hands it to read; returns why it failed, or "".
std::string ReadJob(const CPageJob& job, size_t i, const CPageReader& read) {
    // One buffer per thread: a page's memory serves the next page, so that
    // reading a site does not fault in fresh memory for each page.
    thread_local std::string buffer;
    std::string why = job.error;
    if (why.empty() && ReadPageFile(job.path, buffer, why)) {
        try {
            why = read(i, buffer);
        } catch (const std::bad_alloc&) {
            why = std::strerror(ENOMEM);
        }
    }
    // A huge page's memory is not kept for the pages after it.
    if (buffer.capacity() > MAX_KEPT_BUFFER)
        std::string().swap(buffer);
    return why;
}

} // namespace

std::vector<std::string> ScanPages(const std::vector<CPageJob>& jobs, const CPageReader& read,
                                   const CRunControl& control) {
    std::vector<std::string> errors(jobs.size());
    ForEachPage(
        jobs.size(), [&](size_t i) { errors[i] = ReadJob(jobs[i], i, read); }, control);
    return errors;
}

std::vector<std::string> ScanListedPages(const std::function<void(const CPageSink& sink)>& list,
                                         std::vector<CPageJob>& jobs, const CPageReader& read,
                                         const CRunControl& control,
                                         const std::function<void()>& alongside) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable more;
        std::deque<CPageJob> listed; // every page listed; workers take them in turn
        std::deque<std::string> errors;
        size_t next = 0;
        size_t done = 0;
        bool listing = true;
    } s;
    const auto work = [&] {
        for (;;) {
            CPageJob job;
            size_t i = 0;
            {
                std::unique_lock lock(s.mutex);
                // Woken when pages are listed or the listing ends; a stop
                // request is seen within a tenth of a second.
                while (s.next == s.listed.size() && s.listing && !control.StopRequested())
                    s.more.wait_for(lock, std::chrono::milliseconds(100));
                if (s.next == s.listed.size() || control.StopRequested())
                    break;
                i = s.next++;
                job = s.listed[i];
            }
            std::string why = ReadJob(job, i, read);
            std::lock_guard lock(s.mutex);
            s.errors[i] = std::move(why);
            ++s.done;
        }
        EndFingerprintThread();
    };
    QThreadPool pool;
    const size_t workers = control.workers ? control.workers : BatchWorkers(SIZE_MAX);
    pool.setMaxThreadCount(static_cast<int>(workers));
    for (size_t k = 0; k < workers; ++k)
        pool.start(work);
    // The listing, on a thread of its own; what it throws is thrown here.
    std::exception_ptr failure;
    std::thread lister([&] {
        try {
            list([&](std::vector<CPageJob>&& batch) {
                if (batch.empty())
                    return;
                {
                    std::lock_guard lock(s.mutex);
                    for (CPageJob& job : batch) {
                        s.listed.push_back(std::move(job));
                        s.errors.emplace_back();
                    }
                }
                s.more.notify_all();
            });
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(s.mutex);
            s.listing = false;
        }
        s.more.notify_all();
    });
    const auto progress = [&] {
        if (!control.progress)
            return;
        size_t done = 0, total = 0;
        {
            std::lock_guard lock(s.mutex);
            done = s.done;
            total = s.listed.size();
        }
        control.progress(done, total);
    };
    std::exception_ptr failedAlongside;
    try {
        if (alongside)
            alongside();
    } catch (...) {
        failedAlongside = std::current_exception();
    }
    // The workers end when the listing has ended and every page is taken.
    while (!pool.waitForDone(100))
        progress();
    lister.join();
    progress();
    if (failure)
        std::rethrow_exception(failure);
    if (failedAlongside)
        std::rethrow_exception(failedAlongside);
    jobs.assign(std::make_move_iterator(s.listed.begin()), std::make_move_iterator(s.listed.end()));
    return {std::make_move_iterator(s.errors.begin()), std::make_move_iterator(s.errors.end())};
}
