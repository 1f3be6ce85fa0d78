#include "platform/win32/TimerQueue.h"

#include "platform/win32/MessageWindow.h"

namespace vorlan::platform {

TimerQueue& TimerQueue::ForThisThread() {
    // Never destroyed: timer owners with static storage may stop after thread exit handlers ran.
    thread_local TimerQueue* queue = new TimerQueue;
    return *queue;
}

void TimerQueue::Start(TimerOwner& owner, int id, std::uint32_t periodMs) {
    const HWND window = MessageWindow::Handle();
    if (window == nullptr) {
        return;
    }
    const Key key{&owner, id};
    const auto running = eventsByTimer_.find(key);
    // SetTimer with the event of a running timer restarts it with the new period.
    const UINT_PTR event = running != eventsByTimer_.end() ? running->second : nextEvent_++;
    if (SetTimer(window, event, periodMs, nullptr) == 0) {
        Stop(owner, id);
        return;
    }
    eventsByTimer_[key] = event;
    timersByEvent_[event] = Target{&owner, id};
}

void TimerQueue::Stop(const TimerOwner& owner, int id) {
    const auto running = eventsByTimer_.find(Key{&owner, id});
    if (running == eventsByTimer_.end()) {
        return;
    }
    KillTimer(MessageWindow::Handle(), running->second);
    timersByEvent_.erase(running->second);
    eventsByTimer_.erase(running);
}

void TimerQueue::StopAll(const TimerOwner& owner) {
    auto timer = eventsByTimer_.lower_bound(Key{&owner, INT_MIN});
    while (timer != eventsByTimer_.end() && timer->first.first == &owner) {
        KillTimer(MessageWindow::Handle(), timer->second);
        timersByEvent_.erase(timer->second);
        timer = eventsByTimer_.erase(timer);
    }
}

bool TimerQueue::IsRunning(const TimerOwner& owner, int id) const { return eventsByTimer_.count(Key{&owner, id}) != 0; }

void TimerQueue::Dispatch(UINT_PTR event) {
    const auto timer = timersByEvent_.find(event);
    if (timer == timersByEvent_.end()) {
        KillTimer(MessageWindow::Handle(), event);
        return;
    }
    // The handler may stop the timer or destroy its owner; nothing is touched afterwards.
    const Target target = timer->second;
    target.owner->OnTimer(target.id);
}

TimerOwner::~TimerOwner() { TimerQueue::ForThisThread().StopAll(*this); }

void TimerOwner::StartTimer(int id, std::uint32_t periodMs) { TimerQueue::ForThisThread().Start(*this, id, periodMs); }

void TimerOwner::StopTimer(int id) { TimerQueue::ForThisThread().Stop(*this, id); }

bool TimerOwner::IsTimerRunning(int id) const { return TimerQueue::ForThisThread().IsRunning(*this, id); }

}  // namespace vorlan::platform
