#include "site/page_batch.h"

#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "document/fingerprint.h"

namespace {

// Starts workers that take pages in turn until all are taken or the run is
// stopped; each finished page is passed to finished (on the worker's thread).
// The callers' objects outlive the pool's threads: the pool is waited for
// before they go.
void StartWorkers(QThreadPool& pool, size_t count, size_t workers, std::atomic<size_t>& next,
                  const std::function<void(size_t)>& work, const CRunControl& control,
                  const std::function<void(size_t)>& finished,
                  const std::function<void()>& workerDone) {
    pool.setMaxThreadCount(static_cast<int>(workers));
    for (size_t k = 0; k < workers; ++k) {
        pool.start([count, &next, &work, &control, finished, workerDone] {
            for (size_t i; !control.StopRequested() && (i = next.fetch_add(1)) < count;) {
                work(i);
                finished(i);
            }
            EndFingerprintThread();
            workerDone();
        });
    }
}

size_t WorkersFor(size_t count, const CRunControl& control) {
    return std::max<size_t>(
        1, std::min(count, control.workers ? control.workers : BatchWorkers(count)));
}

} // namespace

size_t BatchWorkers(size_t count, bool cpuBound) {
    const int ideal = QThread::idealThreadCount();
    const size_t wanted = cpuBound ? static_cast<size_t>(std::max(ideal, 1))
                                   : static_cast<size_t>(std::clamp(2 * ideal, 2, 16));
    return std::max<size_t>(1, std::min(count, wanted));
}

size_t ForEachPage(size_t count, const std::function<void(size_t)>& work,
                   const CRunControl& control) {
    if (count == 0)
        return 0;
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    QThreadPool pool;
    StartWorkers(
        pool, count, WorkersFor(count, control), next, work, control,
        [&](size_t) { done.fetch_add(1); }, [] {});
    while (!pool.waitForDone(100)) {
        if (control.progress)
            control.progress(done.load(), count);
    }
    return count - done.load();
}

size_t RunInOrder(size_t count, const std::function<void(size_t)>& work,
                  const std::function<void(size_t)>& done, const CRunControl& control) {
    if (count == 0)
        return 0;
    enum State : char { PENDING, FINISHED };
    std::vector<State> state(count, PENDING);
    std::mutex mutex;
    std::condition_variable ready;
    size_t stoppedWorkers = 0;
    const size_t workers = WorkersFor(count, control);
    std::atomic<size_t> next{0};
    QThreadPool pool;
    StartWorkers(
        pool, count, workers, next, work, control,
        [&](size_t i) {
            {
                std::lock_guard lock(mutex);
                state[i] = FINISHED;
            }
            ready.notify_one();
        },
        [&] {
            {
                std::lock_guard lock(mutex);
                ++stoppedWorkers;
            }
            ready.notify_one();
        });
    size_t reported = 0, finished = 0, notDone = 0;
    std::unique_lock lock(mutex);
    for (;;) {
        ready.wait_for(lock, std::chrono::milliseconds(100));
        const bool stopped = stoppedWorkers == workers;
        std::vector<size_t> due;
        for (; reported < count; ++reported) {
            if (state[reported] == PENDING) {
                // Stopped early: what was done still counts.
                if (!stopped)
                    break;
                ++notDone;
                continue;
            }
            due.push_back(reported);
        }
        lock.unlock();
        for (size_t i : due)
            done(i);
        finished += due.size();
        if (control.progress)
            control.progress(finished, count);
        lock.lock();
        if (reported == count && stoppedWorkers == workers)
            break;
    }
    lock.unlock();
    pool.waitForDone();
    return notDone;
}
