// The client against a raw server that sends and records exact bytes.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/ProfileEdit.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
namespace to_client = protocol::to_client;

class Connection : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::unique_ptr<RawServer> server = std::make_unique<RawServer>();
    std::uint16_t port = 0;
    std::unique_ptr<TestClient> client;

    void SetUp() override {
        ASSERT_TRUE(server->Start());
        port = server->LocalPort();
    }
    TestClient& Make(const std::function<void(ClientSessionSettings&)>& adjust = {}) {
        client = std::make_unique<TestClient>(folder.Path().string(), [&](ClientSessionSettings& s) {
            s.options.chatPort = port;
            s.options.clientPassword = "pw";
            if (adjust) adjust(s);
        });
        return *client;
    }
    TestClient& Connected(const std::function<void(ClientSessionSettings&)>& adjust = {}) {
        Make(adjust)->ConnectToLocalServer();
        EXPECT_TRUE(WaitFor(
            [&] { return (*client)->connected() && !server->peers.empty() && Received().size() >= Login().size(); }));
        return *client;
    }
    std::string& Received() { return server->Peer().received; }
    // Everything the server got, once it holds at least as many bytes as `expected`.
    std::string ReceivedOnce(const std::string& expected) {
        WaitFor([&] { return Received().size() >= expected.size(); });
        return Received();
    }
    void Drop(bool reset) {
        if (reset) server->Peer().SetLingerAbort();
        server->Peer().Close();
        ASSERT_TRUE(WaitFor([&] { return !(*client)->connected(); }));
    }
    std::string Menus() { return MenuStates((*client)->menu()); }
    static std::string Login() { return "00Anna" + Sep() + "pw" + Z(); }
};

TEST_F(Connection, ConnectingLogsInAndSwitchesTheMenus) {
    TestClient& c = Make();
    c.foreground = false;
    c->ConnectToLocalServer();
    EXPECT_EQ(c->State(), ConnectionState::Connecting);
    EXPECT_EQ(Menus(), "local- server- end+ status- 0 toggle- Close main chat | Available");
    EXPECT_EQ(c->serverAddress(), "127.0.0.1");
    ASSERT_TRUE(WaitFor([&] { return !server->peers.empty() && Received() == Login(); }));
    EXPECT_EQ(c->State(), ConnectionState::Connected);
    EXPECT_EQ(Menus(), "local- server- end+ status+ 5 toggle+ Close main chat | Available");
    EXPECT_TRUE(c.menuChanged[menu::kEndConnection].enabled);  // mirrored to the window
    EXPECT_EQ(Runs(c.mainView), "\n\t[09:05] {5}Connected.{4}");
    EXPECT_EQ(c.popups, std::vector<std::string>{"Connected."});
    EXPECT_EQ(c.tip, "Vorlan - connected");
    ASSERT_EQ(c.recentServers.items.size(), 1u);
    EXPECT_EQ(c.recentServers.items[0].label, std::string(kLogTime) + " - 127.0.0.1");
    EXPECT_EQ(c.recentServers.items[0].colour, kCurrentServer);
}

TEST_F(Connection, AnEmptyNameStillSendsTheSeparatorAndKeepAliveIsOneZeroByte) {
    Make([](ClientSessionSettings& s) {
        s.profile.name.clear(), s.options.clientPassword.clear(), s.keepAliveMs = 20;
    })->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return !server->peers.empty() && Received().size() >= 6; }));
    EXPECT_EQ(Received().substr(0, 6), "00" + Sep() + Z() + Z() + Z());
}

TEST_F(Connection, MessagesAreReassembledAndAnOverLongTailIsDropped) {
    TestClient& c = Connected();
    const std::string third = to_client::UserEntry(3, 3, "Carl", "Away", false);
    server->Send(to_client::UserEntry(1, 2, "Bob", "Busy", false) + Z() +
                 to_client::UserEntry(2, 0, "Anna", "x", true) + Z() + third.substr(0, 5));
    ASSERT_TRUE(WaitFor([&] { return c.userTree.rows.size() == 2; }));
    server->Send(third.substr(5) + Z() + Z());
    ASSERT_TRUE(WaitFor([&] { return c.userTree.Render() == "Admins: Bob, Anna | Normal: Carl"; }));
    // A user entry whose name never ends: kept whole it would add user 5. The
    // rest arrives as a message of its own and fails the code test.
    server->Send("005" + Sep() + "3" + std::string(2100, 'Z'));
    WaitFor([] { return false; }, 100);
    server->Send(Sep() + "Available0" + Z() + to_client::UserLeft(3, false) + Z());
    ASSERT_TRUE(WaitFor([&] { return c.userTree.rows.size() == 2; }));
    EXPECT_EQ(c.userTree.Render(), "Admins: Bob, Anna");
    // No server message is that long: one that arrives whole is dropped too.
    server->Send(to_client::MainChatMessage(1, "0" + std::string(60000, 'x')) + Z() +
                 to_client::MainChatMessage(1, "0ok") + Z());
    ASSERT_TRUE(WaitFor([&] { return c.ViewEndsWith("Bob: ok"); }));
    EXPECT_EQ(c.ViewText().find("xxx"), std::string::npos);
    EXPECT_TRUE(c->connected());
}

