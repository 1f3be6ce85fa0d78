#include "platform/EventLoop.h"
#include "platform/posix/Reactor.h"

namespace vorlan::platform {

DeferredTask::DeferredTask() = default;

DeferredTask::~DeferredTask() { Reactor::Instance().Deferred().Cancel(*this); }

void DeferredTask::ScheduleDeferred() { Reactor::Instance().Deferred().Schedule(*this); }

}  // namespace vorlan::platform
