// The event loop on Qt: posted work and one-shot timers run from Qt's event
// processing on the loop's thread. The timers here are due at once or far from
// due and the tests turn the event processing by hand: none waits for time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <string>
#include <thread>

#include "ui/qt/QtEventLoop.h"

namespace zeb2hart::ui {
namespace {

using std::chrono::milliseconds;

// A few turns of Qt's event processing, with the deferred deletions a running loop would do.
void turn(int times = 3)
{
    for (int i = 0; i < times; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(QtEventLoopTest, PostedWorkAndDueTimersRunFromEventProcessingOnceOthersWaitAndADestroyedLoopDropsAll)
{
    QtEventLoop loop;
    std::string posted, fired;
    loop.post([&] {
        posted += '1';
        loop.post([&] { posted += '3'; });
        posted += '2';
    });
    const auto later = loop.startTimer(std::chrono::hours(1), [&] { fired += 'h'; });
    // Beyond the range of Qt's timers: waits as long as it can rather than wrapping round to 0.
    const auto longest = loop.startTimer(milliseconds(std::int64_t{1} << 32), [&] { fired += 'l'; });
    loop.startTimer(milliseconds(0), [&] { fired += 'a'; });
    loop.startTimer(milliseconds(-5), [&] { fired += 'b'; });
    EXPECT_EQ(loop.pendingTimers(), 4u); // counted at once on the loop's thread
    EXPECT_EQ(posted + fired, "") << "work ran before the call returned";
    turn();
    std::sort(fired.begin(), fired.end());
    EXPECT_EQ(posted, "123");
    EXPECT_EQ(fired, "ab") << "a timer fired twice, or a far one fired";
    EXPECT_EQ(loop.pendingTimers(), 2u);
    for (const auto id : {later, later, longest, platform::EventLoop::TimerId{987654}}) // twice, never started: ignored
        loop.cancelTimer(id);
    EXPECT_EQ(loop.pendingTimers(), 0u);

    // A callback may start and cancel timers, also its own, which has fired already.
    int rounds = 0;
    platform::EventLoop::TimerId pending = 0;
    std::function<void()> again = [&] {
        loop.cancelTimer(pending);
        if (++rounds < 3)
            pending = loop.startTimer(milliseconds(0), again);
    };
    pending = loop.startTimer(milliseconds(0), again);
    turn(6);
    EXPECT_EQ(rounds, 3);
    EXPECT_EQ(loop.pendingTimers(), 0u);

    // A destroyed loop drops what is pending.
    bool ran = false;
    {
        QtEventLoop gone;
        gone.post([&] { ran = true; });
        gone.startTimer(milliseconds(0), [&] { ran = true; });
    }
    turn();
    EXPECT_FALSE(ran);
}

TEST(QtEventLoopTest, WorkFromAnotherThreadRunsOnTheLoopsThreadAndACancelOvertakesAQueuedStart)
{
    QtEventLoop loop;
    std::vector<QThread*> ranOn;
    platform::EventLoop::TimerId startedThere = 0;
    bool cancelledFired = false;
    std::thread worker([&] {
        loop.post([&] { ranOn.push_back(QThread::currentThread()); });
        loop.startTimer(milliseconds(0), [&] { ranOn.push_back(QThread::currentThread()); });
        // Started and cancelled before the loop's thread has seen either call.
        loop.cancelTimer(loop.startTimer(milliseconds(0), [&] { cancelledFired = true; }));
        startedThere = loop.startTimer(milliseconds(0), [&] { cancelledFired = true; });
    });
    worker.join();
    EXPECT_EQ(loop.pendingTimers(), 0u) << "a start from another thread is armed on the loop's thread";
    loop.cancelTimer(startedThere); // its start is still waiting in Qt's queue
    turn();
    EXPECT_FALSE(cancelledFired);
    EXPECT_EQ(ranOn, std::vector<QThread*>(2, QCoreApplication::instance()->thread()));
    EXPECT_EQ(loop.pendingTimers(), 0u);
}

} // namespace
} // namespace zeb2hart::ui
