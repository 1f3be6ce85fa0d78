// Chat log files: sessions, where each file lives, refused names and writers.
#include <gtest/gtest.h>

#include <filesystem>

#include "ConversationTestSupport.h"
#include "conversation/ChatLines.h"
#include "conversation/ChatLog.h"

namespace vorlan::conversation {
namespace {

using namespace test_support;

constexpr const char* kSessionStart = "Session start (05.12.2026 09:05)";
constexpr const char* kSessionClose = "\r\nSession close (05.12.2026 09:05)";

Runs LoggingTo(const std::string& fileName) {
    return {{"\n\t[09:05] ", kTextColour, false},
            {"Chat logging to:", kNoticeColour, false},
            {" " + fileName, kTextColour, false}};
}
const Runs kOpenFailed{{"\n\t[09:05] ", kTextColour, false}, {"Couldn't open chat log file.", kNoticeColour, false}};

class ChatLogOnDisk : public ::testing::Test {
protected:
    bool Exists(const std::string& relative) const { return std::filesystem::exists(folder.Path() / relative); }

    TempProgramFolder folder;
    LineContext lines = FixedLines();
    RecordingChatView view;
};

TEST_F(ChatLogOnDisk, SessionsAreAppendedWithABlankLineBetweenThemAndTheViewIsTold) {
    for (int session = 0; session < 2; ++session) {
        ChatLog log;
        ASSERT_TRUE(log.OpenMain(folder.Folder(), true, lines, view));
        EXPECT_TRUE(log.IsOpen());
        log.Close(lines);
        EXPECT_FALSE(log.IsOpen());
        EXPECT_EQ(view.Runs(), LoggingTo("mainchat.txt"));
        view.Forget();
    }
    EXPECT_EQ(folder.Read("Chat logs/mainchat.txt"),
              std::string(kSessionStart) + kSessionClose + "\r\n\r\n" + kSessionStart + kSessionClose);
}

// A batch holds the lines back and writes them at its end, in order, also
// when the log is closed or opened again before the batch ends.
TEST_F(ChatLogOnDisk, ABatchWritesItsLinesAtItsEndAndNothingIsLostWhenTheLogClosesFirst) {
    ChatLog log;
    ASSERT_TRUE(log.OpenMain(folder.Folder(), true, lines, view));
    log.BeginBatch();
    log.Write("\r\none");
    log.Write("\r\ntwo");
    EXPECT_EQ(folder.Read("Chat logs/mainchat.txt"), kSessionStart);
    log.EndBatch();
    EXPECT_EQ(folder.Read("Chat logs/mainchat.txt"), std::string(kSessionStart) + "\r\none\r\ntwo");
    log.BeginBatch();
    log.Write("\r\nthree");
    log.Close(lines);
    log.EndBatch();
    {
        ChatLog reopened;
        ASSERT_TRUE(reopened.OpenMain(folder.Folder(), true, lines, view));
        reopened.BeginBatch();
        reopened.Write("\r\nfour");
    }  // destroyed inside the batch
    EXPECT_EQ(folder.Read("Chat logs/mainchat.txt"), std::string(kSessionStart) + "\r\none\r\ntwo\r\nthree" +
                                                         kSessionClose + "\r\n\r\n" + kSessionStart + "\r\nfour");
}

TEST_F(ChatLogOnDisk, LoggingOffCreatesNothingButKnowsThePath) {
    ChatLog log;
    EXPECT_FALSE(log.OpenMain(folder.Folder(), false, lines, view));
    log.Write("\r\nlost");
    log.Close(lines);
    EXPECT_TRUE(view.Runs().empty());
    EXPECT_FALSE(Exists("Chat logs"));
    EXPECT_EQ(log.Path(), MainLogPath(folder.Folder()));  // for "Open chat log"
}

TEST_F(ChatLogOnDisk, PrivateLogIsNamedAfterThePartnerAndHasOneWriter) {
    ChatLog log, second;
    RecordingChatView secondView;
    ASSERT_TRUE(log.OpenPrivate(folder.Folder(), "Mr. Bo", true, lines, view));
    EXPECT_EQ(view.Runs(), LoggingTo("Mr. Bo.txt"));
    EXPECT_FALSE(second.OpenPrivate(folder.Folder(), "Mr. Bo", true, lines, secondView));
    EXPECT_EQ(secondView.Runs(), kOpenFailed);
    second.Write("\r\nnot written");
    log.Write("\r\nhi");
    log.Close(lines);
    EXPECT_EQ(folder.Read("Chat logs/Private chat/Mr. Bo.txt"), std::string(kSessionStart) + "\r\nhi" + kSessionClose);
    EXPECT_FALSE(Exists("Chat logs/mainchat.txt"));
    EXPECT_TRUE(second.OpenPrivate(folder.Folder(), "Mr. Bo", true, lines, secondView)) << "the first writer is gone";
}

TEST_F(ChatLogOnDisk, PartnerNamesThatLeaveTheFolderOrNameADeviceAreRefused) {
    for (const char* name : {"..\\..\\options", "../escape", "a/b", "C:evil", ".", "..", "x..y", "CON", "nul.x", "Com1",
                             "bad|name", "tab\tname"}) {
        RecordingChatView refusedView;
        ChatLog log;
        EXPECT_FALSE(log.OpenPrivate(folder.Folder(), name, true, lines, refusedView)) << name;
        EXPECT_EQ(refusedView.Runs(), kOpenFailed) << name;
        EXPECT_EQ(PrivateLogPath(folder.Folder(), name), "") << name;
    }
    EXPECT_FALSE(Exists("escape.txt") || Exists("Chat logs/escape.txt"));
    for (const char* name : {"Bo", "Mr. Bo", "CONrad", "com10", ".hidden", "x.y"})
        EXPECT_TRUE(IsUsableLogName(name)) << name;
}

}  // namespace
}  // namespace vorlan::conversation
