#include "ui/qt/QtEventLoop.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace zeb2hart::ui {

QtEventLoop::QtEventLoop() : m_context(std::make_unique<QObject>())
{
    m_clock.start();
}

QtEventLoop::~QtEventLoop()
{
    // The timers are children of the context and go with it, unfired.
    m_timers.clear();
    m_context.reset();
}

bool QtEventLoop::onLoopThread() const
{
    return QThread::currentThread() == m_context->thread();
}

void QtEventLoop::post(Callback callback)
{
    // Queued even on the loop's thread: the work runs after the current call has returned.
    QMetaObject::invokeMethod(
        m_context.get(), [callback = std::move(callback)] { callback(); }, Qt::QueuedConnection);
}

platform::EventLoop::TimerId QtEventLoop::startTimer(std::chrono::milliseconds delay, Callback callback)
{
    const TimerId id = m_nextId++;
    if (onLoopThread()) {
        armTimer(id, delay, std::move(callback));
        return id;
    }
    {
        const std::lock_guard lock(m_queuedMutex);
        m_queued.insert(id);
    }
    QMetaObject::invokeMethod(
        m_context.get(),
        [this, id, delay, callback = std::move(callback)]() mutable {
            {
                // A cancel on this thread may have overtaken the start.
                const std::lock_guard lock(m_queuedMutex);
                if (m_queued.erase(id) == 0)
                    return;
            }
            armTimer(id, delay, std::move(callback));
        },
        Qt::QueuedConnection);
    return id;
}

void QtEventLoop::cancelTimer(TimerId id)
{
    if (onLoopThread())
        disarmTimer(id);
    else
        QMetaObject::invokeMethod(m_context.get(), [this, id] { disarmTimer(id); }, Qt::QueuedConnection);
}

std::chrono::milliseconds QtEventLoop::now() const
{
    return std::chrono::milliseconds(m_clock.elapsed());
}

void QtEventLoop::armTimer(TimerId id, std::chrono::milliseconds delay, Callback callback)
{
    auto* timer = new QTimer(m_context.get());
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, m_context.get(), [this, id, timer, callback = std::move(callback)] {
        m_timers.erase(id);
        // The callback may start or cancel timers; this one is done either way.
        timer->deleteLater();
        callback();
    });
    m_timers.emplace(id, timer);
    timer->start(static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(delay.count(), 0, INT32_MAX)));
}

void QtEventLoop::disarmTimer(TimerId id)
{
    const auto found = m_timers.find(id);
    if (found != m_timers.end()) {
        found->second->stop();
        found->second->deleteLater();
        m_timers.erase(found);
        return;
    }
    // Not armed yet: its start is still queued from another thread.
    const std::lock_guard lock(m_queuedMutex);
    m_queued.erase(id);
}

} // namespace zeb2hart::ui