TEST_F(Connection, OneReceiveWritesEachViewInOneBatchAndTheSameTextAsMessagesOneByOne) {
    TestClient& c = Connected();
    std::vector<std::string> burst{to_client::UserEntry(1, 2, "Bob", "Busy", false),
                                   to_client::UserEntry(3, 0, "Carl", "x", false)};
    for (int i = 0; i < 30; ++i) {
        burst.push_back(to_client::MainChatMessage(1 + 2 * (i % 2), "0line " + std::to_string(i) + " www.a.b"));
        if (i % 10 == 0)
            burst.push_back(to_client::PrivateMessage(1 + 2 * (i % 20 / 10), "0private " + std::to_string(i)));
    }
    std::string bytes;
    for (const std::string& message : burst) bytes += message + Z();
    c.mainView.Forget();
    server->Send(bytes);
    ASSERT_TRUE(WaitFor([&] { return c.ViewEndsWith("line 29 www.a.b"); }));
    ASSERT_EQ(c.alive.size(), 2u);
    for (conversation::RecordingChatView* view : {&c.mainView, &c.Window(0)->view, &c.Window(1)->view}) {
        EXPECT_EQ(std::pair(view->BatchesBegun(), view->BatchesEnded()), std::pair(1, 1));
    }

    test::TempFolder otherFolder;
    TestClient reference(otherFolder.Path().string());
    for (const std::string& message : burst) reference.Receive(message);
    EXPECT_EQ(Runs(c.mainView), Runs(reference.mainView));
    ASSERT_EQ(reference.alive.size(), 2u);
    EXPECT_EQ(Runs(c.Window(0)->view), Runs(reference.Window(0)->view));
    EXPECT_EQ(Runs(c.Window(1)->view), Runs(reference.Window(1)->view));
    EXPECT_EQ(reference.mainView.BatchesBegun(), 0);  // handled without a receive: no batch

    // The next receive is a batch of its own, for the views it writes only.
    server->Send(to_client::MainChatMessage(1, "0again") + Z());
    ASSERT_TRUE(WaitFor([&] { return c.ViewEndsWith("Bob: again"); }));
    EXPECT_EQ(std::pair(c.mainView.BatchesBegun(), c.mainView.BatchesEnded()), std::pair(2, 2));
    EXPECT_EQ(c.Window(0)->view.BatchesBegun(), 1);
}

TEST_F(Connection, CommandsAndQueriesSendTheirExactBytes) {
    TestClient& c = Connected(
        [](ClientSessionSettings& s) { s.profile = {"Anna", "a@x", "NZ", "www.a", "tea", "f", "1.2.2000", "pic"}; });
    server->Send(to_client::UserEntry(5, 3, "Eve", "Away", false) + Z() +
                 to_client::UserEntry(2, 3, "Anna", "Available", true) + Z());
    ASSERT_TRUE(WaitFor([&] { return c->ownId() == 2; }));
    Received().clear();
    c->OnStatusCommand(menu::kStatusBusy);
    // Only queries from a user this client knows are answered: a stranger, id 0
    // or a requester that is no number would make it answer for nobody.
    server->Send(to_client::ProfileQuery(9) + Z() + to_client::VersionQuery(0) + Z() + "15x" + Z() + "115 " + Z() +
                 to_client::ProfileQuery(5) + Z() + to_client::VersionQuery(5) + Z());
    const std::string s = Sep();
    const std::string replies = "04Busy" + Z() + "105" + s + "Anna" + s + "a@x" + s + "NZ" + s + "www.a" + s + "tea" +
                                s + "f" + s + "1.2.2000" + s + "pic" + s + "Busy" + Z() + "145" + s + "1.17" + Z();
    EXPECT_EQ(ReceivedOnce(replies), replies);
    Received().clear();

    c->ToggleMainChat();
    EXPECT_EQ(Menus(), "local- server- end+ status+ 5 toggle+ Open main chat | Busy");
    c->SendMainInput("dropped while closed");
    c->ToggleMainChat();
    c->SendMainInput("hello");
    EXPECT_TRUE(c->SetCustomStatus("Cooking"));
    UpdateProfile(*c.session, {"Annabel", "", "", "", "", "", "", ""});
    const std::string commands = "051" + Z() + "050" + Z() + "020hello" + Z() + "04Cooking" + Z() + "03Annabel" + Z();
    EXPECT_EQ(ReceivedOnce(commands), commands);
    EXPECT_EQ(Menus(), "local- server- end+ status+ 5 toggle+ Close main chat | Custom");
    EXPECT_EQ(Runs(c.mainView, 1), " hello{5}");
}

