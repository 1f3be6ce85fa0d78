// Timers, deferred tasks, the loop itself and the clock.
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "RecordingSocket.h"
#include "platform/Clock.h"

namespace vorlan::test {
namespace {

using platform::EventLoop;

class RecordingTimers : public platform::TimerOwner {
public:
    std::vector<int> fired;
    std::function<void(int id)> onTimer;  // runs after the id is recorded; may destroy this owner
    int CountOf(int id) const { return static_cast<int>(std::count(fired.begin(), fired.end(), id)); }

protected:
    void OnTimer(int id) override {
        fired.push_back(id);
        if (auto hook = onTimer) hook(id);
    }
};

class CountingTask : public platform::DeferredTask {
public:
    int runs = 0;
    std::function<void()> onRun;

protected:
    void OnDeferred() override {
        ++runs;
        if (auto hook = onRun) hook();
    }
};

TEST(TimerContract, TimersFireWithTheirIdsUntilStoppedAndARestartReplaces) {
    RecordingTimers timers;
    timers.StartTimer(1, 5);
    timers.StartTimer(2, 15);
    timers.StartTimer(7, 60000);
    timers.StartTimer(7, 5);  // the new period counts, not the old one
    EXPECT_TRUE(timers.IsTimerRunning(1));
    EXPECT_FALSE(timers.IsTimerRunning(3));
    ASSERT_TRUE(Until([&] { return timers.CountOf(1) >= 3 && timers.CountOf(2) >= 1 && timers.CountOf(7) >= 2; }));
    for (int id : timers.fired) EXPECT_TRUE(id == 1 || id == 2 || id == 7) << id;
    timers.StopTimer(1);
    timers.StopTimer(7);  // one stop ends it: there was only one timer 7
    EXPECT_FALSE(timers.IsTimerRunning(1) || timers.IsTimerRunning(7));
    const int ones = timers.CountOf(1), sevens = timers.CountOf(7), twos = timers.CountOf(2);
    ASSERT_TRUE(Until([&] { return timers.CountOf(2) >= twos + 2; }));
    EXPECT_EQ(std::pair(timers.CountOf(1), timers.CountOf(7)), std::pair(ones, sevens));
    timers.StopTimer(2);
    timers.StopTimer(2);  // stopping twice is harmless
}

TEST(TimerContract, HandlersMayStopRestartOrDestroyAndADestroyedOwnerHearsNothing) {
    RecordingTimers stopper, restarter, witness;
    stopper.onTimer = [&](int id) {
        if (stopper.CountOf(id) == 3) stopper.StopTimer(id);
    };
    stopper.StartTimer(1, 2);
    restarter.onTimer = [&](int id) {  // restarts itself with a longer period each time
        if (restarter.CountOf(id) < 3)
            restarter.StartTimer(id, 3);
        else
            restarter.StopTimer(id);
    };
    restarter.StartTimer(4, 1);
    int lost = 0;
    auto doomed = std::make_unique<RecordingTimers>();
    doomed->onTimer = [&](int) { ++lost, doomed.reset(); };  // destroyed from inside its own handler
    doomed->StartTimer(5, 1);
    doomed->StartTimer(6, 1);
    {
        RecordingTimers gone;
        gone.onTimer = [&](int) { lost += 10; };
        gone.StartTimer(1, 1);
    }
    witness.StartTimer(1, 2);
    ASSERT_TRUE(Until([&] {
        return !stopper.IsTimerRunning(1) && !restarter.IsTimerRunning(4) && !doomed && witness.CountOf(1) >= 5;
    }));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(stopper.CountOf(1), 3);
    EXPECT_EQ(restarter.CountOf(4), 3);
    EXPECT_EQ(lost, 1) << "only the doomed owner's first timer may fire";
}

TEST(DeferredTaskContract, RunsOncePerScheduleBeforeTheLoopSleepsAndNeverAfterItsEnd) {
    CountingTask task;
    task.ScheduleDeferred();
    task.ScheduleDeferred();
    EXPECT_TRUE(task.IsDeferredScheduled());
    ASSERT_TRUE(Until([&] { return task.runs > 0; }));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(task.runs, 1);
    EXPECT_FALSE(task.IsDeferredScheduled());

    RecordingTimers timers;  // scheduled from a timer: runs without waiting for anything else
    timers.onTimer = [&](int id) { timers.StopTimer(id), task.ScheduleDeferred(); };
    timers.StartTimer(1, 1);
    ASSERT_TRUE(Until([&] { return task.runs == 2; }));
    task.onRun = [&] {  // a task may schedule itself again from its own run
        if (task.runs < 5) task.ScheduleDeferred();
    };
    task.ScheduleDeferred();
    ASSERT_TRUE(Until([&] { return task.runs == 5; }));

    int lostRuns = 0;
    {
        CountingTask lost;
        lost.onRun = [&] { ++lostRuns; };
        lost.ScheduleDeferred();
    }
    auto victim = std::make_unique<CountingTask>();  // destroyed by another task of the same round
    victim->onRun = [&] { ++lostRuns; };
    CountingTask killer;
    killer.onRun = [&] { victim.reset(); };
    killer.ScheduleDeferred();
    victim->ScheduleDeferred();
    ASSERT_TRUE(Until([&] { return killer.runs == 1; }));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(lostRuns, 0);
    EXPECT_EQ(task.runs, 5);
}

TEST(EventLoopContract, QuitEndsRunRunUntilReportsItsConditionAndTheClockAdvances) {
    const auto start = platform::MonotonicMs();
    RecordingTimers timers;
    timers.onTimer = [](int) { EventLoop::Quit(); };
    timers.StartTimer(1, 20);
    EventLoop::Run();
    EXPECT_GE(timers.CountOf(1), 1);
    EXPECT_GE(platform::MonotonicMs(), start + 10) << "a 20 ms timer fired before 10 ms had passed";
    timers.StopTimer(1);
    EXPECT_TRUE(EventLoop::RunUntil([] { return true; }, 0));
    EXPECT_FALSE(EventLoop::RunUntil([] { return false; }, 10));

    const platform::LocalTime now = platform::Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59 && now.second >= 0 &&
                now.second <= 60);
}

}  // namespace
}  // namespace vorlan::test
