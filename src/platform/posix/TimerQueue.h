#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

namespace vorlan::platform {

class TimerOwner;

// The running timers, by (owner, id), and the order in which they fall due.
// Both lookups are logarithmic, so a timer restarted on every message costs
// little even with a thousand connections.
class TimerQueue {
public:
    void Start(TimerOwner& owner, int id, std::uint32_t periodMs, std::uint64_t nowMs);
    void Stop(const TimerOwner& owner, int id);
    void StopAll(const TimerOwner& owner);
    bool IsRunning(const TimerOwner& owner, int id) const;

    // When the earliest timer falls due; nothing when no timer runs.
    std::optional<std::uint64_t> NextDueMs() const;
    // Calls every timer that is due at `nowMs` once and schedules its next run.
    void FireDue(std::uint64_t nowMs);

private:
    using Key = std::pair<std::uintptr_t, int>;
    using ScheduleEntry = std::tuple<std::uint64_t, std::uint64_t, Key>;  // due, sequence, key

    struct Timer {
        TimerOwner* owner = nullptr;
        std::uint32_t periodMs = 0;
        ScheduleEntry scheduled;
    };

    static Key KeyOf(const TimerOwner& owner, int id);
    void Schedule(Timer& timer, const Key& key, std::uint64_t dueMs);

    std::map<Key, Timer> timers_;
    std::set<ScheduleEntry> schedule_;
    std::uint64_t nextSequence_ = 0;
};

}  // namespace vorlan::platform
