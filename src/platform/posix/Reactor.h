#pragma once

#include <atomic>
#include <cstdint>

#include "platform/posix/DeferredQueue.h"
#include "platform/posix/SocketRegistry.h"
#include "platform/posix/TimerQueue.h"

namespace vorlan::platform {

// The program thread's event loop: one epoll set for the sockets, the timer
// queue and the deferred tasks. There is one per process, reached through
// Instance(), because the platform interface is a set of free calls.
class Reactor {
public:
    static Reactor& Instance();

    Reactor();
    ~Reactor();
    Reactor(const Reactor&) = delete;
    Reactor& operator=(const Reactor&) = delete;

    SocketRegistry& Sockets() { return sockets_; }
    TimerQueue& Timers() { return timers_; }
    DeferredQueue& Deferred() { return deferred_; }

    // Changes the epoll interest of `fd` from `oldMask` to `newMask` (0: not watched).
    void Watch(int fd, std::uint64_t handle, std::uint32_t oldMask, std::uint32_t newMask);

    // Waits at most `timeoutMs` (negative: no limit) for sockets or timers, then
    // handles what is ready: sockets, due timers, deferred tasks.
    void RunOnce(int timeoutMs);

    void RequestQuit() { quitRequested_ = true; }
    // True once after RequestQuit.
    bool TakeQuitRequest() { return quitRequested_.exchange(false); }

private:
    int WaitTimeout(int timeoutMs) const;

    int epollFd_ = -1;
    SocketRegistry sockets_;
    TimerQueue timers_;
    DeferredQueue deferred_;
    // Atomic so that a signal handler may ask the loop to stop.
    std::atomic<bool> quitRequested_{false};
};

}  // namespace vorlan::platform
