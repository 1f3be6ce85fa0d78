#include "app/PopupMotion.h"

namespace vorlan::app {
namespace {

bool DockedAtBottom(int cx, const ScreenRect& taskbar) { return taskbar.top > 0 && taskbar.left + taskbar.right == cx; }

}  // namespace

std::optional<PopupPlace> PopupStart(int cx, int cy, const std::optional<ScreenRect>& taskbar) {
    const int x = cx - kPopupMarginFromRight;
    if (!taskbar) return PopupPlace{x, cy, kPopupWidth, 0};
    const ScreenRect& bar = *taskbar;
    if (bar.top + bar.bottom == cy) {
        // Docked on the right: beside it; on the left: at the screen's right.
        return PopupPlace{bar.left >= 1 ? bar.left - kPopupMarginFromRight : x, cy, kPopupWidth, 0};
    }
    if (bar.left + bar.right != cx) return std::nullopt;
    return PopupPlace{x, bar.top > 0 ? bar.top : cy, kPopupWidth, 0};
}

SlideUp SlideUpTick(const PopupPlace& place, int cx, int cy, const std::optional<ScreenRect>& taskbar) {
    if (place.height < kPopupHeight) {
        PopupPlace next = place;
        next.y -= kPopupStep;
        next.height += kPopupStep;
        return {next, false};
    }
    const int bottom = taskbar && DockedAtBottom(cx, *taskbar) ? taskbar->top : cy;
    return {{place.x, bottom - kPopupHeight, kPopupWidth, kPopupHeight}, true};
}

std::optional<PopupPlace> SlideDownTick(const PopupPlace& place) {
    const int height = place.height - kPopupStep;
    if (height < 0) return std::nullopt;
    PopupPlace next = place;
    next.y += kPopupStep;
    next.height = height;
    return next;
}

}  // namespace vorlan::app
