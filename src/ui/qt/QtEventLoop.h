#pragma once
// EventLoop on Qt's event loop, for the frame window and anything else that
// runs the component inside a QApplication. Posted work and expired timers run
// on the thread that owns the loop (the thread it was created on, normally the
// GUI thread), from Qt's event processing:
//
//   auto loop = std::make_shared<ui::QtEventLoop>();
//   platform::Services services = ui::qtDialogServices();
//   services.eventLoop = loop;
//   platform::ScopedServices scope(std::move(services));
//
// post() may be called from any thread; startTimer() and cancelTimer() from
// another thread are carried over to the loop's thread in call order.

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/EventLoop.h"

class QTimer;

namespace zeb2hart::ui {

class QtEventLoop final : public platform::EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    void post(Callback callback) override;
    TimerId startTimer(std::chrono::milliseconds delay, Callback callback) override;
    void cancelTimer(TimerId id) override;
    std::chrono::milliseconds now() const override;

    // Timers started and neither fired nor cancelled (counted on the loop's thread).
    std::size_t pendingTimers() const { return m_timers.size(); }

private:
    bool onLoopThread() const;
    void armTimer(TimerId id, std::chrono::milliseconds delay, Callback callback);
    void disarmTimer(TimerId id);

    // Receives the queued work; deleting it drops whatever is still queued.
    std::unique_ptr<QObject> m_context;
    QElapsedTimer m_clock;
    std::atomic<TimerId> m_nextId{1};
    // Touched on the loop's thread only.
    std::map<TimerId, QTimer*> m_timers;
    // Timers started from another thread whose start is still queued.
    std::mutex m_queuedMutex;
    std::set<TimerId> m_queued;
};

} // namespace zeb2hart::ui
