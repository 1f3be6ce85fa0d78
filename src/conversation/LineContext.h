#pragma once

#include <cstdint>
#include <functional>

#include "platform/Clock.h"

namespace vorlan::conversation {

// What every writer of chat lines needs from the main window: the clock, the
// "Enable timestamps" option and the two fixed colours. The owner keeps one
// and updates `timestamps` when the options change.
struct LineContext {
    // Local time; empty means platform::Now. Tests put a fixed time here.
    std::function<platform::LocalTime()> clock;
    bool timestamps = true;
    std::uint32_t textColor = 0;    // colour 5: time prefixes and chat text
    std::uint32_t noticeColor = 0;  // colour 4: the program's notices

    platform::LocalTime Now() const { return clock ? clock() : platform::Now(); }
};

}  // namespace vorlan::conversation
