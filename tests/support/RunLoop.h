#pragma once

#include "platform/EventLoop.h"

namespace vorlan::test {

// Lets the event loop run for `ms` so that a test can check that nothing more
// happens (no further notification, no timer of a stopped owner).
inline void RunLoopFor(int ms) {
    platform::EventLoop::RunUntil([] { return false; }, ms);
}

}  // namespace vorlan::test
