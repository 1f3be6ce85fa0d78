#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/PrivateChat.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
namespace to_client = protocol::to_client;

TEST(PrivateChatCaption, CountsAndOfflineMark) {
    EXPECT_EQ(PrivateChatCaption(0, "Bob", false), "Bob");
    EXPECT_EQ(PrivateChatCaption(3, "Bob", false), "[3] Bob");
    EXPECT_EQ(PrivateChatCaption(1000, "Bob", false), "[1000] Bob");
    EXPECT_EQ(PrivateChatCaption(1001, "Bob", true), "[1000+] Bob - offline");
    EXPECT_EQ(PrivateChatCaption(0, "Bob", true), "Bob - offline");
}

class PrivateChats : public ::testing::Test {
protected:
    test::TempFolder folder;
    TestClient client{folder.Path().string(), [](ClientSessionSettings& s) {
                          s.options.privateChatLogging = true;
                          s.options.messageSound = true;
                      }};

    void SetUp() override {
        client.Receive(to_client::UserEntry(1, 2, "Bob", "Available", false));
        client.Receive(to_client::UserEntry(2, 3, "Anna", "Available", true));
    }
    std::string BobLog() const { return ReadFile(folder.Path() / "Chat logs" / "Private chat" / "Bob.txt"); }
};

TEST_F(PrivateChats, AFirstLineOpensAMinimisedFlashingWindow) {
    std::filesystem::create_directories(folder.Path() / "Sounds");
    std::ofstream(folder.Path() / "Sounds" / "message.wav") << "RIFF";

    client.Receive(to_client::PrivateMessage(1, "0hi there"));
    ASSERT_EQ(client.privateWindows.alive.size(), 1u);
    RecordingPrivateWindow& window = *client.Window(0);
    EXPECT_EQ(window.caption, "[1] Bob");
    EXPECT_EQ(window.shownMinimised, 1);
    EXPECT_EQ(window.shownInFront, 0);
    EXPECT_EQ(window.flashes, 1);
    EXPECT_EQ(client.sounds.played.size(), 1u);
    const auto& runs = window.view.Runs();
    ASSERT_GE(runs.size(), 5u);
    EXPECT_EQ(std::vector<ViewRun>(runs.end() - 5, runs.end()),
              (std::vector<ViewRun>{{"\n[09:05] ", kText, false},
                                    {"Bob", kNormalAdminColour, true},
                                    {":", kText, true},
                                    {" ", kText, false},
                                    {"hi there", kMessage, false}}));
    EXPECT_EQ(BobLog(), std::string("Session start (") + kLogTime + ")\r\n[" + kLogTime + "] Bob: hi there");
    EXPECT_EQ(client.ViewText(), "");  // nothing in the main view
}

TEST_F(PrivateChats, LaterLinesCountOnlyWhileTheWindowIsNotInFront) {
    client.Receive(to_client::PrivateMessage(1, "0one"));
    RecordingPrivateWindow& window = *client.Window(0);
    client.Receive(to_client::PrivateMessage(1, "1waves"));
    EXPECT_EQ(window.caption, "[2] Bob");
    EXPECT_EQ(window.flashes, 2);
    client.Receive(to_client::PrivateMessage(1, "2listen"));
    EXPECT_EQ(client.popups.popups.back(), (RecordingPopups::Popup{"Bob says: listen", 0, 1}));
    EXPECT_EQ(window.caption, "[3] Bob");

    window.foreground = true;
    client.Receive(to_client::PrivateMessage(1, "0seen"));
    EXPECT_EQ(window.caption, "[3] Bob");
    EXPECT_EQ(window.flashes, 3);
    EXPECT_EQ(client.privateWindows.alive.size(), 1u);
    EXPECT_EQ(client.sounds.played.size(), 0u);  // no sound file in this folder

    window.foreground = false;
    for (int i = 0; i < 1000; ++i) client.Receive(to_client::PrivateMessage(1, "0x"));
    EXPECT_EQ(window.caption, "[1000+] Bob");

    client->OnPrivateWindowActivated(&window);
    EXPECT_EQ(window.caption, "Bob");
    EXPECT_EQ(client->privateChats().First().newLineCount(), 0);
    EXPECT_FALSE(client->privateChats().First().flashing());
}

