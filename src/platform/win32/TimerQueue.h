#pragma once

#include <map>
#include <unordered_map>
#include <utility>

#include "platform/EventLoop.h"
#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

// Timers of this thread as SetTimer timers of the hidden window. Each (owner,
// id) pair gets an event number of its own that is never reused, so a late
// WM_TIMER of a stopped timer cannot reach a newer one.
class TimerQueue {
public:
    static TimerQueue& ForThisThread();

    void Start(TimerOwner& owner, int id, std::uint32_t periodMs);
    void Stop(const TimerOwner& owner, int id);
    void StopAll(const TimerOwner& owner);
    bool IsRunning(const TimerOwner& owner, int id) const;

    // Entry point of the hidden window for WM_TIMER.
    void Dispatch(UINT_PTR event);

private:
    using Key = std::pair<const TimerOwner*, int>;
    struct Target {
        TimerOwner* owner;
        int id;
    };

    std::map<Key, UINT_PTR> eventsByTimer_;
    std::unordered_map<UINT_PTR, Target> timersByEvent_;
    UINT_PTR nextEvent_ = 1;
};

}  // namespace vorlan::platform
