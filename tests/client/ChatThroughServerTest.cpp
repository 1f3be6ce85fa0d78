// Real clients talking through a real server over loopback. The server admits
// 127.0.0.1 as its host; other loopback addresses are other machines.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "protocol/ClientToServer.h"
#include "server/ChatServer.h"

namespace vorlan::client {
namespace {

using namespace test_support;

struct QuietServerObserver : server::ServerObserver {
    void OnServerNotice(std::string_view) override {}
    void OnServerStateChanged(bool, bool) override {}
    void OnServerPopupRequest(std::string_view) override {}
};

class ChatThroughServer : public ::testing::Test {
protected:
    QuietServerObserver observer;
    server::ChatServer chatServer{observer};
    test::TempFolder annaFolder, bobFolder, carlFolder;
    std::unique_ptr<TestClient> anna, bob, carl;

    void SetUp() override {
        chatServer.SetChatPort(0);
        chatServer.SetTopic("Welcome");
        ASSERT_TRUE(chatServer.StartServer());
        anna = MakeClient(annaFolder, "Anna", "127.0.0.1");
        bob = MakeClient(bobFolder, "Bob", "127.0.0.2");
        carl = MakeClient(carlFolder, "Carl", "127.0.0.3");
    }
    std::unique_ptr<TestClient> MakeClient(test::TempFolder& folder, const std::string& name, const std::string& address) {
        auto client = std::make_unique<TestClient>(folder.Path().string(), [&](ClientSessionSettings& s) {
            s.options.chatPort = chatServer.ListeningPort();
            s.options.mainChatLogging = s.options.privateChatLogging = name == "Anna";
            s.profile.name = name;
            s.profile.country = name + "land";
            s.bindAddress = address;
        });
        (*client)->Start();
        return client;
    }
    // Connects and waits until every connected client lists `users` users.
    void Join(TestClient& client, std::size_t users) {
        client->Connect("127.0.0.1");
        ASSERT_TRUE(WaitFor([&] {
            for (TestClient* c : {anna.get(), bob.get(), carl.get()}) {
                if (c->session->connected() && c->userTree.rows.size() != users) return false;
            }
            return client->ownId() > 0;
        }));
    }
    void Command(TestClient& client, int selected, int command) {
        client.userTree.selected = selected;
        client->OnUserMenuCommand(command);
    }
};

TEST_F(ChatThroughServer, ChatPrivateLinesAdminRightsAndMutesReachEveryone) {
    Join(*anna, 1);
    Join(*bob, 2);
    const int bobId = (*bob)->ownId();
    EXPECT_EQ(bob->userTree.Render(), "Admins: Anna | Normal: Bob");
    EXPECT_EQ(bob->recentServers.items[0].label, std::string(kLogTime) + " - 127.0.0.1 - Welcome");
    EXPECT_TRUE(anna->AdminMenusInstalled() && !bob->AdminMenusInstalled());

    (*anna)->SendMainInput("hello, see www.example.org");
    ASSERT_TRUE(WaitFor([&] { return bob->ViewEndsWith("hello, see www.example.org"); }));
    EXPECT_EQ(Runs(bob->mainView, 5), "\n[09:05] {5}Anna{13*}:{5*} {5}hello, see www.example.org{6}");
    (*bob)->SendMainInput("/me waves");
    ASSERT_TRUE(WaitFor([&] { return anna->ViewEndsWith("\n\t[09:05] Bob waves"); }));
    (*anna)->SendMainInput("/topic Tea at five");
    ASSERT_TRUE(WaitFor([&] { return bob->ViewEndsWith("\n\t[09:05] Topic changed to: Tea at five"); }));
    (*bob)->OpenPrivateChat((*anna)->ownId());
    (*bob)->SendPrivateInput(bob->Window(0), "psst");
    ASSERT_TRUE(WaitFor([&] { return anna->Window(0) != nullptr && anna->Window(0)->view.Text().ends_with("psst"); }));
    EXPECT_EQ(anna->Window(0)->caption, "[1] Bob");
    EXPECT_TRUE(bob->Window(0)->view.Text().ends_with("\n[09:05] Bob: psst"));

    EXPECT_EQ((anna->userTree.selected = bobId, (*anna)->UserMenuFor()), (UserMenuState{true, "Mute", true, true, false, true}));
    Command(*anna, bobId, menu::kEnableAdmin);
    ASSERT_TRUE(WaitFor([&] { return bob->AdminMenusInstalled() && anna->userTree.Render() == "Admins: Anna, Bob"; }));
    EXPECT_EQ(bob->userTree.Row(bobId)->colour, kNormalAdminColour);
    Command(*anna, bobId, menu::kDisableAdmin);
    ASSERT_TRUE(WaitFor([&] { return !bob->AdminMenusInstalled() && anna->userTree.Render() == "Admins: Anna | Normal: Bob"; }));
    Command(*anna, bobId, menu::kMuteToggle);
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.Row(bobId)->label == "[Bob]"; }));
    (*bob)->SendMainInput("anyone?");
    (*bob)->ToggleMainChat();
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.Row(bobId)->label == "[(Bob)]"; }));
    EXPECT_EQ(anna->ViewText().find("anyone?"), std::string::npos);  // muted
    ASSERT_TRUE(WaitFor([&] { return bob->ViewEndsWith("\n\t[09:05] Main chat closed."); }));

    bob->session.reset();  // Bob's program goes away
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.rows.size() == 1; }));
    EXPECT_EQ(anna->Window(0)->caption, "[1] Bob - offline");
    (*anna)->Shutdown();
    const std::string t = std::string("\r\n\t[") + kLogTime + "] ", p = std::string("\r\n[") + kLogTime + "] ";
    const std::string left = anna->ViewText().find("lost the connection") != std::string::npos ? "lost the connection." : "left the server.";
    EXPECT_EQ(ReadFile(annaFolder.Path() / "Chat logs" / "mainchat.txt"),
              std::string("Session start (") + kLogTime + ")" + t + "Connected." + p + "Topic: Welcome" + t +
                  "Bob has joined the server." + p + "Anna: hello, see www.example.org" + t + "Bob waves" + t +
                  "Topic changed to: Tea at five" + t + "Bob has " + left + t + "Disconnected.\r\nSession close (" + kLogTime + ")");
    EXPECT_EQ(ReadFile(annaFolder.Path() / "Chat logs" / "Private chat" / "Bob.txt"),
              std::string("Session start (") + kLogTime + ")" + p + "Bob: psst" + t + "Bob - offline.\r\nSession close (" + kLogTime + ")");
}

