#include "platform/posix/DeferredQueue.h"

#include <algorithm>

#include "platform/EventLoop.h"

namespace vorlan::platform {

namespace {

void Forget(std::vector<DeferredTask*>& tasks, DeferredTask* task) {
    std::replace(tasks.begin(), tasks.end(), task, static_cast<DeferredTask*>(nullptr));
}

}  // namespace

void DeferredQueue::Schedule(DeferredTask& task) {
    if (task.scheduled_) return;
    task.scheduled_ = true;
    pending_.push_back(&task);
}

void DeferredQueue::Cancel(DeferredTask& task) {
    if (!task.scheduled_) return;
    task.scheduled_ = false;
    Forget(pending_, &task);
    for (auto* batch : running_) Forget(*batch, &task);
}

void DeferredQueue::RunPending() {
    if (pending_.empty()) return;
    std::vector<DeferredTask*> batch;
    batch.swap(pending_);
    running_.push_back(&batch);
    for (DeferredTask* task : batch) {
        if (task == nullptr) continue;
        // Cleared first so that the task may schedule itself again.
        task->scheduled_ = false;
        task->OnDeferred();
    }
    running_.pop_back();
    if (pending_.empty()) {
        // Keep the capacity for the next round.
        batch.clear();
        pending_.swap(batch);
    }
}

}  // namespace vorlan::platform
