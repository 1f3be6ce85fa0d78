// Private chats: windows opened by the first line, unread counts in the
// caption, partners going offline and coming back, and their logs.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/PrivateChat.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
using namespace protocol::to_client;

class PrivateChats : public ::testing::Test {
protected:
    test::TempFolder folder;
    TestClient client{folder.Path().string(),
                      [](ClientSessionSettings& s) { s.options.privateChatLogging = s.options.messageSound = true; }};

    void SetUp() override {
        client.Receive(UserEntry(1, 2, "Bob", "Available", false));
        client.Receive(UserEntry(2, 3, "Anna", "Available", true));
    }
    std::string BobLog() const { return ReadFile(folder.Path() / "Chat logs" / "Private chat" / "Bob.txt"); }
    static std::string Logged(const std::string& lines) {
        return std::string("Session start (") + kLogTime + ")" + lines;
    }
};

TEST_F(PrivateChats, AFirstLineOpensAMinimisedFlashingWindowWithSound) {
    std::filesystem::create_directories(folder.Path() / "Sounds");
    std::ofstream(folder.Path() / "Sounds" / "message.wav") << "RIFF";
    client.Receive(PrivateMessage(1, "0hi there"));
    ASSERT_EQ(client.alive.size(), 1u);
    RecordingPrivateWindow& window = *client.Window(0);
    EXPECT_EQ(window.caption, "[1] Bob");
    EXPECT_EQ(std::pair(window.shownMinimised, window.shownInFront), std::pair(1, 0));
    EXPECT_EQ(window.flashes, 1);
    EXPECT_EQ(client.played.size(), 1u);
    EXPECT_EQ(Runs(window.view, 5), "\n[09:05] {5}Bob{15*}:{5*} {5}hi there{6}");
    EXPECT_EQ(BobLog(), Logged(std::string("\r\n[") + kLogTime + "] Bob: hi there"));
    EXPECT_EQ(client.ViewText(), "");
}

TEST_F(PrivateChats, LinesCountInTheCaptionOnlyWhileTheWindowIsNotInFront) {
    client.Receive(PrivateMessage(1, "0one"));
    RecordingPrivateWindow& window = *client.Window(0);
    client.Receive(PrivateMessage(1, "1waves"));
    client.Receive(PrivateMessage(1, "2listen"));
    EXPECT_EQ(client.popups.back(), "Bob says: listen|0|1");
    EXPECT_EQ(window.caption, "[3] Bob");
    window.foreground = true;
    client.Receive(PrivateMessage(1, "0seen"));
    EXPECT_EQ(window.caption, "[3] Bob");
    EXPECT_EQ(window.flashes, 3);
    EXPECT_EQ(client.alive.size(), 1u);
    EXPECT_TRUE(client.played.empty());  // no sound file in this folder

    window.foreground = false;
    for (int i = 0; i < 997; ++i) client.Receive(PrivateMessage(1, "0x"));
    EXPECT_EQ(window.caption, "[1000] Bob");
    client.Receive(PrivateMessage(1, "0x"));
    client.Receive(PrivateMessage(1, "0x"));
    EXPECT_EQ(window.caption, "[1000+] Bob");
    client.Receive(UserLeft(1, false));
    EXPECT_EQ(window.caption, "[1000+] Bob - offline");

    client->OnPrivateWindowActivated(&window);
    EXPECT_EQ(window.caption, "Bob - offline");
    EXPECT_EQ(client->privateChats().First().newLineCount(), 0);
    EXPECT_FALSE(client->privateChats().First().flashing());
    window.caption = "something else";  // nothing unread: the caption is left alone
    client->OnPrivateWindowActivated(&window);
    EXPECT_EQ(window.caption, "something else");
}

TEST_F(PrivateChats, APartnerWhoLeavesComesBackByNameUnderANewId) {
    client.Receive(UserEntry(3, 3, "Carl", "Available", false));
    client.Receive(PrivateMessage(1, "0hi"));
    RecordingPrivateWindow& window = *client.Window(0);
    window.view.Forget();
    client.Receive(UserLeft(1, false));
    EXPECT_EQ(window.caption, "[1] Bob - offline");
    EXPECT_EQ(window.flashes, 2);  // flashed again: it was flashing
    EXPECT_EQ(Runs(window.view), "\n\t[09:05] {5}Bob{15} - offline.{4}");
    EXPECT_EQ(client->privateChats().First().peerId(), kOfflinePeer);

    client.Receive(UserJoined(7, 3, "Eve"));  // someone else: still offline
    EXPECT_EQ(client->privateChats().First().peerId(), kOfflinePeer);
    client.Receive(UserJoined(8, 3, "Bob"));
    EXPECT_EQ(client->privateChats().First().peerId(), 8);
    EXPECT_EQ(client->privateChats().First().offlineName(), "");
    EXPECT_EQ(window.caption, "[1] Bob");
    EXPECT_EQ(Runs(window.view, 3), "\n\t[09:05] {5}Bob{16} - online.{4}");
    EXPECT_EQ(BobLog(), Logged(std::string("\r\n[") + kLogTime + "] Bob: hi\r\n\t[" + kLogTime +
                               "] Bob - offline.\r\n\t[" + kLogTime + "] Bob - online."));
}

TEST_F(PrivateChats, RenamesAndStatusChangesReachThePartnersWindow) {
    client->OpenPrivateChat(1);
    client->OpenPrivateChat(1);
    client->OpenPrivateChat(99);  // unknown user: nothing
    ASSERT_EQ(client.alive.size(), 1u);
    RecordingPrivateWindow& window = *client.Window(0);
    EXPECT_EQ(window.caption, "Bob");
    EXPECT_EQ(window.shownInFront, 2);
    window.view.Forget();
    client.Receive(UserStatusChanged(1, "Away"));
    EXPECT_EQ(Runs(window.view), "\n\t[09:05] {5}Bob{15} changed status to: {5}Away{6}");
    window.view.Forget();
    client.Receive(UserRenamed(1, "Rob"));
    EXPECT_EQ(window.caption, "Rob");
    EXPECT_EQ(window.view.Text(), "\n\t[09:05] Bob changed name to: Rob");
    EXPECT_EQ(client.ViewText(), "\n\t[09:05] Bob changed name to: Rob");
}

TEST_F(PrivateChats, ClosingWritesTheSessionCloseAndAWindowSendsNothingUnconnected) {
    client->OpenPrivateChat(1);
    client->SendPrivateInput(client.Window(0), "hello");
    EXPECT_EQ(client.Window(0)->view.Text().find("hello"), std::string::npos);
    client->ClosePrivateChat(client.Window(0));
    EXPECT_TRUE(client.alive.empty());
    EXPECT_EQ(BobLog(), Logged(std::string("\r\nSession close (") + kLogTime + ")"));
    client.Receive(PrivateMessage(1, "0again"));
    EXPECT_EQ(client.Window(0)->caption, "[1] Bob");
}

}  // namespace
}  // namespace vorlan::client
