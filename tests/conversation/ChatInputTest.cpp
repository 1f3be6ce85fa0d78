// The input line: length limits and filters while typing, and what sending does
// in the main window and in a private window.
#include <gtest/gtest.h>

#include "ConversationTestSupport.h"
#include "conversation/ChatInput.h"

namespace vorlan::conversation {
namespace {

using namespace test_support;
using Frames = std::vector<std::string>;

// The frame as it goes on the wire, with its zero byte.
std::string Frame(std::string_view text) { return std::string(text) + '\0'; }

TEST(InputLimits, EachWindowHasItsTableOfCommandsLimitsAndFilters) {
    struct Row {
        std::string text;
        std::size_t mainMax;
        std::string mainText;
        std::size_t privateMax;
        std::string privateText;
    };
    for (const Row& row : {Row{"/cpw x", 1005, "/cpw x", 1000, "/cpw x"},
                           {"/saspw x", 1007, "/saspw x", 1000, "/saspw x"},
                           {"/naspw x", 1007, "/naspw x", 1000, "/naspw x"},
                           {"/nuspw x", 1007, "/nuspw x", 1000, "/nuspw x"},
                           {"/name x", 26, "/name x", 26, "/name x"},
                           {"/topic x", 1007, "/topic x", 1000, "/topic x"},
                           {"/me x", 1004, "/me x", 1004, "/me x"},
                           {"/say x", 1005, "/say x", 1005, "/say x"},
                           {"hello", 1000, "hello", 1000, "hello"},
                           // Command words are case-sensitive and need their space.
                           {"/NAME x", 1000, "/NAME x", 1000, "/NAME x"},
                           {"/name", 1000, "/name", 1000, "/name"},
                           {"/me", 1000, "/me", 1000, "/me"},
                           // A name loses SEP and line breaks at once, passwords only line breaks.
                           {"/name A\xAC"
                            "b\r\nc",
                            26, "/name Abc", 26, "/name Abc"},
                           {"/cpw p\xAC\r\nw", 1005, "/cpw p\xACw", 1000, "/cpw p\xAC\r\nw"},
                           {"/topic a\r\nb", 1007, "/topic a\r\nb", 1000, "/topic a\r\nb"},
                           {"/me a\nb", 1004, "/me a\nb", 1004, "/me a\nb"},
                           {"/NAME a\nb", 1000, "/NAME a\nb", 1000, "/NAME a\nb"}}) {
        InputLimit main = LimitMainInput(row.text), privateLimit = LimitPrivateInput(row.text);
        EXPECT_EQ(std::tuple(main.maxLength, main.text, main.changed),
                  std::tuple(row.mainMax, row.mainText, row.mainText != row.text))
            << row.text;
        EXPECT_EQ(std::tuple(privateLimit.maxLength, privateLimit.text, privateLimit.changed),
                  std::tuple(row.privateMax, row.privateText, row.privateText != row.text))
            << row.text;
    }
}

class MainSend : public ::testing::Test {
protected:
    FakeInputContext context;
};

TEST(MainSendTable, TypedTextBecomesTheseMessages) {
    struct Row {
        std::string typed;
        Frames sent;
    };
    for (const Row& row : {Row{"hello\r\nworld", {Frame("020hello\r\nworld")}},
                           {"/me waves", {Frame("021waves")}},
                           {"/say hi all", {Frame("022hi all")}},
                           {"/topic ", {Frame("01")}},
                           {"/topic Friday party", {Frame("01Friday party")}},
                           {"/name   Bo Cy \t", {Frame("03Bo Cy")}},
                           {"/me ", {}},
                           {"/say ", {}},
                           {"/clear", {}},
                           {"/cpw x", {}},
                           // Unknown words and commands without their space are ordinary text.
                           {"/me", {Frame("020/me")}},
                           {"/say", {Frame("020/say")}},
                           {"/clear ", {Frame("020/clear ")}},
                           {"/CLEAR", {Frame("020/CLEAR")}},
                           {"/whois Bo", {Frame("020/whois Bo")}},
                           {"/Me waves", {Frame("020/Me waves")}},
                           // The text ends at a zero byte, so it cannot smuggle in a message.
                           {std::string("hi\0"
                                        "163",
                                        6),
                            {Frame("020hi")}},
                           {std::string("\0x", 2), {}}}) {
        FakeInputContext fresh;
        SendMainInput(fresh, row.typed);
        EXPECT_EQ(fresh.sent, row.sent) << row.typed;
    }
}

TEST_F(MainSend, OwnLinesAreWrittenAtOnceAndSaysPopsUp) {
    for (const char* typed : {"hello", "/me waves", "/say hi all", "/topic t"}) SendMainInput(context, typed);
    EXPECT_EQ(context.mainView.Runs(), (Runs{{"\n[09:05] ", kTextColour, false},
                                             {"Anna", kOwnColour, true},
                                             {":", kTextColour, true},
                                             {" hello", kTextColour, false},
                                             {"\n\t[09:05] ", kTextColour, false},
                                             {"Anna", kOwnColour, false},
                                             {" waves", kTextColour, false},
                                             {"\n\t[09:05] ", kTextColour, false},
                                             {"Anna", kOwnColour, false},
                                             {" says: hi all", kTextColour, false}}));
    EXPECT_EQ(context.popups, Frames{"Anna says: hi all|0|0"});
}

TEST_F(MainSend, ChatLinesAreDroppedSilentlyWhenTheyCannotBeSentButNameAndClearStayLocal) {
    for (int why = 0; why < 3; ++why) {
        context.connected = why != 0;
        context.ownId = why == 1 ? 0 : 7;
        context.mainChatOpen = why != 2;
        for (const char* text : {"hello", "/me waves", "/say hi", "/topic t"}) SendMainInput(context, text);
        EXPECT_TRUE(context.sent.empty() && context.mainView.Runs().empty() && context.popups.empty()) << why;
    }
    SendMainInput(context, "/name Dee");
    EXPECT_EQ(std::tuple(context.ownName, context.sent), std::tuple("Dee", Frames{Frame("03Dee")}))
        << "the main chat is closed";
    context.connected = false;
    SendMainInput(context, "/name Cy");
    SendMainInput(context, "/clear");
    EXPECT_EQ(
        std::tuple(context.ownName, context.sent.size(), context.mainView.SetTextCount(), context.mainView.Text()),
        std::tuple("Cy", 1u, 1, ""));
}

TEST_F(MainSend, PasswordCommandsWorkWhileDisconnectedAndLeaveANoticeInViewAndLog) {
    TempProgramFolder folder;
    ASSERT_TRUE(context.mainLog.OpenMain(folder.Folder(), true, context.lines, context.mainView));
    context.mainView.Forget();
    context.connected = false;
    for (const char* typed : {"/cpw se cret ", "/saspw a", "/naspw ", "/nuspw \xAC"}) SendMainInput(context, typed);
    context.connected = true;
    context.lines.timestamps = false;
    SendMainInput(context, "two\r\nlines");
    context.mainLog.Close(context.lines);
    EXPECT_EQ(std::vector<std::string>(context.passwords, context.passwords + 4),
              (Frames{"se cret ", "a", "", "\xAC"}));
    EXPECT_EQ(context.sent.size(), 1u);
    EXPECT_EQ(context.mainView.Runs()[1], (ViewRun{"Client password changed.", kNoticeColour, false}));
    EXPECT_EQ(folder.Read("Chat logs/mainchat.txt"),
              "Session start (05.12.2026 09:05)"
              "\r\n\t[05.12.2026 09:05] Client password changed."
              "\r\n\t[05.12.2026 09:05] Server super admin password changed."
              "\r\n\t[05.12.2026 09:05] Server normal admin password changed."
              "\r\n\t[05.12.2026 09:05] Server normal user password changed."
              "\r\n[05.12.2026 09:05] Anna: two\r\nlines"
              "\r\nSession close (05.12.2026 09:05)");
}

class PrivateSend : public ::testing::Test {
protected:
    static constexpr int kPeer = 12;
    void Send(const std::string& typed) { SendPrivateInput(context, kPeer, view, log, typed); }
    FakeInputContext context;
    RecordingChatView view;
    ChatLog log;
};

TEST_F(PrivateSend, LinesGoToThePartnerWithTheirKindAndMainWindowCommandsAreOrdinaryText) {
    TempProgramFolder folder;
    ASSERT_TRUE(log.OpenPrivate(folder.Folder(), "Bo", true, context.lines, view));
    view.Forget();
    for (const char* typed : {"a\r\nb", "/me waves", "/say psst", "/cpw secret", "/topic t", "/me ", "/say "})
        Send(typed);
    EXPECT_EQ(context.sent, (Frames{Frame("1112\xAC"
                                          "0a\r\nb"),
                                    Frame("1112\xAC"
                                          "1waves"),
                                    Frame("1112\xAC"
                                          "2psst"),
                                    Frame("1112\xAC"
                                          "0/cpw secret"),
                                    Frame("1112\xAC"
                                          "0/topic t")}));
    EXPECT_EQ(context.popups, Frames{"Anna says: psst|0|12"});
    EXPECT_EQ(context.passwords[0], "");
    EXPECT_EQ(view.Runs().size(), 18u);
    EXPECT_EQ(view.Runs()[1], (ViewRun{"Anna", kOwnColour, true}));
    EXPECT_TRUE(context.mainView.Runs().empty());
    log.Close(context.lines);
    EXPECT_EQ(folder.Read("Chat logs/Private chat/Bo.txt"),
              "Session start (05.12.2026 09:05)"
              "\r\n[05.12.2026 09:05] Anna: a\r\nb"
              "\r\n\t[05.12.2026 09:05] Anna waves"
              "\r\n\t[05.12.2026 09:05] Anna says: psst"
              "\r\n[05.12.2026 09:05] Anna: /cpw secret"
              "\r\n[05.12.2026 09:05] Anna: /topic t"
              "\r\nSession close (05.12.2026 09:05)");
}

TEST_F(PrivateSend, DroppedWhenThePartnerIsGoneOrWeAreNotLoggedInButClearAndNameAreLocal) {
    SendPrivateInput(context, 99, view, log, "hi");
    SendPrivateInput(context, -2, view, log, "hi");
    context.ownId = 0;
    Send("hi");
    context.ownId = 7;
    context.connected = false;
    Send("/me waves");
    Send("/clear");
    Send("/name  Bo ");
    EXPECT_EQ(std::tuple(context.sent.size(), view.Runs().size(), view.SetTextCount(), context.mainView.SetTextCount(),
                         context.ownName),
              std::tuple(0u, 0u, 1, 0, "Bo"));
    context.connected = true;
    context.mainChatOpen = false;  // does not matter here
    Send("hi");
    EXPECT_EQ(context.sent.size(), 1u);
}

}  // namespace
}  // namespace vorlan::conversation
