// Real clients talking through a real server over loopback. The server admits
// 127.0.0.1 as its host; other loopback addresses are other machines.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "protocol/ClientToServer.h"
#include "server/ChatServer.h"

namespace vorlan::client {
namespace {

using namespace test_support;

class QuietServerObserver : public server::ServerObserver {
public:
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
        anna = MakeClient(annaFolder, "Anna", "127.0.0.1", true);
        bob = MakeClient(bobFolder, "Bob", "127.0.0.2", false);
        carl = MakeClient(carlFolder, "Carl", "127.0.0.3", false);
    }
    std::unique_ptr<TestClient> MakeClient(test::TempFolder& folder, const std::string& name,
                                           const std::string& localAddress, bool logging) {
        auto client = std::make_unique<TestClient>(folder.Path().string(), [&](ClientSessionSettings& s) {
            s.options.chatPort = chatServer.ListeningPort();
            s.options.mainChatLogging = logging;
            s.options.privateChatLogging = logging;
            s.profile.name = name;
            s.profile.country = name + "land";
            s.bindAddress = localAddress;
        });
        (*client)->Start();
        return client;
    }
    // Connects and waits until every client, this one included, lists `users` users.
    void Join(TestClient& client, const std::string& address, std::size_t users) {
        client->Connect(address);
        ASSERT_TRUE(WaitFor([&] {
            for (TestClient* c : {anna.get(), bob.get(), carl.get()}) {
                if (c->session->connected() && c->userTree.rows.size() != users) return false;
            }
            return client->ownId() > 0;
        }));
    }
    void Select(TestClient& client, int id) { client.userTree.selected = id; }
    static bool Ends(const TestClient& client, const std::string& text) {
        const std::string& all = client.ViewText();
        return all.size() >= text.size() && all.compare(all.size() - text.size(), text.size(), text) == 0;
    }
};

TEST_F(ChatThroughServer, TwoClientsChatInTheMainChatAndPrivately) {
    Join(*anna, "127.0.0.1", 1);
    Join(*bob, "127.0.0.1", 2);
    EXPECT_EQ(anna->userTree.Render(), "Admins: Anna | Normal: Bob");
    EXPECT_EQ(bob->userTree.Render(), "Admins: Anna | Normal: Bob");
    EXPECT_EQ(bob->recentServers.items[0].label, std::string(kLogTime) + " - 127.0.0.1 - Welcome");
    EXPECT_TRUE(anna->adminMenus.Installed());
    EXPECT_FALSE(bob->adminMenus.Installed());

    (*anna)->SendMainInput("hello, see www.example.org");
    ASSERT_TRUE(WaitFor([&] { return Ends(*bob, "hello, see www.example.org"); }));
    const auto& runs = bob->mainView.Runs();
    EXPECT_EQ(std::vector<ViewRun>(runs.end() - 5, runs.end()),
              (std::vector<ViewRun>{{"\n[09:05] ", kText, false},
                                    {"Anna", kHostColour, true},
                                    {":", kText, true},
                                    {" ", kText, false},
                                    {"hello, see www.example.org", kMessage, false}}));

    (*bob)->SendMainInput("/me waves");
    ASSERT_TRUE(WaitFor([&] { return Ends(*anna, "\n\t[09:05] Bob waves"); }));
    (*anna)->SendMainInput("/topic Tea at five");
    ASSERT_TRUE(WaitFor([&] { return Ends(*bob, "\n\t[09:05] Topic changed to: Tea at five"); }));
    ASSERT_TRUE(WaitFor([&] { return Ends(*anna, "\n\t[09:05] Topic changed to: Tea at five"); }));

    (*bob)->OpenPrivateChat((*anna)->ownId());
    (*bob)->SendPrivateInput(bob->Window(0), "psst");
    ASSERT_TRUE(WaitFor([&] { return anna->Window(0) != nullptr && anna->Window(0)->view.Text().ends_with("psst"); }));
    EXPECT_EQ(anna->Window(0)->caption, "[1] Bob");
    EXPECT_EQ(anna->Window(0)->shownMinimised, 1);
    EXPECT_TRUE(bob->Window(0)->view.Text().ends_with("\n[09:05] Bob: psst"));

    bob->session.reset();  // Bob's program goes away
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.rows.size() == 1; }));
    EXPECT_EQ(anna->Window(0)->caption, "[1] Bob - offline");

    (*anna)->Shutdown();
    const std::string t = kLogTime;
    const std::string leftLine = anna->ViewText().find("lost the connection") != std::string::npos
                                     ? "Bob has lost the connection."
                                     : "Bob has left the server.";
    EXPECT_EQ(ReadFile(annaFolder.Path() / "Chat logs" / "mainchat.txt"),
              "Session start (" + t + ")" + "\r\n\t[" + t + "] Connected." + "\r\n[" + t + "] Topic: Welcome" +
                  "\r\n\t[" + t + "] Bob has joined the server." + "\r\n[" + t + "] Anna: hello, see www.example.org" +
                  "\r\n\t[" + t + "] Bob waves" + "\r\n\t[" + t + "] Topic changed to: Tea at five" + "\r\n\t[" + t +
                  "] " + leftLine + "\r\n\t[" + t + "] Disconnected." + "\r\nSession close (" + t + ")");
    EXPECT_EQ(ReadFile(annaFolder.Path() / "Chat logs" / "Private chat" / "Bob.txt"),
              "Session start (" + t + ")" + "\r\n[" + t + "] Bob: psst" + "\r\n\t[" + t + "] Bob - offline." +
                  "\r\nSession close (" + t + ")");
}

