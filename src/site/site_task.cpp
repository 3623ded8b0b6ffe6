#include "site/site_task.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QTimer>

CSiteTask::CSiteTask(QObject* parent) : QObject(parent), m_shared(std::make_shared<Shared>()) {}

CSiteTask::~CSiteTask() {
    m_shared->stop = true;
    std::unique_lock lock(m_shared->mutex);
    m_shared->ended.wait(lock, [&] { return !m_shared->running; });
}

bool CSiteTask::Start(std::function<void(const CRunControl& control)> work) {
    if (m_running)
        return false;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->running = true;
    }
    m_shared->stop = false;
    m_running = true;
    std::shared_ptr<Shared> shared = m_shared;
    // The worker reaches this object only through queued calls, which the
    // destructor (waiting for the worker) keeps valid.
    CSiteTask* self = this;
    QThreadPool::globalInstance()->start([shared, self, work = std::move(work)] {
        CRunControl control;
        control.stopRequested = [shared] { return shared->stop.load(); };
        control.progress = [self](size_t done, size_t total) {
            QMetaObject::invokeMethod(
                self,
                [self, done, total] {
                    emit self->progress(static_cast<qint64>(done), static_cast<qint64>(total));
                },
                Qt::QueuedConnection);
        };
        work(control);
        std::lock_guard lock(shared->mutex);
        QMetaObject::invokeMethod(
            self, [self] { self->OnEnded(); }, Qt::QueuedConnection);
        shared->running = false;
        shared->ended.notify_all();
    });
    return true;
}

void CSiteTask::OnEnded() {
    if (!m_running)
        return;
    m_running = false;
    emit finished(m_shared->stop.load());
}

void CSiteTask::Cancel() {
    m_shared->stop = true;
}

bool CSiteTask::IsCancelled() const {
    return m_shared->stop.load();
}

void CSiteTask::Wait() {
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->ended.wait(lock, [&] { return !m_shared->running; });
    }
    // The end is reported on this thread: deliver it now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
