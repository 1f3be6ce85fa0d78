#pragma once

#include <cstdint>

namespace vorlan::platform {

// Milliseconds from a fixed point; never goes backwards.
std::uint64_t MonotonicMs();

struct LocalTime {
    int year = 0, month = 0, day = 0;  // month 1..12, day 1..31
    int hour = 0, minute = 0, second = 0;
};

LocalTime Now();

}  // namespace vorlan::platform
