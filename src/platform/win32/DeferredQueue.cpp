#include "platform/win32/DeferredQueue.h"

#include <algorithm>

#include "platform/win32/MessageWindow.h"

namespace vorlan::platform {

DeferredQueue& DeferredQueue::ForThisThread() {
    // Never destroyed: tasks with static storage may be cancelled after thread exit handlers ran.
    thread_local DeferredQueue* queue = new DeferredQueue;
    return *queue;
}

void DeferredQueue::Schedule(DeferredTask& task) {
    if (task.scheduled_) {
        return;
    }
    task.scheduled_ = true;
    scheduled_.push_back(&task);
    PostRun();
}

void DeferredQueue::PostRun() {
    if (posted_) {
        return;
    }
    const HWND window = MessageWindow::Handle();
    posted_ = window != nullptr && PostMessageA(window, kDeferredMessage, 0, 0) != 0;
}

void DeferredQueue::Cancel(DeferredTask& task) {
    if (!task.scheduled_) {
        return;
    }
    task.scheduled_ = false;
    scheduled_.erase(std::remove(scheduled_.begin(), scheduled_.end(), &task), scheduled_.end());
    running_.erase(std::remove(running_.begin(), running_.end(), &task), running_.end());
}

void DeferredQueue::RunScheduled() {
    if (scheduled_.empty() && running_.empty()) {
        return;
    }
    running_.insert(running_.end(), scheduled_.begin(), scheduled_.end());
    scheduled_.clear();
    // A task may destroy or cancel others; those leave running_ through Cancel.
    while (!running_.empty()) {
        DeferredTask* task = running_.front();
        running_.pop_front();
        task->scheduled_ = false;
        task->OnDeferred();
    }
}

DeferredTask::DeferredTask() = default;

DeferredTask::~DeferredTask() { DeferredQueue::ForThisThread().Cancel(*this); }

void DeferredTask::ScheduleDeferred() { DeferredQueue::ForThisThread().Schedule(*this); }

}  // namespace vorlan::platform
