#include "platform/EventLoop.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/posix/Reactor.h"

namespace vorlan::platform {

void EventLoop::RunOnce(int timeoutMs) { Reactor::Instance().RunOnce(timeoutMs); }

void EventLoop::Run() {
    Reactor& reactor = Reactor::Instance();
    // A Quit asked for before Run ends it at once, like a quit message already queued.
    while (!reactor.TakeQuitRequest()) reactor.RunOnce(-1);
}

void EventLoop::Quit() { Reactor::Instance().RequestQuit(); }

bool EventLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
    const std::uint64_t deadline = MonotonicMs() + static_cast<std::uint64_t>(std::max(timeoutMs, 0));
    while (!done()) {
        const std::uint64_t now = MonotonicMs();
        if (now >= deadline) return done();
        RunOnce(static_cast<int>(deadline - now));
    }
    return true;
}

}  // namespace vorlan::platform
