// The shapes of chat lines in the view and in the log, and the time texts.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "ConversationTestSupport.h"
#include "conversation/ChatLog.h"
#include "conversation/ChatLines.h"
#include "conversation/TimeText.h"

namespace vorlan::conversation {
namespace {

using namespace test_support;

TEST(TimeTexts, FieldsAreTwoDigitsAndThePrefixFollowsTheOption) {
    struct Row {
        platform::LocalTime time;
        const char* prefix;
        const char* logStamp;
    };
    for (Row row : {Row{{2026, 12, 5, 9, 5, 0}, "[09:05] ", "05.12.2026 09:05"},
                    {{2027, 1, 31, 23, 59, 0}, "[23:59] ", "31.01.2027 23:59"},
                    {{2028, 10, 1, 0, 0, 0}, "[00:00] ", "01.10.2028 00:00"}}) {
        EXPECT_EQ(std::tuple(TimePrefix(row.time, true), LogTimestamp(row.time), TimePrefix(row.time, false)),
                  std::tuple(row.prefix, row.logStamp, ""));
    }
}

constexpr std::uint32_t kUser = 0x0000FF;
constexpr std::uint32_t kMessage = 0x123456;

// Each writer with the line start and the runs after it in the view, and its text in the log.
struct Shape {
    std::function<void(const LineContext&, ChatView&, ChatLog*)> write;
    const char* start;
    Runs runs;
    const char* logText;
};

std::vector<Shape> Shapes() {
    return {
        {[](auto& l, auto& v, auto* g) { WriteChatLine(l, v, g, "Anna", kUser, "hi\r\nthere"); },
         "\n",
         {{"Anna", kUser, true}, {":", kTextColour, true}, {" hi\r\nthere", kTextColour, false}},
         "\r\n[05.12.2026 09:05] Anna: hi\r\nthere"},
        {[](auto& l, auto& v, auto* g) { WriteActionLine(l, v, g, "Anna", kUser, "waves"); },
         "\n\t",
         {{"Anna", kUser, false}, {" waves", kTextColour, false}},
         "\r\n\t[05.12.2026 09:05] Anna waves"},
        {[](auto& l, auto& v, auto* g) { WriteSaysLine(l, v, g, "Anna", kUser, "hey"); },
         "\n\t",
         {{"Anna", kUser, false}, {" says: hey", kTextColour, false}},
         "\r\n\t[05.12.2026 09:05] Anna says: hey"},
        {[](auto& l, auto& v, auto* g) { WriteNotice(l, v, g, "Connected."); },
         "\n\t",
         {{"Connected.", kNoticeColour, false}},
         "\r\n\t[05.12.2026 09:05] Connected."},
        {[](auto& l, auto& v, auto* g) { WriteReceivedChatLine(l, v, g, "Bo", kUser, "yo", kMessage); },
         "\n",
         {{"Bo", kUser, true}, {":", kTextColour, true}, {" ", kTextColour, false}, {"yo", kMessage, false}},
         "\r\n[05.12.2026 09:05] Bo: yo"},
        {[](auto& l, auto& v, auto* g) { WriteReceivedActionLine(l, v, g, "Bo", kUser, " ", "nods", kMessage); },
         "\n\t",
         {{"Bo", kUser, false}, {" ", kTextColour, false}, {"nods", kMessage, false}},
         "\r\n\t[05.12.2026 09:05] Bo nods"},
        {[](auto& l, auto& v, auto* g) { WriteEventLine(l, v, g, "Bo", kUser, " has left the server."); },
         "\n\t",
         {{"Bo", kUser, false}, {" has left the server.", kNoticeColour, false}},
         "\r\n\t[05.12.2026 09:05] Bo has left the server."},
        {[](auto& l, auto& v, auto* g) { WriteEventValueLine(l, v, g, "Bo", kUser, "'s version: ", "1.17", kMessage); },
         "\n\t",
         {{"Bo", kUser, false}, {"'s version: ", kTextColour, false}, {"1.17", kMessage, false}},
         "\r\n\t[05.12.2026 09:05] Bo's version: 1.17"},
    };
}

TEST(LineShapes, ViewGetsTheLineStartAndTimePrefixThenTheRunsAndTheLogAlwaysATimestamp) {
    for (bool timestamps : {true, false}) {
        for (const Shape& shape : Shapes()) {
            RecordingChatView view;
            shape.write(FixedLines(timestamps), view, nullptr);
            Runs expected{{shape.start + std::string(timestamps ? "[09:05] " : ""), kTextColour, false}};
            expected.insert(expected.end(), shape.runs.begin(), shape.runs.end());
            EXPECT_EQ(view.Runs(), expected) << timestamps << " " << view.Text();
        }
    }
    TempProgramFolder folder;
    ChatLog log;
    RecordingChatView view;
    ASSERT_TRUE(log.OpenMain(folder.Folder(), true, FixedLines(false), view));
    std::string logged = "Session start (05.12.2026 09:05)";
    for (const Shape& shape : Shapes()) {
        shape.write(FixedLines(false), view, &log);
        logged += shape.logText;
    }
    log.Close(FixedLines());
    EXPECT_EQ(folder.Read("Chat logs/mainchat.txt"), logged + "\r\nSession close (05.12.2026 09:05)");

    LineBuilder line = LineBuilder::Plain(FixedLines(false))
                           .Add("Bo", kUser, true)
                           .Add(" hi", kTextColour)
                           .Add(" (not logged)", kTextColour, false, false);
    EXPECT_EQ(line.LogText(), "\r\n[05.12.2026 09:05] Bo hi");
    EXPECT_EQ(LineBuilder::Indented(FixedLines()).LogText(), "\r\n\t[05.12.2026 09:05] ");
}

}  // namespace
}  // namespace vorlan::conversation
