#pragma once

#include <deque>

#include "platform/EventLoop.h"

namespace vorlan::platform {

// Deferred tasks of this thread. They run at the end of the loop's turn (see
// MessageWindow), after the socket notifications that were waiting. Scheduling
// also posts one message to the hidden window, so that a loop run by a handler
// (where the outer turn has not ended) still runs them. A task scheduled while
// the tasks run waits for the next turn or message, so a task that always
// reschedules itself cannot starve the loop.
class DeferredQueue {
public:
    static DeferredQueue& ForThisThread();

    void Schedule(DeferredTask& task);
    void Cancel(DeferredTask& task);

    // Runs the tasks scheduled so far.
    void RunScheduled();
    // The hidden window took the posted kDeferredMessage off the queue.
    void NotePostedMessageTaken() { posted_ = false; }

private:
    void PostRun();

    std::deque<DeferredTask*> scheduled_;
    std::deque<DeferredTask*> running_;
    bool posted_ = false;
};

}  // namespace vorlan::platform
