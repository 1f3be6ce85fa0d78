#include "platform/posix/Reactor.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/posix/SocketBackend.h"

namespace vorlan::platform {

namespace {

constexpr int kEventsPerWait = 256;

}  // namespace

Reactor& Reactor::Instance() {
    // Never destroyed: sockets, timers and tasks that outlive main() (static
    // objects) may still unregister themselves from it.
    static Reactor& reactor = *new Reactor;
    return reactor;
}

Reactor::Reactor() : epollFd_(epoll_create1(EPOLL_CLOEXEC)) {
    if (epollFd_ < 0) {
        // Without its poll set the program cannot do anything useful.
        std::perror("epoll_create1");
        std::abort();
    }
}

Reactor::~Reactor() { close(epollFd_); }

void Reactor::Watch(int fd, std::uint64_t handle, std::uint32_t oldMask, std::uint32_t newMask) {
    if (oldMask == newMask) return;
    epoll_event event{};
    event.events = newMask;
    event.data.u64 = handle;
    if (newMask == 0) {
        epoll_ctl(epollFd_, EPOLL_CTL_DEL, fd, &event);
    } else {
        epoll_ctl(epollFd_, oldMask == 0 ? EPOLL_CTL_ADD : EPOLL_CTL_MOD, fd, &event);
    }
}

int Reactor::WaitTimeout(int timeoutMs) const {
    if (deferred_.HasPending()) return 0;
    const auto nextDue = timers_.NextDueMs();
    if (!nextDue) return timeoutMs;
    const std::uint64_t now = MonotonicMs();
    const std::uint64_t untilDue = *nextDue > now ? *nextDue - now : 0;
    const int timerWait = static_cast<int>(std::min<std::uint64_t>(untilDue, 1u << 30));
    return timeoutMs < 0 ? timerWait : std::min(timeoutMs, timerWait);
}

void Reactor::RunOnce(int timeoutMs) {
    // Local, so that a handler may run the loop again without spoiling this batch.
    epoll_event ready[kEventsPerWait];
    const int count = epoll_wait(epollFd_, ready, kEventsPerWait, WaitTimeout(timeoutMs));
    for (int i = 0; i < count; ++i) {
        SocketBackend::Dispatch(sockets_, ready[i].data.u64, ready[i].events);
    }
    if (timers_.NextDueMs()) timers_.FireDue(MonotonicMs());
    deferred_.RunPending();
}

}  // namespace vorlan::platform
