#pragma once

#include <deque>

#include "platform/EventLoop.h"

namespace vorlan::platform {

// Deferred tasks of this thread. Scheduling posts one message to the hidden
// window; it is handled after the notifications that were queued before it,
// which is when the tasks run. A task scheduled while the tasks run waits for
// the next message, so a task that always reschedules itself cannot starve
// the loop.
class DeferredQueue {
public:
    static DeferredQueue& ForThisThread();

    void Schedule(DeferredTask& task);
    void Cancel(DeferredTask& task);

    // Entry point of the hidden window for kDeferredMessage.
    void RunScheduled();

private:
    void PostRun();

    std::deque<DeferredTask*> scheduled_;
    std::deque<DeferredTask*> running_;
    bool posted_ = false;
};

}  // namespace vorlan::platform
