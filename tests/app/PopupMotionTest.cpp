// The pop-up's start beside the task bar and its slide, tick by tick.
#include <gtest/gtest.h>

#include "app/PopupMotion.h"

namespace vorlan::app {
namespace {

constexpr int cx = 1280, cy = 800;

TEST(PopupMotion, TheStartFollowsTheTaskBarsEdge) {
    struct Row {
        const char* where;
        std::optional<ScreenRect> taskbar;
        std::optional<PopupPlace> start;
    };
    for (const Row& row : {
             Row{"no task bar", std::nullopt, PopupPlace{1082, 800, 180, 0}},
             Row{"right", ScreenRect{1220, 0, 1280, 800}, PopupPlace{1022, 800, 180, 0}},
             Row{"left", ScreenRect{0, 0, 60, 800}, PopupPlace{1082, 800, 180, 0}},
             Row{"bottom", ScreenRect{0, 760, 1280, 800}, PopupPlace{1082, 760, 180, 0}},
             Row{"top", ScreenRect{0, 0, 1280, 40}, PopupPlace{1082, 800, 180, 0}},
             // Not along a whole edge: the pop-up stays where it is.
             Row{"part of the bottom", ScreenRect{100, 760, 900, 800}, std::nullopt},
             Row{"part of the top", ScreenRect{100, 0, 900, 40}, std::nullopt},
         }) {
        EXPECT_EQ(PopupStart(cx, cy, row.taskbar), row.start) << row.where;
    }
}

TEST(PopupMotion, SlidesUpByFourToItsPlaceAndDownUntilGone) {
    const ScreenRect bottom{0, 760, 1280, 800};
    PopupPlace place = *PopupStart(cx, cy, bottom);
    int ticks = 0;
    SlideUp step;
    do {
        step = SlideUpTick(place, cx, cy, bottom);
        place = step.place;
        ++ticks;
    } while (!step.arrived);
    EXPECT_EQ(ticks, 30) << "29 steps of 4 pixels reach 116, the next tick settles";
    EXPECT_EQ(place, (PopupPlace{1082, 644, 180, 116}));
    EXPECT_EQ(SlideUpTick({1082, 680, 180, 120}, cx, cy, std::nullopt).place, (PopupPlace{1082, 684, 180, 116}))
        << "without a task bar it settles at the screen's bottom";

    ticks = 0;
    for (std::optional<PopupPlace> down = place; down; down = SlideDownTick(*down)) {
        place = *down;
        ++ticks;
    }
    EXPECT_EQ(place, (PopupPlace{1082, 760, 180, 0}));
    EXPECT_EQ(ticks, 30);
}

}  // namespace
}  // namespace vorlan::app
