#include "conversation/TimeText.h"

namespace vorlan::conversation {
namespace {

// Built whole rather than by inserting a '0' in front: GCC 12 at -O3 reports a
// false -Wrestrict for the insertion.
std::string TwoDigits(int value) {
    if (value >= 0 && value < 10) return std::string{'0', static_cast<char>('0' + value)};
    return std::to_string(value);
}

}  // namespace

std::string TimePrefix(const platform::LocalTime& time, bool timestampsOn) {
    if (!timestampsOn) return {};
    return "[" + TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + "] ";
}

std::string LogTimestamp(const platform::LocalTime& time) {
    return TwoDigits(time.day) + "." + TwoDigits(time.month) + "." + std::to_string(time.year) + " " +
           TwoDigits(time.hour) + ":" + TwoDigits(time.minute);
}

}  // namespace vorlan::conversation
