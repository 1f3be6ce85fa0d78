#pragma once

namespace vorlan::platform {

// Starts Winsock the first time it is called; later calls do nothing. The
// library stays initialised until the process ends.
bool EnsureWinsock();

}  // namespace vorlan::platform
