#pragma once

namespace vorlan::tools {

// Ctrl+C and termination requests, noted by a signal handler and read by the
// loop. The standard signal() is used so that a Windows console build gets
// Ctrl+C (as SIGINT) the same way.
class StopRequest {
public:
    static void InstallHandlers();
    static bool IsRequested();
};

}  // namespace vorlan::tools
