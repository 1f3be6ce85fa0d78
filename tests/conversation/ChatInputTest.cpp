#include <gtest/gtest.h>

#include "ConversationTestSupport.h"
#include "conversation/ChatInput.h"

namespace vorlan::conversation {
namespace {

using test_support::FakeInputContext;
using test_support::kNoticeColour;
using test_support::kOwnColour;
using test_support::kTextColour;
using test_support::ViewRun;
using test_support::TempProgramFolder;

std::string Bytes(const char* text, std::size_t length) { return std::string(text, length); }

// Limit and filter ----------------------------------------------------------------

TEST(InputLimits, MainWindowTable) {
    EXPECT_EQ(LimitMainInput("/cpw x").maxLength, 1005u);
    EXPECT_EQ(LimitMainInput("/saspw x").maxLength, 1007u);
    EXPECT_EQ(LimitMainInput("/naspw x").maxLength, 1007u);
    EXPECT_EQ(LimitMainInput("/nuspw x").maxLength, 1007u);
    EXPECT_EQ(LimitMainInput("/name x").maxLength, 26u);
    EXPECT_EQ(LimitMainInput("/topic x").maxLength, 1007u);
    EXPECT_EQ(LimitMainInput("/me x").maxLength, 1004u);
    EXPECT_EQ(LimitMainInput("/say x").maxLength, 1005u);
    EXPECT_EQ(LimitMainInput("hello").maxLength, 1000u);
    // Command words are case-sensitive and need their space.
    EXPECT_EQ(LimitMainInput("/NAME x").maxLength, 1000u);
    EXPECT_EQ(LimitMainInput("/name").maxLength, 1000u);
    EXPECT_EQ(LimitMainInput("/me").maxLength, 1000u);
}

TEST(InputLimits, PrivateWindowKnowsOnlyNameMeAndSay) {
    EXPECT_EQ(LimitPrivateInput("/name x").maxLength, 26u);
    EXPECT_EQ(LimitPrivateInput("/me x").maxLength, 1004u);
    EXPECT_EQ(LimitPrivateInput("/say x").maxLength, 1005u);
    EXPECT_EQ(LimitPrivateInput("/cpw x").maxLength, 1000u);
    EXPECT_EQ(LimitPrivateInput("/topic x").maxLength, 1000u);
    InputLimit password = LimitPrivateInput("/cpw a\r\nb");
    EXPECT_FALSE(password.changed);
}

TEST(InputLimits, NameLosesSepAndLineBreaksAtOnce) {
    for (auto limit : {LimitMainInput(Bytes("/name A\xAC" "b\r\nc", 12)),
                       LimitPrivateInput(Bytes("/name A\xAC" "b\r\nc", 12))}) {
        EXPECT_TRUE(limit.changed);
        EXPECT_EQ(limit.text, "/name Abc");
    }
}

TEST(InputLimits, PasswordsLoseLineBreaksButKeepSep) {
    InputLimit limit = LimitMainInput(Bytes("/cpw p\xAC\r\nw", 10));
    EXPECT_TRUE(limit.changed);
    EXPECT_EQ(limit.text, Bytes("/cpw p\xACw", 8));
}

TEST(InputLimits, OtherTextIsLeftAlone) {
    for (const char* text : {"/topic a\r\nb", "/me a\nb", "plain\r\nlines", "/NAME a\nb"}) {
        InputLimit limit = LimitMainInput(text);
        EXPECT_FALSE(limit.changed) << text;
        EXPECT_EQ(limit.text, text);
    }
}

// Send in the main window -----------------------------------------------------------

class MainSend : public ::testing::Test {
protected:
    FakeInputContext context;
};

TEST_F(MainSend, OrdinaryTextIsSentAndWrittenAtOnce) {
    SendMainInput(context, "hello\r\nworld");
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("020hello\r\nworld\0", 16)}));
    EXPECT_EQ(context.mainView.Runs(), (std::vector<ViewRun>{{"\n[09:05] ", kTextColour, false},
                                                        {"Anna", kOwnColour, true},
                                                        {":", kTextColour, true},
                                                        {" hello\r\nworld", kTextColour, false}}));
}

TEST_F(MainSend, UnknownSlashWordsAndCommandsWithoutTheirSpaceAreOrdinaryText) {
    for (const char* text : {"/me", "/say", "/clear ", "/CLEAR", "/whois Bo", "/Me waves"}) {
        context.sent.clear();
        SendMainInput(context, text);
        ASSERT_EQ(context.sent.size(), 1u) << text;
        EXPECT_EQ(context.sent[0], "020" + std::string(text) + '\0');
    }
    EXPECT_EQ(context.mainView.SetTextCount(), 0);
}

