// The main window's layout: the panes keep their stored sizes and the chat
// view, input line and user tree share what is left without overlapping.
#include <gtest/gtest.h>

#include "app/MainLayout.h"

namespace vorlan::app {
namespace {

bool Overlap(const ControlRect& a, const ControlRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(MainLayoutTest, PlacesTheControlsByThePaneSizes) {
    const MainLayout layout = ComputeMainLayout(744, 502, 80, 160);
    EXPECT_EQ(layout.serversTree, (ControlRect{30, 46, 684, 80}));
    EXPECT_EQ(layout.chatView, (ControlRect{26, 155, 522, 300}));
    EXPECT_EQ(layout.inputLine, (ControlRect{30, 459, 514, 13}));
    EXPECT_EQ(layout.userTree, (ControlRect{554, 159, 160, 313}));

    EXPECT_FALSE(Overlap(layout.serversTree, layout.chatView));
    EXPECT_FALSE(Overlap(layout.chatView, layout.inputLine));
    EXPECT_FALSE(Overlap(layout.chatView, layout.userTree));
    EXPECT_FALSE(Overlap(layout.inputLine, layout.userTree));
}

TEST(MainLayoutTest, ATinyClientAreaGivesEmptyControlsNotNegativeOnes) {
    const MainLayout layout = ComputeMainLayout(0, 0, 80, 160);
    EXPECT_EQ(layout.serversTree.width, 0);
    EXPECT_EQ(layout.chatView.width, 0);
    EXPECT_EQ(layout.chatView.height, 0);
    EXPECT_EQ(layout.userTree.height, 0);
    EXPECT_EQ(layout.userTree.width, 160);
}

TEST(MainLayoutTest, MinimumTrackingSizeLeavesRoomForThePanes) {
    const MinimumSize size = MainMinimumTrackingSize(80, 160);
    EXPECT_EQ(size.width, 310);
    EXPECT_EQ(size.height, 290);
}

}  // namespace
}  // namespace vorlan::app
