#include <gtest/gtest.h>

#include "ConversationTestSupport.h"
#include "conversation/ChatLine.h"
#include "conversation/ChatLines.h"
#include "conversation/TimeText.h"

namespace vorlan::conversation {
namespace {

using test_support::FixedLines;
using test_support::FixedTime;
using test_support::kNoticeColour;
using test_support::kTextColour;
using test_support::ViewRun;

constexpr std::uint32_t kUser = 0x0000FF;
constexpr std::uint32_t kMessage = 0x123456;

TEST(TimeTexts, TwoDigitFieldsAndTheOption) {
    EXPECT_EQ(TimePrefix(FixedTime(), true), "[09:05] ");
    EXPECT_EQ(TimePrefix(FixedTime(), false), "");
    EXPECT_EQ(LogTimestamp(FixedTime()), "05.12.2026 09:05");
    platform::LocalTime late{2027, 1, 31, 23, 59, 0};
    EXPECT_EQ(TimePrefix(late, true), "[23:59] ");
    EXPECT_EQ(LogTimestamp(late), "31.01.2027 23:59");
}

TEST(ChatLine, LogTextFollowsTheRunsButNotTheTimePrefix) {
    ChatLine line = ChatLine::Plain(FixedLines(false)).Add("Bo", kUser, true).Add(":", kTextColour, true)
                        .Add(" hi", kTextColour).Add(" (not logged)", kTextColour, false, false);
    EXPECT_EQ(line.LogText(), "\r\n[05.12.2026 09:05] Bo: hi");
    EXPECT_EQ(ChatLine::Indented(FixedLines()).LogText(), "\r\n\t[05.12.2026 09:05] ");
}

class LineShapes : public ::testing::TestWithParam<bool> {
protected:
    bool timestamps() const { return GetParam(); }
    std::string Prefix(const char* lineStart) const {
        return std::string(lineStart) + (timestamps() ? "[09:05] " : "");
    }
    LineContext lines = FixedLines(GetParam());
    RecordingChatView view;
};

TEST_P(LineShapes, OwnChatLine) {
    WriteChatLine(lines, view, nullptr, "Anna", kUser, "hello www.x.org");
    EXPECT_EQ(view.Runs(), (std::vector<ViewRun>{{Prefix("\n"), kTextColour, false},
                                            {"Anna", kUser, true},
                                            {":", kTextColour, true},
                                            {" hello www.x.org", kTextColour, false}}));
}

TEST_P(LineShapes, OwnActionAndSaysLines) {
    WriteActionLine(lines, view, nullptr, "Anna", kUser, "waves");
    WriteSaysLine(lines, view, nullptr, "Anna", kUser, "hi");
    EXPECT_EQ(view.Runs(), (std::vector<ViewRun>{{Prefix("\n\t"), kTextColour, false},
                                            {"Anna", kUser, false},
                                            {" waves", kTextColour, false},
                                            {Prefix("\n\t"), kTextColour, false},
                                            {"Anna", kUser, false},
                                            {" says: hi", kTextColour, false}}));
}

TEST_P(LineShapes, Notice) {
    WriteNotice(lines, view, nullptr, "Disconnected.");
    EXPECT_EQ(view.Runs(), (std::vector<ViewRun>{{Prefix("\n\t"), kTextColour, false},
                                            {"Disconnected.", kNoticeColour, false}}));
}

TEST_P(LineShapes, ReceivedChatAndActionLines) {
    WriteReceivedChatLine(lines, view, nullptr, "Bo", kUser, "yo", kMessage);
    WriteReceivedActionLine(lines, view, nullptr, "Bo", kUser, " says: ", "yo", kMessage);
    EXPECT_EQ(view.Runs(), (std::vector<ViewRun>{{Prefix("\n"), kTextColour, false},
                                            {"Bo", kUser, true},
                                            {":", kTextColour, true},
                                            {" ", kTextColour, false},
                                            {"yo", kMessage, false},
                                            {Prefix("\n\t"), kTextColour, false},
                                            {"Bo", kUser, false},
                                            {" says: ", kTextColour, false},
                                            {"yo", kMessage, false}}));
}

TEST_P(LineShapes, EventLines) {
    WriteEventLine(lines, view, nullptr, "Bo", kUser, " has joined the server.");
    WriteEventValueLine(lines, view, nullptr, "Bo", kUser, " changed name to: ", "Cy", 0x777777);
    EXPECT_EQ(view.Runs(), (std::vector<ViewRun>{{Prefix("\n\t"), kTextColour, false},
                                            {"Bo", kUser, false},
                                            {" has joined the server.", kNoticeColour, false},
                                            {Prefix("\n\t"), kTextColour, false},
                                            {"Bo", kUser, false},
                                            {" changed name to: ", kTextColour, false},
                                            {"Cy", 0x777777, false}}));
}

INSTANTIATE_TEST_SUITE_P(TimestampsOnAndOff, LineShapes, ::testing::Bool());

}  // namespace
}  // namespace vorlan::conversation
