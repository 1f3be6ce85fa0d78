#include <gtest/gtest.h>

#include "client/PrivateWindowGeometry.h"

namespace vorlan::client {
namespace {

TEST(PrivateWindowGeometry, MaximizingAndRestoringAreRememberedForEveryLaterWindow) {
    storage::Options options;
    options.privateWidth = 480;
    options.privateHeight = 360;

    RememberPrivateWindowSize(options, WindowSizeKind::Maximized, 1280, 800);
    EXPECT_TRUE(options.privateMaximized);
    EXPECT_EQ(options.privateWidth, 480);  // a maximized size is not a size to open with
    EXPECT_EQ(options.privateHeight, 360);

    RememberPrivateWindowSize(options, WindowSizeKind::Minimized, 160, 28);
    EXPECT_TRUE(options.privateMaximized);
    EXPECT_EQ(options.privateWidth, 480);

    RememberPrivateWindowSize(options, WindowSizeKind::Restored, 600, 420);
    EXPECT_FALSE(options.privateMaximized);
    EXPECT_EQ(options.privateWidth, 600);
    EXPECT_EQ(options.privateHeight, 420);
}

TEST(PrivateWindowGeometry, ViewAboveInputWithoutOverlapDownToTheMinimumSize) {
    // The client area of a 250 x 200 window is a little smaller than that.
    for (const auto& [cx, cy] : {std::pair{234, 162}, std::pair{800, 600}}) {
        const PrivateChatLayout layout = PrivateChatLayoutFor(cx, cy);
        EXPECT_GT(layout.view.width, 0);
        EXPECT_GT(layout.view.height, 0);
        EXPECT_GT(layout.input.width, 0);
        EXPECT_LE(layout.view.y + layout.view.height, layout.input.y);
        EXPECT_LE(layout.input.y + layout.input.height, cy);
        EXPECT_LE(layout.view.x + layout.view.width, cx);
    }
    EXPECT_EQ(PrivateChatLayoutFor(800, 600).view, (ControlRect{26, 26, 748, 527}));
    EXPECT_EQ(PrivateChatLayoutFor(800, 600).input, (ControlRect{30, 557, 740, 13}));
}

TEST(PrivateWindowGeometry, ATinyClientAreaGivesEmptyControlsNotNegativeOnes) {
    const PrivateChatLayout layout = PrivateChatLayoutFor(10, 10);
    EXPECT_EQ(layout.view.width, 0);
    EXPECT_EQ(layout.view.height, 0);
    EXPECT_EQ(layout.input.width, 0);
}

}  // namespace
}  // namespace vorlan::client
