#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/posix/Reactor.h"

namespace vorlan::platform {

TimerOwner::~TimerOwner() { Reactor::Instance().Timers().StopAll(*this); }

void TimerOwner::StartTimer(int id, std::uint32_t periodMs) {
    Reactor::Instance().Timers().Start(*this, id, periodMs, MonotonicMs());
}

void TimerOwner::StopTimer(int id) { Reactor::Instance().Timers().Stop(*this, id); }

bool TimerOwner::IsTimerRunning(int id) const { return Reactor::Instance().Timers().IsRunning(*this, id); }

}  // namespace vorlan::platform