TEST_F(Connection, AnOrderlyCloseByTheServerEndsEverything) {
    TestClient& c = Connected();
    c->OwnServerChanged(true, true);  // the own server runs: the local entry comes back afterwards
    server->Send(to_client::UserEntry(1, 2, "Bob", "Busy", false) + Z() +
                 to_client::UserEntry(2, 1, "Anna", "Available", true) + Z());
    ASSERT_TRUE(WaitFor([&] { return c.userTree.rows.size() == 2; }));
    c->OnStatusCommand(menu::kStatusAway);
    c->ToggleMainChat();
    c->OpenPrivateChat(1);
    // Closing with unread bytes would reset the connection instead.
    ASSERT_TRUE(WaitFor([&] { return Received().size() == Login().size() + 11; }));
    Drop(false);
    EXPECT_TRUE(c.ViewEndsWith("\n\t[09:05] Connection closed."));
    EXPECT_EQ(c->State(), ConnectionState::Idle);
    EXPECT_EQ(Menus(), "local+ server+ end- status- 0 toggle- Close main chat | Available");
    EXPECT_EQ(c->statusText(), "Available");
    EXPECT_TRUE(c.userTree.rows.empty());
    EXPECT_FALSE(c.AdminMenusInstalled());
    EXPECT_EQ(c.tip, "Vorlan - server running");
    EXPECT_EQ(c.recentServers.items[0].colour, kTreeText);
    EXPECT_EQ(c.Window(0)->caption, "Bob - offline");
    EXPECT_EQ(c.cancelledAll, 1);
}

TEST_F(Connection, ALostConnectionWithoutTheReconnectOptionStaysDown) {
    TestClient& c = Connected([](ClientSessionSettings& s) { s.options.reconnect = false; });
    Drop(true);
    EXPECT_TRUE(c.ViewEndsWith("\n\t[09:05] Connection lost."));
    EXPECT_EQ(c->State(), ConnectionState::Idle);
    EXPECT_EQ(Menus(), "local- server+ end- status- 0 toggle- Close main chat | Available");
}

TEST_F(Connection, ALostConnectionIsRetriedSilentlyUntilTheServerIsBackOrTheUserEndsIt) {
    TestClient& c = Connected([](ClientSessionSettings& s) { s.reconnectMs = 20; });
    c.foreground = false;
    server->Close();
    Drop(true);
    EXPECT_TRUE(c.ViewEndsWith("\n\t[09:05] Connected.\n\t[09:05] Connection lost. Attempting to reconnect..."));
    EXPECT_EQ(c.popups.back(), "Connection lost. Attempting to reconnect...");
    WaitFor([] { return false; }, 200);  // several refused retries, none of them reported
    EXPECT_TRUE(c.ViewEndsWith("Attempting to reconnect..."));
    EXPECT_EQ(c.popups.size(), 1u);
    EXPECT_TRUE(c->reconnecting());
    EXPECT_NE(c->State(), ConnectionState::Idle);

    server = std::make_unique<RawServer>();
    ASSERT_TRUE(server->Start(port));
    ASSERT_TRUE(WaitFor([&] { return c->connected() && !server->peers.empty() && Received() == Login(); }));
    EXPECT_TRUE(c.ViewEndsWith("Attempting to reconnect...\n\t[09:05] Connected."));
    EXPECT_FALSE(c->reconnecting());
    EXPECT_EQ(c.recentServers.items.size(), 1u);

    server->Close();
    Drop(true);
    ASSERT_TRUE(WaitFor([&] { return c->State() == ConnectionState::WaitingToReconnect; }));
    const std::string before = c.ViewText();
    c->EndConnection();
    EXPECT_EQ(c.ViewText(), before);  // not connected: no "Disconnected."
    server = std::make_unique<RawServer>();
    ASSERT_TRUE(server->Start(port));
    WaitFor([] { return false; }, 150);
    EXPECT_TRUE(server->peers.empty());
    EXPECT_EQ(c->State(), ConnectionState::Idle);
}