TEST_F(MainSend, ActionAndSaysLines) {
    SendMainInput(context, "/me waves");
    SendMainInput(context, "/say hi all");
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("021waves\0", 9), Bytes("022hi all\0", 10)}));
    EXPECT_EQ(context.mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kTextColour, false},
                                                        {"Anna", kOwnColour, false},
                                                        {" waves", kTextColour, false},
                                                        {"\n\t[09:05] ", kTextColour, false},
                                                        {"Anna", kOwnColour, false},
                                                        {" says: hi all", kTextColour, false}}));
    EXPECT_EQ(context.popups, (std::vector<FakeInputContext::Popup>{{"Anna says: hi all", 0, 0}}));
}

TEST_F(MainSend, ActionOrSaysWithoutTextDoesNothing) {
    SendMainInput(context, "/me ");
    SendMainInput(context, "/say ");
    EXPECT_TRUE(context.sent.empty());
    EXPECT_TRUE(context.mainView.Runs().empty());
    EXPECT_TRUE(context.popups.empty());
}

TEST_F(MainSend, TopicIsSentEvenWhenEmptyAndWritesNoLine) {
    SendMainInput(context, "/topic ");
    SendMainInput(context, "/topic Friday party");
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("01\0", 3), Bytes("01Friday party\0", 15)}));
    EXPECT_TRUE(context.mainView.Runs().empty());
}

TEST_F(MainSend, ClearEmptiesTheViewAndSendsNothing) {
    context.connected = false;
    SendMainInput(context, "/clear");
    EXPECT_EQ(context.mainView.SetTextCount(), 1);
    EXPECT_EQ(context.mainView.Text(), "");
    EXPECT_TRUE(context.sent.empty());
}

TEST_F(MainSend, ChatLinesAreDroppedSilentlyWhenTheyCannotBeSent) {
    auto expectDropped = [&](const char* why) {
        for (const char* text : {"hello", "/me waves", "/say hi", "/topic t"}) SendMainInput(context, text);
        EXPECT_TRUE(context.sent.empty()) << why;
        EXPECT_TRUE(context.mainView.Runs().empty()) << why;
        EXPECT_TRUE(context.popups.empty()) << why;
    };
    context.connected = false;
    expectDropped("not connected");
    context.connected = true;
    context.ownId = 0;
    expectDropped("no id yet");
    context.ownId = 7;
    context.mainChatOpen = false;
    expectDropped("main chat closed");
}

TEST_F(MainSend, NameIsTrimmedAndSentOnlyWhenConnected) {
    SendMainInput(context, "/name   Bo Cy \t");
    EXPECT_EQ(context.ownName, "Bo Cy");
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("03Bo Cy\0", 8)}));

    context.sent.clear();
    context.connected = false;
    context.mainChatOpen = false;
    SendMainInput(context, "/name Dee");
    EXPECT_EQ(context.ownName, "Dee");
    EXPECT_TRUE(context.sent.empty());
    EXPECT_TRUE(context.mainView.Runs().empty());
}

TEST_F(MainSend, TextEndsAtAZeroByteSoItCannotSmuggleAMessage) {
    SendMainInput(context, Bytes("hi\0" "16" "3", 6));
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("020hi\0", 6)}));
    SendMainInput(context, Bytes("\0" "x", 2));
    EXPECT_EQ(context.sent.size(), 1u);
}

class MainSendWithLog : public MainSend {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_TRUE(context.mainLog.OpenMain(folder.Path(), true, context.lines, context.mainView));
        context.mainView.Forget();
    }
    std::string LoggedLines() {
        context.mainLog.Close(context.lines);
        std::string text = folder.Read("Chat logs/mainchat.txt");
        const std::string start = "Session start (05.12.2026 09:05)";
        const std::string close = "\r\nSession close (05.12.2026 09:05)";
        EXPECT_TRUE(text.starts_with(start) && text.ends_with(close)) << text;
        return text.substr(start.size(), text.size() - start.size() - close.size());
    }
    TempProgramFolder folder;
};

TEST_F(MainSendWithLog, PasswordCommandsWorkWhileDisconnectedAndLeaveANotice) {
    context.connected = false;
    context.mainChatOpen = false;
    SendMainInput(context, "/cpw se cret ");
    SendMainInput(context, "/saspw a");
    SendMainInput(context, "/naspw ");
    SendMainInput(context, Bytes("/nuspw \xAC", 8));
    EXPECT_EQ(context.clientPassword, "se cret ");
    EXPECT_EQ(context.superAdminPassword, "a");
    EXPECT_EQ(context.normalAdminPassword, "");
    EXPECT_EQ(context.normalUserPassword, "\xAC");
    EXPECT_TRUE(context.sent.empty());
    ASSERT_EQ(context.mainView.Runs().size(), 8u);
    EXPECT_EQ(context.mainView.Runs()[0], (ViewRun{"\n\t[09:05] ", kTextColour, false}));
    EXPECT_EQ(context.mainView.Runs()[1], (ViewRun{"Client password changed.", kNoticeColour, false}));
    EXPECT_EQ(LoggedLines(), "\r\n\t[05.12.2026 09:05] Client password changed."
                             "\r\n\t[05.12.2026 09:05] Server super admin password changed."
                             "\r\n\t[05.12.2026 09:05] Server normal admin password changed."
                             "\r\n\t[05.12.2026 09:05] Server normal user password changed.");
}

