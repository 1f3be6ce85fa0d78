#include "platform/posix/TimerQueue.h"

#include <algorithm>
#include <limits>

#include "platform/EventLoop.h"

namespace vorlan::platform {

TimerQueue::Key TimerQueue::KeyOf(const TimerOwner& owner, int id) {
    return {reinterpret_cast<std::uintptr_t>(&owner), id};
}

void TimerQueue::Schedule(Timer& timer, const Key& key, std::uint64_t dueMs) {
    timer.scheduled = ScheduleEntry{dueMs, nextSequence_++, key};
    schedule_.insert(timer.scheduled);
}

void TimerQueue::Start(TimerOwner& owner, int id, std::uint32_t periodMs, std::uint64_t nowMs) {
    const Key key = KeyOf(owner, id);
    auto [it, inserted] = timers_.try_emplace(key);
    Timer& timer = it->second;
    if (!inserted) schedule_.erase(timer.scheduled);
    timer.owner = &owner;
    // A zero period would fire on every pass of the loop; one millisecond is the floor.
    timer.periodMs = std::max<std::uint32_t>(periodMs, 1);
    Schedule(timer, key, nowMs + timer.periodMs);
}

void TimerQueue::Stop(const TimerOwner& owner, int id) {
    auto it = timers_.find(KeyOf(owner, id));
    if (it == timers_.end()) return;
    schedule_.erase(it->second.scheduled);
    timers_.erase(it);
}

void TimerQueue::StopAll(const TimerOwner& owner) {
    const std::uintptr_t ownerKey = reinterpret_cast<std::uintptr_t>(&owner);
    auto it = timers_.lower_bound(Key{ownerKey, std::numeric_limits<int>::min()});
    while (it != timers_.end() && it->first.first == ownerKey) {
        schedule_.erase(it->second.scheduled);
        it = timers_.erase(it);
    }
}

bool TimerQueue::IsRunning(const TimerOwner& owner, int id) const { return timers_.count(KeyOf(owner, id)) != 0; }

std::optional<std::uint64_t> TimerQueue::NextDueMs() const {
    if (schedule_.empty()) return std::nullopt;
    return std::get<0>(*schedule_.begin());
}

void TimerQueue::FireDue(std::uint64_t nowMs) {
    // The next run is scheduled before the handler is called, so the handler may
    // stop or restart any timer or destroy its owner; every step looks the
    // queue up afresh. Rescheduled runs fall after `nowMs`, so this ends.
    while (!schedule_.empty()) {
        const auto [dueMs, sequence, key] = *schedule_.begin();
        if (dueMs > nowMs) break;
        schedule_.erase(schedule_.begin());
        Timer& timer = timers_.at(key);
        Schedule(timer, key, nowMs + timer.periodMs);
        timer.owner->OnTimer(key.second);
    }
}

}  // namespace vorlan::platform
