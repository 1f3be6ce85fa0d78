#include "platform/win32/TimerQueue.h"

#include <climits>
#include <vector>

#include "platform/win32/MessageWindow.h"

namespace vorlan::platform {

namespace {

// A timer this close to its due time counts as due: WM_TIMER follows another
// clock and may come a little early.
constexpr std::uint64_t kEarlyUs = 1000;

std::uint64_t NowUs() {
    static const std::uint64_t frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return static_cast<std::uint64_t>(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
    return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

}  // namespace

TimerQueue& TimerQueue::ForThisThread() {
    // Never destroyed: timer owners with static storage may stop after thread exit handlers ran.
    thread_local TimerQueue* queue = new TimerQueue;
    return *queue;
}

// Sets the timer's next due time one period from now and the window timer
// that wakes the loop then.
void TimerQueue::Arm(UINT_PTR event, Timer& timer, std::uint64_t nowUs) {
    byDue_.erase({timer.dueUs, event});
    timer.dueUs = nowUs + std::uint64_t{timer.periodMs} * 1000;
    byDue_.insert({timer.dueUs, event});
    SetTimer(MessageWindow::Handle(), event, timer.periodMs, nullptr);
}

void TimerQueue::Forget(UINT_PTR event) {
    const auto timer = timersByEvent_.find(event);
    if (timer == timersByEvent_.end()) {
        return;
    }
    KillTimer(MessageWindow::Handle(), event);
    byDue_.erase({timer->second.dueUs, event});
    eventsByTimer_.erase(Key{timer->second.owner, timer->second.id});
    timersByEvent_.erase(timer);
}

void TimerQueue::Start(TimerOwner& owner, int id, std::uint32_t periodMs) {
    const HWND window = MessageWindow::Handle();
    if (window == nullptr) {
        return;
    }
    const Key key{&owner, id};
    const auto running = eventsByTimer_.find(key);
    const UINT_PTR event = running != eventsByTimer_.end() ? running->second : nextEvent_++;
    // SetTimer with the event of a running timer restarts it with the new period.
    if (SetTimer(window, event, periodMs, nullptr) == 0) {
        Stop(owner, id);
        return;
    }
    eventsByTimer_[key] = event;
    const auto [entry, added] = timersByEvent_.try_emplace(event, Timer{&owner, id, periodMs, 0});
    if (!added) {
        byDue_.erase({entry->second.dueUs, event});
    }
    entry->second.periodMs = periodMs;
    entry->second.dueUs = NowUs() + std::uint64_t{periodMs} * 1000;
    byDue_.insert({entry->second.dueUs, event});
}

void TimerQueue::Stop(const TimerOwner& owner, int id) {
    const auto running = eventsByTimer_.find(Key{&owner, id});
    if (running != eventsByTimer_.end()) {
        Forget(running->second);
    }
}

void TimerQueue::StopAll(const TimerOwner& owner) {
    std::vector<UINT_PTR> events;
    for (auto timer = eventsByTimer_.lower_bound(Key{&owner, INT_MIN});
         timer != eventsByTimer_.end() && timer->first.first == &owner; ++timer) {
        events.push_back(timer->second);
    }
    for (const UINT_PTR event : events) {
        Forget(event);
    }
}

bool TimerQueue::IsRunning(const TimerOwner& owner, int id) const { return eventsByTimer_.count(Key{&owner, id}) != 0; }

void TimerQueue::Check(UINT_PTR event) {
    const auto timer = timersByEvent_.find(event);
    if (timer == timersByEvent_.end()) {
        KillTimer(MessageWindow::Handle(), event);
        return;
    }
    const std::uint64_t now = NowUs();
    if (timer->second.dueUs > now + kEarlyUs) {
        // Fired already at the end of a turn, or the window timer ran ahead:
        // wake again when it is really due.
        const auto ms = static_cast<UINT>((timer->second.dueUs - now + 999) / 1000);
        SetTimer(MessageWindow::Handle(), event, ms, nullptr);
    }
}

void TimerQueue::RunDue() {
    const std::uint64_t now = NowUs();
    if (byDue_.empty() || byDue_.begin()->first > now + kEarlyUs) {
        return;
    }
    std::vector<UINT_PTR> due;
    for (auto timer = byDue_.begin(); timer != byDue_.end() && timer->first <= now + kEarlyUs; ++timer) {
        due.push_back(timer->second);
    }
    for (const UINT_PTR event : due) {
        // An earlier handler may have stopped, restarted or destroyed this one.
        const auto timer = timersByEvent_.find(event);
        if (timer == timersByEvent_.end() || timer->second.dueUs > now + kEarlyUs) {
            continue;
        }
        Arm(event, timer->second, now);
        // The handler may stop the timer or destroy its owner; nothing is touched afterwards.
        const Timer target = timer->second;
        target.owner->OnTimer(target.id);
    }
}

TimerOwner::~TimerOwner() { TimerQueue::ForThisThread().StopAll(*this); }

void TimerOwner::StartTimer(int id, std::uint32_t periodMs) { TimerQueue::ForThisThread().Start(*this, id, periodMs); }

void TimerOwner::StopTimer(int id) { TimerQueue::ForThisThread().Stop(*this, id); }

bool TimerOwner::IsTimerRunning(int id) const { return TimerQueue::ForThisThread().IsRunning(*this, id); }

}  // namespace vorlan::platform