TEST_F(MainSendWithLog, OwnLinesAreLoggedWithTheirLineBreaks) {
    context.lines.timestamps = false;
    SendMainInput(context, "two\r\nlines");
    SendMainInput(context, "/me waves");
    SendMainInput(context, "/say hi");
    SendMainInput(context, "/topic t");
    SendMainInput(context, "/name Bo");
    EXPECT_EQ(LoggedLines(), "\r\n[05.12.2026 09:05] Anna: two\r\nlines"
                             "\r\n\t[05.12.2026 09:05] Anna waves"
                             "\r\n\t[05.12.2026 09:05] Anna says: hi");
}

// Send in a private window ------------------------------------------------------------

class PrivateSend : public ::testing::Test {
protected:
    static constexpr int kPeer = 12;
    FakeInputContext context;
    RecordingChatView view;
    ChatLog log;
};

TEST_F(PrivateSend, LinesGoToThePartnerWithTheirKind) {
    SendPrivateInput(context, kPeer, view, log, "hi");
    SendPrivateInput(context, kPeer, view, log, "/me waves");
    SendPrivateInput(context, kPeer, view, log, "/say psst");
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("1112\xAC" "0hi\0", 9), Bytes("1112\xAC" "1waves\0", 12),
                                                      Bytes("1112\xAC" "2psst\0", 11)}));
    EXPECT_EQ(context.popups, (std::vector<FakeInputContext::Popup>{{"Anna says: psst", 0, kPeer}}));
    EXPECT_EQ(view.Runs().size(), 10u);
    EXPECT_EQ(view.Runs()[1], (ViewRun{"Anna", kOwnColour, true}));
    EXPECT_TRUE(context.mainView.Runs().empty());
}

TEST_F(PrivateSend, MainWindowCommandsAreOrdinaryPrivateText) {
    SendPrivateInput(context, kPeer, view, log, "/cpw secret");
    SendPrivateInput(context, kPeer, view, log, "/topic t");
    EXPECT_EQ(context.clientPassword, "");
    EXPECT_EQ(context.sent, (std::vector<std::string>{Bytes("1112\xAC" "0/cpw secret\0", 18),
                                                      Bytes("1112\xAC" "0/topic t\0", 15)}));
}

TEST_F(PrivateSend, ClearAndNameAreLocal) {
    context.connected = false;
    SendPrivateInput(context, kPeer, view, log, "/clear");
    SendPrivateInput(context, kPeer, view, log, "/name  Bo ");
    EXPECT_EQ(view.SetTextCount(), 1);
    EXPECT_EQ(context.mainView.SetTextCount(), 0);
    EXPECT_EQ(context.ownName, "Bo");
    EXPECT_TRUE(context.sent.empty());
}

TEST_F(PrivateSend, DroppedWhenThePartnerIsGoneOrWeAreNotLoggedIn) {
    SendPrivateInput(context, 99, view, log, "hi");
    SendPrivateInput(context, -2, view, log, "hi");
    context.ownId = 0;
    SendPrivateInput(context, kPeer, view, log, "hi");
    context.ownId = 7;
    context.connected = false;
    SendPrivateInput(context, kPeer, view, log, "/me waves");
    context.connected = true;
    SendPrivateInput(context, kPeer, view, log, "/say ");
    EXPECT_TRUE(context.sent.empty());
    EXPECT_TRUE(view.Runs().empty());
    // The main chat being closed does not matter here.
    context.mainChatOpen = false;
    SendPrivateInput(context, kPeer, view, log, "hi");
    EXPECT_EQ(context.sent.size(), 1u);
}

TEST_F(PrivateSend, LinesGoToThisWindowsLog) {
    TempProgramFolder folder;
    ASSERT_TRUE(log.OpenPrivate(folder.Path(), "Bo", true, context.lines, view));
    SendPrivateInput(context, kPeer, view, log, "a\r\nb");
    SendPrivateInput(context, kPeer, view, log, "/me nods");
    SendPrivateInput(context, kPeer, view, log, "/say ok");
    log.Close(context.lines);
    EXPECT_EQ(folder.Read("Chat logs/Private chat/Bo.txt"),
              "Session start (05.12.2026 09:05)"
              "\r\n[05.12.2026 09:05] Anna: a\r\nb"
              "\r\n\t[05.12.2026 09:05] Anna nods"
              "\r\n\t[05.12.2026 09:05] Anna says: ok"
              "\r\nSession close (05.12.2026 09:05)");
}

}  // namespace
}  // namespace vorlan::conversation
