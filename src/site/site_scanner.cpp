#include "site/site_scanner.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <thread>
#include <utility>

#include "site/page_scan.h"

CSiteScanner::CSiteScanner(QObject* parent)
    : QObject(parent), m_task(this), m_inbox(std::make_shared<Inbox>()) {
    m_handOver.setInterval(HAND_OVER_MS);
    connect(&m_handOver, &QTimer::timeout, this, &CSiteScanner::HandOver);
    connect(&m_task, &CSiteTask::progress, this, &CSiteScanner::progress);
    connect(&m_task, &CSiteTask::finished, this, [this](bool cancelled) {
        m_handOver.stop();
        HandOver();
        emit finished(cancelled);
    });
}

std::string CSiteScanner::UnderRoot(const std::string& root, const std::string& path) {
    if (!path.starts_with(root))
        return path;
    if (root.ends_with('/'))
        return path.substr(root.size());
    if (path.size() > root.size() && path[root.size()] == '/')
        return path.substr(root.size() + 1);
    return path;
}

bool CSiteScanner::Scan(const std::string& root, const std::string& fileTypes,
                        std::vector<QString> metaNames) {
    return Start(root, fileTypes, std::move(metaNames), nullptr);
}

bool CSiteScanner::Refresh(const std::string& root, const std::string& fileTypes,
                           std::vector<QString> metaNames,
                           std::unordered_map<std::string, PageStamp> known) {
    return Start(root, fileTypes, std::move(metaNames),
                 std::make_shared<std::unordered_map<std::string, PageStamp>>(std::move(known)));
}

bool CSiteScanner::Start(const std::string& root, const std::string& fileTypes,
                         std::vector<QString> metaNames,
                         std::shared_ptr<std::unordered_map<std::string, PageStamp>> known) {
    if (m_task.IsRunning())
        return false;
    {
        std::lock_guard lock(m_inbox->mutex);
        m_inbox->rows.clear();
        m_inbox->gone.clear();
    }
    std::shared_ptr<Inbox> inbox = m_inbox;
    std::shared_ptr<const CSiteAudit> audit = m_audit;
    const bool started = m_task.Start([=](const CRunControl& control) {
        // One thread lists the folders while this one reads what is listed,
        // so that the first pages are read while the tree is still listed.
        struct Feed {
            std::mutex mutex;
            std::condition_variable more;
            std::deque<CPageJob> jobs;
            bool listed = false;
            size_t total = 0;
        } feed;
        std::thread lister([&] {
            CPageSetOptions options;
            options.fileTypes = fileTypes;
            options.recursive = true;
            CPageWalker walker(options);
            walker.SetStop([&] { return control.StopRequested(); });
            walker.Stream(root, [&](std::vector<CPageJob>&& folder) {
                if (known) {
                    // Only what is new or changed is read again.
                    std::erase_if(folder, [&](const CPageJob& job) {
                        const auto it = known->find(UnderRoot(root, job.path));
                        if (it == known->end())
                            return false;
                        const bool same = job.error.empty() && it->second == job.stamp;
                        known->erase(it);
                        return same;
                    });
                }
                std::lock_guard lock(feed.mutex);
                feed.total += folder.size();
                feed.jobs.insert(feed.jobs.end(), std::make_move_iterator(folder.begin()),
                                 std::make_move_iterator(folder.end()));
                feed.more.notify_one();
            });
            std::lock_guard lock(feed.mutex);
            feed.listed = true;
            feed.more.notify_one();
        });
        size_t done = 0;
        size_t chunk = FIRST_CHUNK;
        for (;;) {
            std::vector<CPageJob> jobs;
            bool listed = false;
            size_t total = 0;
            {
                std::unique_lock lock(feed.mutex);
                feed.more.wait(lock, [&] { return !feed.jobs.empty() || feed.listed; });
                while (!feed.jobs.empty() && jobs.size() < chunk) {
                    jobs.push_back(std::move(feed.jobs.front()));
                    feed.jobs.pop_front();
                }
                listed = feed.listed && feed.jobs.empty();
                total = feed.total;
            }
            if (jobs.empty() || control.StopRequested())
                break;
            chunk = std::min(chunk * 2, LAST_CHUNK);
            std::vector<std::string> names(jobs.size());
            for (size_t i = 0; i < jobs.size(); ++i)
                names[i] = UnderRoot(root, jobs[i].path);
            CRunControl reading;
            reading.stopRequested = control.stopRequested;
            reading.progress = [&](size_t d, size_t) {
                if (control.progress)
                    control.progress(done + d, listed ? total : 0);
            };
            const std::vector<std::string> errors = ScanPages(
                jobs,
                [&](size_t i, std::string& text) {
                    CSiteRow row =
                        ReadSiteRow(names[i], text, jobs[i].stamp, metaNames, audit.get());
                    std::lock_guard lock(inbox->mutex);
                    inbox->rows.push_back(std::move(row));
                    return std::string();
                },
                reading);
            // A page not reached because the run was stopped is left out; one
            // that could not be read shows why.
            {
                std::lock_guard lock(inbox->mutex);
                for (size_t i = 0; i < jobs.size(); ++i) {
                    if (!errors[i].empty())
                        inbox->rows.push_back(UnreadSiteRow(names[i], errors[i], jobs[i].stamp));
                }
            }
            done += jobs.size();
        }
        lister.join();
        if (control.progress)
            control.progress(done, feed.total);
        if (known && !control.StopRequested()) {
            std::lock_guard lock(inbox->mutex);
            for (auto& [path, stamp] : *known)
                inbox->gone.push_back(path);
        }
    });
    if (started)
        m_handOver.start();
    return started;
}

void CSiteScanner::HandOver() {
    bool any = false;
    {
        std::lock_guard lock(m_inbox->mutex);
        any = !m_inbox->rows.empty() || !m_inbox->gone.empty();
    }
    if (any)
        emit rowsReady();
}

std::vector<CSiteRow> CSiteScanner::TakeRows() {
    std::lock_guard lock(m_inbox->mutex);
    return std::exchange(m_inbox->rows, {});
}

std::vector<std::string> CSiteScanner::TakeGone() {
    std::lock_guard lock(m_inbox->mutex);
    return std::exchange(m_inbox->gone, {});
}