TEST_F(PrivateChats, APartnerWhoLeavesGoesOfflineAndComesBackUnderANewId) {
    client.Receive(to_client::PrivateMessage(1, "0hi"));
    RecordingPrivateWindow& window = *client.Window(0);
    window.view.Forget();

    client.Receive(to_client::UserLeft(1, false));
    EXPECT_EQ(window.caption, "[1] Bob - offline");
    EXPECT_EQ(window.flashes, 2);  // flashed again: it was flashing
    EXPECT_EQ(window.view.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Bob", kNormalAdminColour, false},
                                                        {" - offline.", kNotice, false}}));
    EXPECT_EQ(client->privateChats().First().peerId(), kOfflinePeer);
    EXPECT_EQ(client->privateChats().First().offlineName(), "Bob");

    client.Receive(to_client::UserJoined(8, 3, "Bob"));
    EXPECT_EQ(client->privateChats().First().peerId(), 8);
    EXPECT_EQ(client->privateChats().First().offlineName(), "");
    EXPECT_EQ(window.caption, "[1] Bob");
    EXPECT_EQ(window.view.Text(), "\n\t[09:05] Bob - offline.\n\t[09:05] Bob - online.");
    EXPECT_EQ(window.view.Runs().back(), (ViewRun{" - online.", kNotice, false}));
    EXPECT_EQ(BobLog(), std::string("Session start (") + kLogTime + ")\r\n[" + kLogTime + "] Bob: hi\r\n\t[" +
                            kLogTime + "] Bob - offline.\r\n\t[" + kLogTime + "] Bob - online.");
}

TEST_F(PrivateChats, ActivatingAnOfflineWindowRebuildsItsCaptionOnlyWithUnreadLines) {
    client.Receive(to_client::PrivateMessage(1, "0hi"));
    RecordingPrivateWindow& window = *client.Window(0);
    client.Receive(to_client::UserRemoved("1", false, 2));
    client->OnPrivateWindowActivated(&window);
    EXPECT_EQ(window.caption, "Bob - offline");
    window.caption = "something else";
    client->OnPrivateWindowActivated(&window);
    EXPECT_EQ(window.caption, "something else");
}

TEST_F(PrivateChats, RenamesAndStatusChangesReachThePartnersWindow) {
    client->OpenPrivateChat(1);
    RecordingPrivateWindow& window = *client.Window(0);
    EXPECT_EQ(window.caption, "Bob");
    EXPECT_EQ(window.shownInFront, 1);
    window.view.Forget();

    client.Receive(to_client::UserStatusChanged(1, "Away"));
    EXPECT_EQ(window.view.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Bob", kNormalAdminColour, false},
                                                        {" changed status to: ", kText, false},
                                                        {"Away", kMessage, false}}));
    window.view.Forget();
    client.Receive(to_client::UserRenamed(1, "Rob"));
    EXPECT_EQ(window.caption, "Rob");
    EXPECT_EQ(window.view.Text(), "\n\t[09:05] Bob changed name to: Rob");
    EXPECT_EQ(client.ViewText(), "\n\t[09:05] Bob changed name to: Rob");
}

TEST_F(PrivateChats, OpeningAgainBringsTheSameWindowToTheFront) {
    client->OpenPrivateChat(1);
    client->OpenPrivateChat(1);
    client->OpenPrivateChat(99);  // unknown user: nothing
    ASSERT_EQ(client.privateWindows.alive.size(), 1u);
    EXPECT_EQ(client.Window(0)->shownInFront, 2);
}

TEST_F(PrivateChats, ClosingWritesTheSessionCloseAndDestroysTheWindow) {
    client->OpenPrivateChat(1);
    client->ClosePrivateChat(client.Window(0));
    EXPECT_TRUE(client.privateWindows.alive.empty());
    EXPECT_EQ(BobLog(), std::string("Session start (") + kLogTime + ")\r\nSession close (" + kLogTime + ")");
    client.Receive(to_client::PrivateMessage(1, "0again"));
    ASSERT_EQ(client.privateWindows.alive.size(), 1u);
    EXPECT_EQ(client.Window(0)->caption, "[1] Bob");
}

TEST_F(PrivateChats, TheOwnSideSendsNothingWithoutAConnection) {
    client->OpenPrivateChat(1);
    client->SendPrivateInput(client.Window(0), "hello");
    EXPECT_EQ(client.Window(0)->view.Text().find("hello"), std::string::npos);
}

}  // namespace
}  // namespace vorlan::client
