#include <gtest/gtest.h>

#include "skin/HoverCard.h"
#include "skin/NineSlice.h"
#include "skin/SkinButton.h"

namespace vorlan::skin {
namespace {

// Every target pixel is covered by exactly one piece or the fill, and nothing
// lands outside the target.
void ExpectTiles(const SlicePlan& plan, const Rect& target, bool centreFilled) {
    std::vector<int> hits(static_cast<std::size_t>(target.width * target.height), 0);
    auto cover = [&](const Rect& r) {
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) {
                ASSERT_TRUE(x >= target.x && x < target.x + target.width && y >= target.y &&
                            y < target.y + target.height);
                ++hits[static_cast<std::size_t>((y - target.y) * target.width + (x - target.x))];
            }
    };
    for (const SlicePiece& piece : plan.pieces) cover(piece.target);
    if (centreFilled) cover(plan.fill);
    for (int h : hits) ASSERT_LE(h, 1);
}

TEST(NineSliceTest, LargeTargetStretchesEdgesAndFillsCentre) {
    const Rect target{10, 20, 100, 50};
    const SlicePlan plan = NineSlice(10, target, true);
    ASSERT_EQ(plan.pieces.size(), 8u);
    EXPECT_EQ(plan.pieces[0], (SlicePiece{{0, 0, 10, 10}, {10, 20, 10, 10}}));
    EXPECT_EQ(plan.pieces[3], (SlicePiece{{11, 11, 10, 10}, {100, 60, 10, 10}}));
    EXPECT_EQ(plan.pieces[4], (SlicePiece{{10, 0, 1, 10}, {20, 20, 80, 10}}));    // top edge
    EXPECT_EQ(plan.pieces[7], (SlicePiece{{11, 10, 10, 1}, {100, 30, 10, 30}}));  // right edge
    EXPECT_EQ(plan.fill, (Rect{20, 30, 80, 30}));
    ExpectTiles(plan, target, true);
    int covered = plan.fill.width * plan.fill.height;
    for (const SlicePiece& p : plan.pieces) covered += p.target.width * p.target.height;
    EXPECT_EQ(covered, 100 * 50);
    EXPECT_EQ(NineSlice(10, target, false).fill, Rect{});
}

TEST(NineSliceTest, ExactlyTwoCornersLeavesNoEdges) {
    const Rect target{0, 0, 8, 8};
    const SlicePlan plan = NineSlice(4, target, true);
    ASSERT_EQ(plan.pieces.size(), 4u);
    EXPECT_EQ(plan.fill, Rect{});
    ExpectTiles(plan, target, false);
}

TEST(NineSliceTest, SmallTargetKeepsOuterCornerParts) {
    const Rect target{0, 0, 7, 3};
    const SlicePlan plan = NineSlice(16, target, true);
    ASSERT_EQ(plan.pieces.size(), 4u);
    EXPECT_EQ(plan.pieces[0], (SlicePiece{{0, 0, 4, 2}, {0, 0, 4, 2}}));
    // The bottom-right corner's outermost pixels: the image's last columns and rows.
    EXPECT_EQ(plan.pieces[3], (SlicePiece{{30, 32, 3, 1}, {4, 2, 3, 1}}));
    ExpectTiles(plan, target, false);
    EXPECT_TRUE(NineSlice(16, {0, 0, 0, 5}, true).pieces.empty());
}

TEST(NineSliceTest, SmallWindowFormDrawsTopAndBottomBands) {
    const Rect target{0, 0, 200, 60};
    const SlicePlan plan = TopBottomBands(16, 10, target);
    ASSERT_EQ(plan.pieces.size(), 6u);
    EXPECT_EQ(plan.pieces[1], (SlicePiece{{16, 0, 1, 10}, {16, 0, 168, 10}}));
    EXPECT_EQ(plan.pieces[3].source.y, 23);
    EXPECT_EQ(plan.pieces[3].target.y, 50);
    EXPECT_EQ(plan.fill, (Rect{0, 10, 200, 40}));
    ExpectTiles(plan, target, true);
}

TEST(ButtonStateTest, ClickAndDragOffAndBack) {
    ButtonState button(ButtonKind::CheckBox);
    EXPECT_TRUE(button.MouseMove(true).repaint);
    EXPECT_TRUE(button.hot());
    EXPECT_FALSE(button.MouseMove(true).repaint);  // no change, no repaint
    ButtonReaction down = button.LeftDown(true);
    EXPECT_TRUE(down.capture);
    EXPECT_TRUE(button.pressed());
    button.MouseMove(false);  // dragged off: shows image 1 or 2 again
    EXPECT_FALSE(button.pressed());
    EXPECT_FALSE(button.hot());
    EXPECT_EQ(GlyphImage(false, button.pressed()), 1);
    button.MouseMove(true);  // and back
    EXPECT_TRUE(button.pressed());
    ButtonReaction up = button.LeftUp(true);
    EXPECT_TRUE(up.command);
    EXPECT_TRUE(up.releaseCapture);
    EXPECT_FALSE(button.pressed());
    EXPECT_TRUE(button.hot());
}

TEST(ButtonStateTest, ReleaseOffTheControlIsNoClick) {
    ButtonState button;
    button.MouseMove(true);
    button.LeftDown(true);
    button.MouseMove(false);
    ButtonReaction up = button.LeftUp(false);
    EXPECT_FALSE(up.command);
    EXPECT_TRUE(up.releaseCapture);
    EXPECT_FALSE(button.hot());
    // A release that did not start on the control does nothing.
    EXPECT_FALSE(button.LeftUp(true).command);
}

TEST(ButtonStateTest, SpaceClicksOnReleaseUnlessTheMouseHoldsIt) {
    ButtonState button;
    EXPECT_FALSE(button.SpaceDown().command);
    EXPECT_TRUE(button.SpaceUp().command);
    button.LeftDown(true);
    EXPECT_FALSE(button.SpaceUp().command);
}

TEST(ButtonStateTest, FocusMakesOnlyPushButtonsDefaultAndLosingItEndsThePress) {
    ButtonState push(ButtonKind::Push);
    EXPECT_TRUE(push.FocusGained().makeDefault);
    EXPECT_TRUE(push.focused());
    push.LeftDown(true);
    ButtonReaction lost = push.FocusLost();
    EXPECT_TRUE(lost.releaseCapture);
    EXPECT_FALSE(push.pressed());
    EXPECT_FALSE(push.focused());
    EXPECT_FALSE(push.LeftUp(true).command);
    EXPECT_FALSE(ButtonState(ButtonKind::Radio).FocusGained().makeDefault);
}

TEST(ButtonStateTest, CaptureTakenAwayEndsThePress) {
    ButtonState button;
    button.LeftDown(true);
    EXPECT_TRUE(button.CaptureLost().repaint);
    EXPECT_FALSE(button.pressed());
    EXPECT_FALSE(button.LeftUp(true).command);
}

TEST(SkinChoiceTest, GlyphsAndColours) {
    EXPECT_EQ(GlyphImage(false, false), 1);
    EXPECT_EQ(GlyphImage(true, false), 2);
    EXPECT_EQ(GlyphImage(false, true), 3);
    EXPECT_EQ(GlyphImage(true, true), 4);
    EXPECT_EQ(ButtonTextColour(ButtonKind::Push, true, false), 26);
    EXPECT_EQ(ButtonTextColour(ButtonKind::Push, false, true), 27);
    EXPECT_EQ(ButtonTextColour(ButtonKind::CheckBox, false, true), 23);
    EXPECT_EQ(ButtonTextColour(ButtonKind::Flat, true, false), 24);
    EXPECT_EQ(TreeGlyphFor(false, true), TreeGlyph::None);
    EXPECT_EQ(TreeGlyphFor(true, true), TreeGlyph::Collapse);
    EXPECT_EQ(TreeGlyphFor(true, false), TreeGlyph::Expand);
}

TEST(HoverCardTest, TextsByLevelAndEntriesThatAreNoUsers) {
    const char* expected[] = {"Host", "Super admin", "Normal admin", "Normal user"};
    for (int level = 0; level < 8; ++level) EXPECT_EQ(LevelTypeText(level), expected[level % 4]);
    EXPECT_EQ(LevelTypeText(8), "");
    HoverCardText user = HoverCardTextFor({7, 6, "(ann)", "ann", "Busy"});
    EXPECT_EQ(user, (HoverCardText{1, "", "ann", "Normal admin", "Busy"}));
    EXPECT_EQ(HoverRows(user)[2].caption, "Status: ");
    HoverCardText group = HoverCardTextFor({-1, -1, "Admins", "", ""});
    EXPECT_EQ(group.mode, 0);
    EXPECT_EQ(HoverRows(group).size(), 1u);
    EXPECT_EQ(HoverRows(group)[0].value, "Admins");
    EXPECT_EQ(HoverCardSize(1, {40, 90, 60}, 13), (Size{98, 57}));
    EXPECT_EQ(HoverCardSize(0, {50}, 13), (Size{58, 21}));
}

TEST(HoverCardTest, PlacedUnderTheVisibleCursorAndKeptOnScreen) {
    const Size screen{800, 600};
    const CursorShape cursor{100, 100, 0, 0, 18};
    EXPECT_EQ(PlaceHoverCard({60, 40}, cursor, screen), (Rect{100, 119, 60, 40}));
    // No visible row found: just under the hot spot.
    EXPECT_EQ(PlaceHoverCard({60, 40}, {100, 100, 4, 4, -1}, screen).y, 101);
    // Right edge: moved left to end there.
    EXPECT_EQ(PlaceHoverCard({60, 40}, {780, 100, 0, 0, 18}, screen).x, 740);
    // Bottom edge: above the cursor.
    EXPECT_EQ(PlaceHoverCard({60, 40}, {100, 590, 0, 0, 18}, screen), (Rect{100, 550, 60, 40}));
    // Bottom right corner: both, and fully on screen.
    const Rect corner = PlaceHoverCard({60, 40}, {799, 599, 0, 0, 18}, screen);
    EXPECT_EQ(corner, (Rect{740, 559, 60, 40}));
    // Larger than the screen: at 0 and cut.
    EXPECT_EQ(PlaceHoverCard({900, 700}, cursor, screen), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(PlaceHoverCard({900, 40}, cursor, screen), (Rect{0, 119, 800, 40}));
}

TEST(HoverCardTest, LowestVisibleRowOfMonochromeAndColourCursors) {
    // 2 × 3: the see-through pixels have AND set and XOR clear.
    std::vector<bool> andMask{false, true, true, true, true, true};
    std::vector<bool> xorMask{false, false, false, true, false, false};
    EXPECT_EQ(LowestVisibleRow(andMask, &xorMask, 2, 3), 1);  // the inverting pixel shows
    EXPECT_EQ(LowestVisibleRow(andMask, nullptr, 2, 3), 0);
    EXPECT_EQ(LowestVisibleRow(std::vector<bool>(6, true), nullptr, 2, 3), -1);
    EXPECT_EQ(LowestVisibleRow({}, nullptr, 2, 3), -1);  // short masks are not read
}

TEST(HoverCardTest, MovingOnBeforeTheTimerShowsOnlyTheNewEntry) {
    HoverArming arming;
    HoverArming::Step step = arming.MoveOver(5);
    EXPECT_TRUE(step.arm);
    EXPECT_FALSE(step.hide);
    step = arming.MoveOver(5);  // still on it: the timer runs on
    EXPECT_FALSE(step.arm || step.hide);
    step = arming.MoveOver(6);
    EXPECT_TRUE(step.hide && step.arm);
    step = arming.MoveOver(std::nullopt);
    EXPECT_TRUE(step.hide);
    EXPECT_FALSE(step.arm);
    EXPECT_FALSE(arming.MoveOver(std::nullopt).hide);
}

}  // namespace
}  // namespace vorlan::skin
