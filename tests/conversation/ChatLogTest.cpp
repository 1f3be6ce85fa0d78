#include <gtest/gtest.h>

#include "ConversationTestSupport.h"
#include "conversation/ChatLines.h"
#include "conversation/ChatLog.h"

namespace vorlan::conversation {
namespace {

using test_support::FixedLines;
using test_support::kNoticeColour;
using test_support::kTextColour;
using test_support::ViewRun;
using test_support::TempProgramFolder;

constexpr const char* kMainLog = "Chat logs/mainchat.txt";
constexpr const char* kSessionStart = "Session start (05.12.2026 09:05)";
constexpr const char* kSessionClose = "\r\nSession close (05.12.2026 09:05)";

std::vector<ViewRun> LoggingToRuns(const std::string& fileName) {
    return {{"\n\t[09:05] ", kTextColour, false},
            {"Chat logging to:", kNoticeColour, false},
            {" " + fileName, kTextColour, false}};
}

std::vector<ViewRun> OpenFailedRuns() {
    return {{"\n\t[09:05] ", kTextColour, false}, {"Couldn't open chat log file.", kNoticeColour, false}};
}

class ChatLogOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder.Path().empty()); }

    TempProgramFolder folder;
    LineContext lines = FixedLines();
    RecordingChatView view;
};

TEST_F(ChatLogOnDisk, FirstSessionStartsWithoutBlankLinesAndTellsTheView) {
    ChatLog log;
    ASSERT_TRUE(log.OpenMain(folder.Path(), true, lines, view));
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(view.Runs(), LoggingToRuns("mainchat.txt"));
    log.Close(lines);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(folder.Read(kMainLog), std::string(kSessionStart) + kSessionClose);
}

TEST_F(ChatLogOnDisk, LaterSessionsAreSeparatedByABlankLine) {
    for (int session = 0; session < 2; ++session) {
        ChatLog log;
        ASSERT_TRUE(log.OpenMain(folder.Path(), true, lines, view));
        log.Close(lines);
    }
    EXPECT_EQ(folder.Read(kMainLog), std::string(kSessionStart) + kSessionClose + "\r\n\r\n" + kSessionStart +
                                         kSessionClose);
}

TEST_F(ChatLogOnDisk, EveryLineShapeLandsByteForByteWhateverTheTimestampsOption) {
    lines.timestamps = false;
    ChatLog log;
    ASSERT_TRUE(log.OpenMain(folder.Path(), true, lines, view));
    WriteChatLine(lines, view, &log, "Anna", 1, "hi\r\nthere");
    WriteActionLine(lines, view, &log, "Anna", 1, "waves");
    WriteSaysLine(lines, view, &log, "Anna", 1, "hey");
    WriteNotice(lines, view, &log, "Connected.");
    WriteReceivedChatLine(lines, view, &log, "Bo", 2, "yo", 3);
    WriteReceivedActionLine(lines, view, &log, "Bo", 2, " ", "nods", 3);
    WriteEventLine(lines, view, &log, "Bo", 2, " has left the server.");
    WriteEventValueLine(lines, view, &log, "Bo", 2, "'s version: ", "1.17", 3);
    log.Close(lines);
    EXPECT_EQ(folder.Read(kMainLog), std::string(kSessionStart) +
                                         "\r\n[05.12.2026 09:05] Anna: hi\r\nthere"
                                         "\r\n\t[05.12.2026 09:05] Anna waves"
                                         "\r\n\t[05.12.2026 09:05] Anna says: hey"
                                         "\r\n\t[05.12.2026 09:05] Connected."
                                         "\r\n[05.12.2026 09:05] Bo: yo"
                                         "\r\n\t[05.12.2026 09:05] Bo nods"
                                         "\r\n\t[05.12.2026 09:05] Bo has left the server."
                                         "\r\n\t[05.12.2026 09:05] Bo's version: 1.17" +
                                         kSessionClose);
}

TEST_F(ChatLogOnDisk, LoggingOffCreatesNothingAndStaysOffForTheSession) {
    ChatLog log;
    EXPECT_FALSE(log.OpenMain(folder.Path(), false, lines, view));
    log.Write("\r\nlost");
    log.Close(lines);
    EXPECT_FALSE(log.IsOpen());
    EXPECT_TRUE(view.Runs().empty());
    EXPECT_FALSE(folder.Exists("Chat logs"));
    // The window still knows which file "Open chat log" would show.
    EXPECT_EQ(log.Path(), MainLogPath(folder.Path()));
}

TEST_F(ChatLogOnDisk, PrivateLogLivesInItsOwnFolderUnderThePartnerName) {
    ChatLog log;
    ASSERT_TRUE(log.OpenPrivate(folder.Path(), "Mr. Bo", true, lines, view));
    EXPECT_EQ(view.Runs(), LoggingToRuns("Mr. Bo.txt"));
    log.Write("\r\n[05.12.2026 09:05] Mr. Bo: hi");
    log.Close(lines);
    EXPECT_EQ(folder.Read("Chat logs/Private chat/Mr. Bo.txt"),
              std::string(kSessionStart) + "\r\n[05.12.2026 09:05] Mr. Bo: hi" + kSessionClose);
    EXPECT_FALSE(folder.Exists(kMainLog));
}

TEST_F(ChatLogOnDisk, SecondWriterOfTheSameFileIsRefusedWithANotice) {
    ChatLog first, second;
    RecordingChatView secondView;
    ASSERT_TRUE(first.OpenPrivate(folder.Path(), "Bo", true, lines, view));
    EXPECT_FALSE(second.OpenPrivate(folder.Path(), "Bo", true, lines, secondView));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(secondView.Runs(), OpenFailedRuns());
    second.Write("\r\nnot written");
    first.Close(lines);
    EXPECT_EQ(folder.Read("Chat logs/Private chat/Bo.txt"), std::string(kSessionStart) + kSessionClose);

    // Once the first writer is gone the file can be opened again.
    EXPECT_TRUE(second.OpenPrivate(folder.Path(), "Bo", true, lines, secondView));
}

TEST_F(ChatLogOnDisk, PartnerNamesThatLeaveTheFolderAreRefused) {
    for (const char* name : {"..\\..\\options", "../escape", "a/b", "C:evil", ".", "..", "x..y", "CON", "nul.x",
                             "Com1", "bad|name", "tab\tname"}) {
        RecordingChatView refusedView;
        ChatLog log;
        EXPECT_FALSE(log.OpenPrivate(folder.Path(), name, true, lines, refusedView)) << name;
        EXPECT_EQ(refusedView.Runs(), OpenFailedRuns()) << name;
        EXPECT_EQ(PrivateLogPath(folder.Path(), name), "") << name;
    }
    EXPECT_FALSE(folder.Exists("escape.txt"));
    EXPECT_FALSE(folder.Exists("Chat logs/escape.txt"));
    for (const char* name : {"Bo", "Mr. Bo", "CONrad", "com10", ".hidden", "x.y"}) {
        EXPECT_TRUE(IsUsableLogName(name)) << name;
    }
}

}  // namespace
}  // namespace vorlan::conversation
