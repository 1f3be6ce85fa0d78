#pragma once

#include <cstdint>
#include <functional>

namespace vorlan::platform {

// The one event loop of the program thread. On Windows it is the thread's
// message queue (a modal dialog may pump it); on POSIX a poll loop.
class EventLoop {
public:
    // Handles what is ready, waiting at most `timeoutMs` for something to be ready.
    static void RunOnce(int timeoutMs);
    // Runs until Quit is called.
    static void Run();
    static void Quit();
    // Runs until `done` returns true or `timeoutMs` passed; returns done().
    // Meant for tests and tools that drive the loop themselves.
    static bool RunUntil(const std::function<bool()>& done, int timeoutMs);
};

// Work that should run once the loop has handled the notifications that are
// already waiting, before it sleeps again (for example flushing write queues so
// that replies produced by one batch of notifications leave together).
class DeferredTask {
public:
    DeferredTask();
    virtual ~DeferredTask();  // a pending run is cancelled
    DeferredTask(const DeferredTask&) = delete;
    DeferredTask& operator=(const DeferredTask&) = delete;

    // Asks for one run of OnDeferred; asking again before it ran changes nothing.
    void ScheduleDeferred();
    bool IsDeferredScheduled() const { return scheduled_; }

protected:
    virtual void OnDeferred() = 0;

private:
    friend class DeferredQueue;
    bool scheduled_ = false;
};

// Timers identified by (owner, id), as the program's windows own them.
// Starting an id that runs already replaces it (new period, counted from now).
class TimerOwner {
public:
    TimerOwner() = default;
    virtual ~TimerOwner();  // stops every timer of this owner
    TimerOwner(const TimerOwner&) = delete;
    TimerOwner& operator=(const TimerOwner&) = delete;

    void StartTimer(int id, std::uint32_t periodMs);
    void StopTimer(int id);
    bool IsTimerRunning(int id) const;

protected:
    virtual void OnTimer(int id) = 0;

private:
    friend class TimerQueue;
};

}  // namespace vorlan::platform
