// The event loop on Qt: posted work and one-shot timers run from Qt's event
// processing, on the thread that owns the loop, whoever asked for them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "ui/QtEventLoop.h"

namespace zeb2hart::ui {
namespace {

using std::chrono::milliseconds;

TEST(QtEventLoopTest, PostedWorkRunsAfterTheCallHasReturned)
{
    QtEventLoop loop;
    std::vector<int> order;
    loop.post([&] {
        order.push_back(1);
        loop.post([&] { order.push_back(3); });
        order.push_back(2);
    });
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 3; }, 1000));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(QtEventLoopTest, TimersFireOnceInTheOrderTheyAreDue)
{
    QtEventLoop loop;
    std::vector<char> fired;
    const auto start = loop.now();
    milliseconds firedAt{0};
    loop.startTimer(milliseconds(60), [&] {
        fired.push_back('a');
        firedAt = loop.now() - start;
    });
    loop.startTimer(milliseconds(10), [&] { fired.push_back('b'); });
    loop.startTimer(milliseconds(0), [&] { fired.push_back('c'); });
    EXPECT_EQ(loop.pendingTimers(), 3u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired.size() == 3; }, 2000));
    EXPECT_EQ(fired, (std::vector<char>{'c', 'b', 'a'}));
    EXPECT_GE(firedAt.count(), 59); // the loop's clock moved forward
    QTest::qWait(100);
    EXPECT_EQ(fired.size(), 3u) << "a one-shot timer fired again";
    EXPECT_EQ(loop.pendingTimers(), 0u);
}

TEST(QtEventLoopTest, CancelledTimerNeverFires)
{
    QtEventLoop loop;
    int fired = 0;
    const auto cancelled = loop.startTimer(milliseconds(20), [&] { fired += 1; });
    loop.startTimer(milliseconds(40), [&] { fired += 10; });
    loop.cancelTimer(cancelled);
    loop.cancelTimer(cancelled); // again: ignored
    loop.cancelTimer(987654);    // never started: ignored
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired != 0; }, 1000));
    QTest::qWait(60);
    EXPECT_EQ(fired, 10);
}

TEST(QtEventLoopTest, TimerCallbackMayRestartAndCancelTimers)
{
    QtEventLoop loop;
    int rounds = 0;
    platform::EventLoop::TimerId pending = 0;
    std::function<void()> again = [&] {
        ++rounds;
        loop.cancelTimer(pending); // cancelling what fired already is harmless
        if (rounds < 3)
            pending = loop.startTimer(milliseconds(5), again);
    };
    pending = loop.startTimer(milliseconds(5), again);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rounds == 3; }, 1000));
    QTest::qWait(30);
    EXPECT_EQ(rounds, 3);
}

TEST(QtEventLoopTest, WorkFromAnotherThreadRunsOnTheLoopsThread)
{
    QtEventLoop loop;
    std::atomic<int> ran{0};
    QThread* ranOn = nullptr;
    QThread* timerRanOn = nullptr;
    std::atomic<platform::EventLoop::TimerId> cancelled{0};
    std::thread worker([&] {
        loop.post([&] {
            ranOn = QThread::currentThread();
            ++ran;
        });
        loop.startTimer(milliseconds(10), [&] {
            timerRanOn = QThread::currentThread();
            ++ran;
        });
        // Started and cancelled before the loop's thread has seen either call.
        cancelled = loop.startTimer(milliseconds(5), [&] { ran += 100; });
        loop.cancelTimer(cancelled);
    });
    worker.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ran.load() >= 2; }, 1000));
    QTest::qWait(40);
    EXPECT_EQ(ran.load(), 2);
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
    EXPECT_EQ(timerRanOn, QCoreApplication::instance()->thread());
}

TEST(QtEventLoopTest, CancelOnTheLoopsThreadOvertakesAStartStillQueued)
{
    QtEventLoop loop;
    std::atomic<platform::EventLoop::TimerId> id{0};
    bool fired = false;
    std::thread worker([&] { id = loop.startTimer(milliseconds(1), [&] { fired = true; }); });
    worker.join();
    loop.cancelTimer(id); // the start is still waiting in Qt's queue
    QTest::qWait(30);
    EXPECT_FALSE(fired);
    EXPECT_EQ(loop.pendingTimers(), 0u);
}

TEST(QtEventLoopTest, DestroyedLoopDropsWhatIsPending)
{
    bool ran = false;
    {
        QtEventLoop loop;
        loop.post([&] { ran = true; });
        loop.startTimer(milliseconds(1), [&] { ran = true; });
    }
    QTest::qWait(20);
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace zeb2hart::ui
