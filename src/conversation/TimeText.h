#pragma once

#include <string>

#include "platform/Clock.h"

namespace vorlan::conversation {

// "[09:05] " in chat views when timestamps are on, else "".
std::string TimePrefix(const platform::LocalTime& time, bool timestampsOn);

// "05.12.2026 09:05": the date and time in log lines, whatever the option says.
std::string LogTimestamp(const platform::LocalTime& time);

}  // namespace vorlan::conversation
