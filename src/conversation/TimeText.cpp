#include "conversation/TimeText.h"

namespace vorlan::conversation {
namespace {

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    if (value >= 0 && value < 10) text.insert(0, 1, '0');
    return text;
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
