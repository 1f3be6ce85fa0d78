#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/EventLoop.h"
#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

// Timers of this thread. Each keeps its own due time on a fine clock and fires
// at the end of the loop's first turn after it (see MessageWindow), so a queue
// that never empties does not hold it back and it is not rounded to the coarse
// steps of window timers. A SetTimer timer of the hidden window, re-armed for
// the next due time, wakes a loop that has nothing else to do. Each (owner, id)
// pair gets an event number of its own that is never reused, so a late
// WM_TIMER of a stopped timer cannot reach a newer one.
class TimerQueue {
public:
    static TimerQueue& ForThisThread();

    void Start(TimerOwner& owner, int id, std::uint32_t periodMs);
    void Stop(const TimerOwner& owner, int id);
    void StopAll(const TimerOwner& owner);
    bool IsRunning(const TimerOwner& owner, int id) const;

    // Called for WM_TIMER before RunDue: forgets a window timer that belongs
    // to no timer any more, and re-arms one that came before its timer is due.
    void Check(UINT_PTR event);
    // Fires every timer that is due, each once, earliest first.
    void RunDue();

private:
    using Key = std::pair<const TimerOwner*, int>;
    struct Timer {
        TimerOwner* owner;
        int id;
        std::uint32_t periodMs;
        std::uint64_t dueUs;
    };

    void Arm(UINT_PTR event, Timer& timer, std::uint64_t nowUs);
    void Forget(UINT_PTR event);

    std::map<Key, UINT_PTR> eventsByTimer_;
    std::unordered_map<UINT_PTR, Timer> timersByEvent_;
    std::set<std::pair<std::uint64_t, UINT_PTR>> byDue_;
    UINT_PTR nextEvent_ = 1;
};

}  // namespace vorlan::platform
