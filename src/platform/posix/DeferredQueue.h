#pragma once

#include <vector>

namespace vorlan::platform {

class DeferredTask;

// Tasks that asked to run once the current round of notifications is handled.
class DeferredQueue {
public:
    void Schedule(DeferredTask& task);
    // Forgets a task that is being destroyed.
    void Cancel(DeferredTask& task);
    bool HasPending() const { return !pending_.empty(); }
    // Runs the tasks scheduled so far; tasks they schedule wait for the next round.
    void RunPending();

private:
    std::vector<DeferredTask*> pending_;
    // Batches being run, innermost last (a task may run the loop itself).
    std::vector<std::vector<DeferredTask*>*> running_;
};

}  // namespace vorlan::platform