TEST_F(ChatThroughServer, AdminRightsMutesAndTheMainChatStateShowEverywhere) {
    Join(*anna, "127.0.0.1", 1);
    Join(*bob, "127.0.0.1", 2);
    const int bobId = (*bob)->ownId();

    Select(*anna, bobId);
    EXPECT_EQ((*anna)->UserMenuFor(), (UserMenuState{true, "Mute", true, true, false, true}));
    (*anna)->OnUserMenuCommand(menu::kEnableAdmin);
    ASSERT_TRUE(WaitFor([&] { return bob->adminMenus.Installed(); }));
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.Render() == "Admins: Anna, Bob"; }));
    EXPECT_EQ(bob->userTree.Render(), "Admins: Anna, Bob");
    EXPECT_EQ(bob->userTree.Row(bobId)->colour, kNormalAdminColour);

    (*anna)->OnUserMenuCommand(menu::kDisableAdmin);
    ASSERT_TRUE(WaitFor([&] { return !bob->adminMenus.Installed(); }));
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.Render() == "Admins: Anna | Normal: Bob"; }));

    (*anna)->OnUserMenuCommand(menu::kMuteToggle);
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.Row(bobId)->label == "[Bob]"; }));
    (*bob)->SendMainInput("anyone?");
    (*bob)->ToggleMainChat();
    ASSERT_TRUE(WaitFor([&] { return anna->userTree.Row(bobId)->label == "[(Bob)]"; }));
    EXPECT_EQ(anna->ViewText().find("anyone?"), std::string::npos);  // muted
    ASSERT_TRUE(WaitFor([&] { return Ends(*bob, "\n\t[09:05] Main chat closed."); }));
    EXPECT_EQ(bob->userTree.Row(bobId)->label, "(Bob)");
}

TEST_F(ChatThroughServer, QueriesAreAnsweredByTheOtherClient) {
    Join(*anna, "127.0.0.1", 1);
    Join(*bob, "127.0.0.1", 2);
    const int annaId = (*anna)->ownId();
    const int bobId = (*bob)->ownId();
    (*anna)->OnStatusCommand(menu::kStatusBeRightBack);

    Select(*bob, annaId);
    (*bob)->OnUserMenuCommand(menu::kShowInfo);
    ASSERT_TRUE(WaitFor([&] { return bob->info.shown == 1; }));
    EXPECT_EQ(bob->info.caption, "Anna's info");
    EXPECT_EQ(bob->info.fields[0], "Anna");
    EXPECT_EQ(bob->info.fields[2], "Annaland");
    EXPECT_EQ(bob->info.fields[8], "Be right back");

    (*bob)->OnUserMenuCommand(menu::kShowVersion);
    ASSERT_TRUE(WaitFor([&] { return Ends(*bob, "\n\t[09:05] Anna's version: 1.17"); }));

    Select(*anna, bobId);
    (*anna)->OnUserMenuCommand(menu::kShowAddress);
    ASSERT_TRUE(WaitFor([&] { return Ends(*anna, "\n\t[09:05] Bob's IP address: 127.0.0.2"); }));

    anna->connections.open = true;
    (*anna)->SendMessage(protocol::to_server::ConnectionsRequest());
    ASSERT_TRUE(WaitFor([&] { return anna->connections.rows.size() == 2; }));
    EXPECT_EQ(anna->connections.rows[0],
              (RemoteConnectionRow{annaId, kAdminsGroupId, "Anna - 127.0.0.1", kHostColour, false, false}));
    EXPECT_EQ(anna->connections.rows[1].label, "Bob - 127.0.0.2");
}

TEST_F(ChatThroughServer, KickedAndBannedUsersLeaveEveryTree) {
    Join(*anna, "127.0.0.1", 1);
    Join(*bob, "127.0.0.1", 2);
    Join(*carl, "127.0.0.1", 3);
    const int bobId = (*bob)->ownId();
    const int carlId = (*carl)->ownId();

    Select(*anna, bobId);
    (*anna)->OnUserMenuCommand(menu::kKick);
    ASSERT_TRUE(WaitFor([&] { return Ends(*carl, "\n\t[09:05] Bob has been kicked by Anna."); }));
    ASSERT_TRUE(WaitFor([&] { return !(*bob)->connected(); }));
    EXPECT_TRUE(bob->userTree.rows.empty());
    EXPECT_EQ(carl->userTree.Render(), "Admins: Anna | Normal: Carl");

    Select(*anna, carlId);
    (*anna)->OnUserMenuCommand(menu::kBan);
    ASSERT_TRUE(WaitFor([&] { return Ends(*anna, "\n\t[09:05] Carl has been banned by Anna."); }));
    ASSERT_TRUE(WaitFor([&] { return !(*carl)->connected(); }));
    EXPECT_EQ(anna->userTree.Render(), "Admins: Anna");
    // Events pop up whether or not the main window is in front.
    EXPECT_EQ(anna->popups.popups.back(), (RecordingPopups::Popup{"Carl has been banned by Anna", 0, 0}));
    // The banned address is refused at once on its next attempt.
    (*carl)->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return (*carl)->State() == ConnectionState::Idle; }));
    EXPECT_EQ(anna->userTree.Render(), "Admins: Anna");
}

}  // namespace
}  // namespace vorlan::client
