// Timers, deferred tasks, the loop itself and the clock.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "support/RunLoop.h"

namespace vorlan::test {
namespace {

using platform::DeferredTask;
using platform::EventLoop;
using platform::TimerOwner;

constexpr int kTimeoutMs = 5000;

constexpr int kQuietMs = 50;  // how long "nothing more happens" is watched

class RecordingTimers : public TimerOwner {
public:
    std::vector<int> fired;
    std::function<void(int id)> onTimer;  // runs after the id is recorded

    int CountOf(int id) const {
        int count = 0;
        for (int each : fired) count += each == id;
        return count;
    }

protected:
    void OnTimer(int id) override {
        fired.push_back(id);
        if (onTimer) {
            auto hook = onTimer;  // the hook may destroy this owner
            hook(id);
        }
    }
};

class CountingTask : public DeferredTask {
public:
    int runs = 0;
    std::function<void()> onRun;

protected:
    void OnDeferred() override {
        ++runs;
        if (onRun) {
            auto hook = onRun;
            hook();
        }
    }
};

TEST(TimerContract, TimersFireWithTheirIdsUntilStopped) {
    RecordingTimers timers;
    timers.StartTimer(1, 5);
    timers.StartTimer(2, 15);
    EXPECT_TRUE(timers.IsTimerRunning(1));
    EXPECT_FALSE(timers.IsTimerRunning(3));
    ASSERT_TRUE(EventLoop::RunUntil([&] { return timers.CountOf(1) >= 3 && timers.CountOf(2) >= 1; }, kTimeoutMs));
    for (int id : timers.fired) EXPECT_TRUE(id == 1 || id == 2) << id;

    timers.StopTimer(1);
    EXPECT_FALSE(timers.IsTimerRunning(1));
    const int firstCount = timers.CountOf(1);
    const int secondCount = timers.CountOf(2);
    ASSERT_TRUE(EventLoop::RunUntil([&] { return timers.CountOf(2) >= secondCount + 2; }, kTimeoutMs));
    EXPECT_EQ(timers.CountOf(1), firstCount);
    timers.StopTimer(2);
    timers.StopTimer(2);  // stopping twice is harmless
}

TEST(TimerContract, StartingARunningIdReplacesIt) {
    RecordingTimers timers;
    timers.StartTimer(7, 60000);
    timers.StartTimer(7, 5);  // the new period counts, not the old one
    ASSERT_TRUE(EventLoop::RunUntil([&] { return timers.CountOf(7) >= 2; }, kTimeoutMs));
    timers.StopTimer(7);  // one stop ends it: there was only one timer 7
    EXPECT_FALSE(timers.IsTimerRunning(7));
    const auto count = timers.fired.size();
    RunLoopFor(kQuietMs);
    EXPECT_EQ(timers.fired.size(), count);
}

TEST(TimerContract, HandlerMayStopRestartOrDestroyTimers) {
    RecordingTimers stopper;
    stopper.onTimer = [&](int id) {
        if (stopper.CountOf(id) == 3) stopper.StopTimer(id);
    };
    stopper.StartTimer(1, 2);

    RecordingTimers restarter;  // restarts itself with a longer period each time
    restarter.onTimer = [&](int id) {
        if (restarter.CountOf(id) < 3) restarter.StartTimer(id, 3);
        else restarter.StopTimer(id);
    };
    restarter.StartTimer(4, 1);

    int doomedFired = 0;
    auto doomed = std::make_unique<RecordingTimers>();
    doomed->onTimer = [&](int) {
        ++doomedFired;
        doomed.reset();  // destroys the owner from inside its own handler
    };
    doomed->StartTimer(5, 1);
    doomed->StartTimer(6, 1);

    ASSERT_TRUE(EventLoop::RunUntil(
        [&] { return !stopper.IsTimerRunning(1) && !restarter.IsTimerRunning(4) && !doomed; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(stopper.CountOf(1), 3);
    EXPECT_EQ(restarter.CountOf(4), 3);
    EXPECT_EQ(doomedFired, 1) << "the second timer of a destroyed owner must not fire";
}

TEST(TimerContract, DestroyedOwnerStopsItsTimers) {
    int goneFired = 0;
    {
        RecordingTimers gone;
        gone.onTimer = [&](int) { ++goneFired; };
        gone.StartTimer(1, 1);
        gone.StartTimer(2, 1);
    }
    RecordingTimers witness;
    witness.StartTimer(1, 2);
    ASSERT_TRUE(EventLoop::RunUntil([&] { return witness.CountOf(1) >= 5; }, kTimeoutMs));
    EXPECT_EQ(goneFired, 0);
}

TEST(DeferredTaskContract, RunsOncePerScheduleBeforeTheLoopSleeps) {
    CountingTask task;
    task.ScheduleDeferred();
    task.ScheduleDeferred();
    EXPECT_TRUE(task.IsDeferredScheduled());
    ASSERT_TRUE(EventLoop::RunUntil([&] { return task.runs > 0; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(task.runs, 1);
    EXPECT_FALSE(task.IsDeferredScheduled());

    // Scheduled from a timer: runs without waiting for anything else to happen.
    RecordingTimers timers;
    timers.onTimer = [&](int id) {
        timers.StopTimer(id);
        task.ScheduleDeferred();
    };
    timers.StartTimer(1, 1);
    ASSERT_TRUE(EventLoop::RunUntil([&] { return task.runs == 2; }, kTimeoutMs));

    // A task may schedule itself again from its own run.
    task.onRun = [&] {
        if (task.runs < 5) task.ScheduleDeferred();
    };
    task.ScheduleDeferred();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return task.runs == 5; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(task.runs, 5);
}

TEST(DeferredTaskContract, DestroyedTaskNeverRuns) {
    int lostRuns = 0;
    {
        CountingTask lost;
        lost.onRun = [&] { ++lostRuns; };
        lost.ScheduleDeferred();
    }
    // One task destroys another that is waiting in the same round.
    auto victim = std::make_unique<CountingTask>();
    victim->onRun = [&] { ++lostRuns; };
    CountingTask killer;
    killer.onRun = [&] { victim.reset(); };
    killer.ScheduleDeferred();
    victim->ScheduleDeferred();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return killer.runs == 1; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(lostRuns, 0);
}

TEST(EventLoopContract, QuitEndsRunAndRunUntilReportsItsCondition) {
    RecordingTimers timers;
    timers.onTimer = [](int) { EventLoop::Quit(); };
    timers.StartTimer(1, 1);
    EventLoop::Run();
    EXPECT_GE(timers.CountOf(1), 1);
    timers.StopTimer(1);

    EXPECT_TRUE(EventLoop::RunUntil([] { return true; }, 0));
    EXPECT_FALSE(EventLoop::RunUntil([] { return false; }, 10));
}

TEST(ClockContract, MonotonicClockAdvancesAndLocalTimeIsPlausible) {
    const auto start = platform::MonotonicMs();
    RecordingTimers timers;
    timers.StartTimer(1, 20);
    ASSERT_TRUE(EventLoop::RunUntil([&] { return !timers.fired.empty(); }, kTimeoutMs));
    const auto later = platform::MonotonicMs();
    EXPECT_GE(later, start + 10) << "a 20 ms timer fired before 10 ms had passed";

    const platform::LocalTime now = platform::Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12);
    EXPECT_TRUE(now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23);
    EXPECT_TRUE(now.minute >= 0 && now.minute <= 59);
    EXPECT_TRUE(now.second >= 0 && now.second <= 60);
}

}  // namespace
}  // namespace vorlan::test