TEST_F(ChatThroughServer, QueriesAreAnsweredAndKickedAndBannedUsersLeaveEveryTree) {
    Join(*anna, 1);
    Join(*bob, 2);
    Join(*carl, 3);
    const int annaId = (*anna)->ownId(), bobId = (*bob)->ownId(), carlId = (*carl)->ownId();
    (*anna)->OnStatusCommand(menu::kStatusBeRightBack);
    Command(*bob, annaId, menu::kShowInfo);
    ASSERT_TRUE(WaitFor([&] { return bob->infoShown == 1; }));
    EXPECT_EQ(bob->infoCaption + bob->infoFields[0] + bob->infoFields[2] + bob->infoFields[8], "Anna's infoAnnaAnnalandBe right back");
    Command(*bob, annaId, menu::kShowVersion);
    ASSERT_TRUE(WaitFor([&] { return bob->ViewEndsWith("\n\t[09:05] Anna's version: 1.17"); }));
    Command(*anna, bobId, menu::kShowAddress);
    ASSERT_TRUE(WaitFor([&] { return anna->ViewEndsWith("\n\t[09:05] Bob's IP address: 127.0.0.2"); }));
    anna->connections.open = true;
    (*anna)->SendMessage(protocol::to_server::ConnectionsRequest());
    ASSERT_TRUE(WaitFor([&] { return anna->connections.rows.size() == 3; }));
    EXPECT_EQ(anna->connections.rows[0], (RemoteConnectionRow{annaId, kAdminsGroupId, "Anna - 127.0.0.1", kHostColour, false, false}));
    EXPECT_EQ(anna->connections.rows[1].label, "Bob - 127.0.0.2");

    Command(*anna, bobId, menu::kKick);
    ASSERT_TRUE(WaitFor([&] { return carl->ViewEndsWith("\n\t[09:05] Bob has been kicked by Anna."); }));
    ASSERT_TRUE(WaitFor([&] { return !(*bob)->connected(); }));
    EXPECT_TRUE(bob->userTree.rows.empty());
    EXPECT_EQ(carl->userTree.Render(), "Admins: Anna | Normal: Carl");
    Command(*anna, carlId, menu::kBan);
    ASSERT_TRUE(WaitFor([&] { return anna->ViewEndsWith("\n\t[09:05] Carl has been banned by Anna."); }));
    ASSERT_TRUE(WaitFor([&] { return !(*carl)->connected(); }));
    EXPECT_EQ(anna->popups.back(), "Carl has been banned by Anna");  // whether or not the window is in front
    (*carl)->ConnectToLocalServer();  // the banned address is refused at once
    ASSERT_TRUE(WaitFor([&] { return (*carl)->State() == ConnectionState::Idle; }));
    EXPECT_EQ(anna->userTree.Render(), "Admins: Anna");
}

}  // namespace
}  // namespace vorlan::client
