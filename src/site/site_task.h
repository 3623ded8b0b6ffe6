// CSiteTask: one piece of whole-site work (a scan, a write, an undo, an
// export) run on a worker thread, steered and watched from the thread that
// owns the task (the window's).
//
// The site engine's calls block and call back on the thread that runs them;
// a task runs such a call on a thread of its own, stops it when asked (the
// run control's stop), and reports its progress and its end on the owner's
// thread. One piece of work at a time. The work must not touch objects of the
// owner's thread: it hands what it made over through its own captures, which
// the finished handler then reads.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "site/page_batch.h"

class CSiteTask : public QObject {
    Q_OBJECT

public:
    explicit CSiteTask(QObject* parent = nullptr);
    // Asks the work to stop and waits until it has.
    ~CSiteTask() override;

    // Runs work on a worker thread with a control that stops it after Cancel
    // and reports its progress. Returns false (and runs nothing) while other
    // work runs.
    bool Start(std::function<void(const CRunControl& control)> work);
    bool IsRunning() const { return m_running; }
    // Asks the work to stop: the pages in hand are finished, no new one is
    // started.
    void Cancel();
    bool IsCancelled() const;
    // Waits until the work has ended and its finished signal was sent (for
    // tests, and before the program ends).
    void Wait();

signals:
    // Pages done of total, now and then (total 0: not known yet).
    void progress(qint64 done, qint64 total);
    // The work has ended; cancelled: Cancel was asked for meanwhile.
    void finished(bool cancelled);

private:
    struct Shared {
        std::atomic<bool> stop{false};
        std::mutex mutex;
        std::condition_variable ended;
        bool running = false;
    };
    void OnEnded();

    std::shared_ptr<Shared> m_shared;
    bool m_running = false;
};
