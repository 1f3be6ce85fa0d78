#pragma once

#include <optional>

namespace vorlan::app {

// The notification pop-up's geometry: where it starts beside the task bar and
// how each tick of its timers moves it. Pure functions of the screen and the
// task bar, so the window only applies them.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct PopupPlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PopupPlace&) const = default;
};

inline constexpr int kPopupWidth = 180;
inline constexpr int kPopupHeight = 116;
inline constexpr int kPopupStep = 4;               // pixels per tick
inline constexpr int kPopupTickMs = 1;             // timers 105, 107, 108
inline constexpr int kPopupRestMs = 10000;         // timer 106
inline constexpr int kPopupMarginFromRight = 198;  // x = right edge - 198

// Where a pop-up starts (0 high) on a cx × cy screen with the task bar's
// rectangle, if there is a task bar; nothing when the rules leave the
// pop-up where it is (a task bar docked neither at an edge's full length).
std::optional<PopupPlace> PopupStart(int cx, int cy, const std::optional<ScreenRect>& taskbar);

// One tick of sliding up (timer 105): the next place, and whether it has
// arrived: fully high, it settles above a task bar docked at the bottom, else
// at the bottom of the screen, in its column; the 10-second rest begins.
struct SlideUp {
    PopupPlace place;
    bool arrived = false;
};
SlideUp SlideUpTick(const PopupPlace& place, int cx, int cy, const std::optional<ScreenRect>& taskbar);

// One tick of sliding down (timers 107 and 108): the next place, or nothing
// when the pop-up has gone (dismissed, or making room for the next one).
std::optional<PopupPlace> SlideDownTick(const PopupPlace& place);

}  // namespace vorlan::app
