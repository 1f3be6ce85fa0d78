#include "StopRequest.h"

#include <csignal>

namespace vorlan::tools {
namespace {

// A signal handler may only set a flag of this type; it is the one piece of
// state that has to live outside any object.
volatile std::sig_atomic_t stopRequested = 0;

extern "C" void NoteStopRequest(int /*signal*/) { stopRequested = 1; }

}  // namespace

void StopRequest::InstallHandlers() {
    std::signal(SIGINT, NoteStopRequest);
    std::signal(SIGTERM, NoteStopRequest);
}

bool StopRequest::IsRequested() { return stopRequested != 0; }

}  // namespace vorlan::tools