TEST_F(Connection, ARefusedConnectIsReported) {
    server->Close();
    TestClient& c = Make();
    c->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return c->State() == ConnectionState::Idle; }));
    EXPECT_EQ(c.ViewText(), "\n\t[09:05] Couldn't connect.");
    EXPECT_TRUE(c.popups.empty());  // the main window is in front
    EXPECT_EQ(Menus(), "local- server+ end- status- 0 toggle- Close main chat | Available");
}

TEST_F(Connection, EndConnectionSaysDisconnectedWithoutAPopUpAndShutDownClosesTheLog) {
    TestClient& c = Make([](ClientSessionSettings& s) { s.options.mainChatLogging = true; });
    c->Start();
    c.foreground = false;
    c->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return c->connected(); }));
    c->EndConnection();
    EXPECT_TRUE(c.ViewEndsWith("\n\t[09:05] Disconnected."));
    EXPECT_EQ(c.popups, std::vector<std::string>{"Connected."});
    ASSERT_TRUE(WaitFor([&] { return !server->peers.empty() && server->Peer().closed; }));
    c->Shutdown();
    EXPECT_TRUE(c.recentServers.items.empty());          // the tree is emptied
    EXPECT_EQ(c->recentServers().Records().size(), 1u);  // the list is kept for saving
    const std::string t = kLogTime;
    EXPECT_EQ(ReadFile(folder.Path() / "Chat logs" / "mainchat.txt"),
              "Session start (" + t + ")\r\n\t[" + t + "] Connected.\r\n\t[" + t +
                  "] Disconnected.\r\nSession close (" + t + ")");
}

TEST_F(Connection, TheServersTreeConnectsOnlyElsewhere) {
    server = std::make_unique<RawServer>();  // on every address: two loopback addresses are two servers
    ASSERT_TRUE(server->Start(0, ""));
    port = server->LocalPort();
    TestClient& c = Make();
    c->LoadRecentServers({{"t", "127.0.0.1", ""}, {"t", "127.0.0.2", ""}});
    EXPECT_TRUE(c->IsRecentConnectEnabled(0));
    c->ConnectToRecent(0);
    ASSERT_TRUE(WaitFor([&] { return c->connected(); }));
    EXPECT_FALSE(c->IsRecentConnectEnabled(0));
    EXPECT_TRUE(c->IsRecentConnectEnabled(1));
    c->ConnectToRecent(0);  // the current server: nothing happens
    EXPECT_TRUE(c->connected());
    c->ConnectToRecent(1);  // another server: the current connection ends first
    EXPECT_TRUE(c.ViewEndsWith("\n\t[09:05] Disconnected."));
    EXPECT_EQ(c->serverAddress(), "127.0.0.2");
    ASSERT_TRUE(WaitFor([&] { return c->connected(); }));
    EXPECT_EQ(std::pair(c.recentServers.items[0].colour, c.recentServers.items[1].colour),
              std::pair(kTreeText, kCurrentServer));
    c->EndConnection();
    EXPECT_TRUE(c->IsRecentConnectEnabled(1)) << "the last server is free again";
}

TEST_F(Connection, StartUpAndTheConnectDialogConnect) {
    TestClient& c = Make([](ClientSessionSettings& s) {
        s.options.connectToHost = true, s.options.host = "127.0.0.1", s.options.serverAddress = "10.9.9.9";
    });
    EXPECT_EQ(c->serverAddress(), "10.9.9.9");  // the last run's server
    c->ConnectAtStartUp();
    ASSERT_TRUE(WaitFor([&] { return c->connected(); }));
    EXPECT_EQ(c->options().serverAddress, "127.0.0.1");  // saved for the next run
    c->EndConnection();
    EXPECT_FALSE(c->ConnectFromDialog(" \t "));
    EXPECT_EQ(c->State(), ConnectionState::Idle);
    EXPECT_TRUE(c->ConnectFromDialog("  127.0.0.1 "));
    ASSERT_TRUE(WaitFor([&] { return c->connected(); }));
}

}  // namespace
}  // namespace vorlan::client
