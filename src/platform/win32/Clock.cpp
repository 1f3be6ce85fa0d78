#include "platform/Clock.h"

#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

std::uint64_t MonotonicMs() { return GetTickCount64(); }

LocalTime Now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    LocalTime local;
    local.year = time.wYear;
    local.month = time.wMonth;
    local.day = time.wDay;
    local.hour = time.wHour;
    local.minute = time.wMinute;
    local.second = time.wSecond;
    return local;
}

}  // namespace vorlan::platform
