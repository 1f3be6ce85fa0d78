#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
namespace to_client = protocol::to_client;

// A client against a raw server that sends and records exact bytes.
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
    void MakeClient(const std::function<void(ClientSessionSettings&)>& adjust = {}) {
        client = std::make_unique<TestClient>(folder.Path().string(), [&](ClientSessionSettings& s) {
            s.options.chatPort = port;
            s.options.clientPassword = "pw";
            if (adjust) adjust(s);
        });
    }
    void ConnectAndWait() {
        (*client)->ConnectToLocalServer();
        ASSERT_TRUE(WaitFor([&] { return (*client)->connected() && !server->peers.empty(); }));
        ASSERT_TRUE(WaitFor([&] { return server->Peer().received.size() >= 8; }));
    }
    // Sends from the server and waits until the client has handled it.
    void ServerSends(const std::string& bytes, const std::function<bool()>& handled) {
        server->Send(bytes);
        ASSERT_TRUE(WaitFor(handled));
    }
    bool ViewEndsWith(const std::string& text) const {
        const std::string& all = client->ViewText();
        return all.size() >= text.size() && all.compare(all.size() - text.size(), text.size(), text) == 0;
    }
    std::string Login() const { return std::string("00Anna") + Sep() + "pw" + std::string(1, '\0'); }
};

TEST_F(Connection, ConnectingLogsInAndSwitchesTheMenus) {
    MakeClient();
    client->mainWindow.foreground = false;
    (*client)->ConnectToLocalServer();
    EXPECT_EQ((*client)->State(), ConnectionState::Connecting);
    EXPECT_FALSE((*client)->menu().IsEnabled(menu::kConnectToServer));
    EXPECT_FALSE((*client)->menu().IsEnabled(menu::kConnectToLocalServer));
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kEndConnection));
    EXPECT_EQ((*client)->serverAddress(), "127.0.0.1");

    ASSERT_TRUE(WaitFor([&] { return !server->peers.empty() && server->Peer().received == Login(); }));
    EXPECT_EQ((*client)->State(), ConnectionState::Connected);
    EXPECT_EQ(client->mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false}, {"Connected.", kNotice, false}}));
    EXPECT_EQ(client->popups.popups, (std::vector<RecordingPopups::Popup>{{"Connected.", 0, 0}}));
    EXPECT_EQ(client->tray.tip, "Vorlan - connected");
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kSetStatusSubmenu));
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kStatusCustom));
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kMainChatToggle));
    EXPECT_EQ(client->menu.changed[menu::kEndConnection].enabled, true);  // mirrored to the window
    ASSERT_EQ(client->recentServers.items.size(), 1u);
    EXPECT_EQ(client->recentServers.items[0].label, std::string(kLogTime) + " - 127.0.0.1");
    EXPECT_EQ(client->recentServers.items[0].colour, kCurrentServer);
}

TEST_F(Connection, AnEmptyNameStillSendsTheSeparator) {
    MakeClient([](ClientSessionSettings& s) { s.profile.name.clear(); s.options.clientPassword.clear(); });
    (*client)->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return !server->peers.empty() && server->Peer().received.size() == 4; }));
    EXPECT_EQ(server->Peer().received, std::string("00") + Sep() + std::string(1, '\0'));
}

TEST_F(Connection, MessagesAreReassembledAcrossReceives) {
    MakeClient();
    ConnectAndWait();
    const std::string z(1, '\0');
    const std::string third = to_client::UserEntry(3, 3, "Carl", "Away", false);
    ServerSends(to_client::UserEntry(1, 2, "Bob", "Busy", false) + z + to_client::UserEntry(2, 0, "Anna", "x", true) + z +
                    third.substr(0, 5),
                [&] { return client->userTree.rows.size() == 2; });
    EXPECT_EQ((*client)->ownId(), 2);
    ServerSends(third.substr(5) + z + z, [&] { return client->userTree.rows.size() == 3; });
    EXPECT_EQ(client->userTree.Render(), "Admins: Bob, Anna | Normal: Carl");
}

TEST_F(Connection, AnOverLongTailIsDiscardedAndTheConnectionStays) {
    MakeClient();
    ConnectAndWait();
    const std::string z(1, '\0');
    // A user entry whose name never ends: kept whole it would add user 5.
    server->Send("005" + Sep() + "3" + std::string(2100, 'Z'));
    WaitFor([] { return false; }, 100);
    // The rest of the over-long message arrives as a message of its own and
    // fails the code test; the next one is read normally.
    ServerSends(Sep() + "Available0" + z + to_client::UserEntry(1, 2, "Bob", "Busy", false) + z,
                [&] { return client->userTree.rows.size() == 1; });
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(client->userTree.Render(), "Admins: Bob");
    EXPECT_TRUE((*client)->connected());
}

TEST_F(Connection, ProfileAndVersionQueriesAreAnsweredByteForByte) {
    MakeClient([](ClientSessionSettings& s) {
        s.profile = {"Anna", "a@x", "NZ", "www.a", "tea", "f", "1.2.2000", "pic"};
    });
    ConnectAndWait();
    const std::string z(1, '\0');
    const std::string s = Sep();
    server->Peer().received.clear();
    (*client)->OnStatusCommand(menu::kStatusBusy);
    server->Send(to_client::ProfileQuery(5) + z + to_client::VersionQuery(5) + z);
    const std::string expected = "04Busy" + z + "105" + s + "Anna" + s + "a@x" + s + "NZ" + s + "www.a" + s + "tea" + s +
                                 "f" + s + "1.2.2000" + s + "pic" + s + "Busy" + z + "145" + s + "1.17" + z;
    ASSERT_TRUE(WaitFor([&] { return server->Peer().received.size() >= expected.size(); }));
    EXPECT_EQ(server->Peer().received, expected);
    EXPECT_TRUE((*client)->menu().IsChecked(menu::kStatusBusy));
    EXPECT_EQ(client->ViewText(), "\n\t[09:05] Connected.");
}

TEST_F(Connection, KeepAliveIsOneZeroByte) {
    MakeClient([](ClientSessionSettings& s) { s.keepAliveMs = 20; });
    ConnectAndWait();
    ASSERT_TRUE(WaitFor([&] { return server->Peer().received.size() >= Login().size() + 2; }));
    EXPECT_EQ(server->Peer().received.substr(Login().size(), 2), std::string(2, '\0'));
}

TEST_F(Connection, MainChatToggleAndStatusCommandsSendTheirMessages) {
    MakeClient();
    ConnectAndWait();
    ServerSends(to_client::UserEntry(2, 3, "Anna", "Available", true) + std::string(1, '\0'),
                [&] { return (*client)->ownId() == 2; });
    server->Peer().received.clear();
    const std::string z(1, '\0');

    (*client)->ToggleMainChat();
    EXPECT_EQ((*client)->menu().Text(menu::kMainChatToggle), "Open main chat");
    (*client)->SendMainInput("dropped while closed");
    (*client)->ToggleMainChat();
    (*client)->SendMainInput("hello");
    EXPECT_TRUE((*client)->SetCustomStatus("Cooking"));
    EXPECT_TRUE((*client)->menu().IsChecked(menu::kStatusCustom));
    const std::string expected = "051" + z + "050" + z + "020hello" + z + "04Cooking" + z;
    ASSERT_TRUE(WaitFor([&] { return server->Peer().received.size() >= expected.size(); }));
    EXPECT_EQ(server->Peer().received, expected);
    EXPECT_EQ(client->mainView.Runs().back(), (ViewRun{" hello", kText, false}));
}

TEST_F(Connection, AnOrderlyCloseByTheServerEndsEverything) {
    MakeClient();
    ConnectAndWait();
    (*client)->ServerStarted();  // the own server runs: the local entry comes back afterwards
    ServerSends(to_client::UserEntry(1, 2, "Bob", "Busy", false) + std::string(1, '\0') +
                    to_client::UserEntry(2, 1, "Anna", "Available", true) + std::string(1, '\0'),
                [&] { return client->userTree.rows.size() == 2; });
    (*client)->OnStatusCommand(menu::kStatusAway);
    (*client)->ToggleMainChat();
    (*client)->OpenPrivateChat(1);
    EXPECT_TRUE(client->adminMenus.Installed());
    // Closing with unread bytes would reset the connection instead.
    ASSERT_TRUE(WaitFor([&] { return server->Peer().received.size() == Login().size() + 11; }));

    server->Peer().Close();
    ASSERT_TRUE(WaitFor([&] { return !(*client)->connected(); }));
    EXPECT_TRUE(ViewEndsWith("\n\t[09:05] Connection closed."));
    EXPECT_EQ((*client)->State(), ConnectionState::Idle);
    EXPECT_TRUE(client->userTree.rows.empty());
    EXPECT_FALSE(client->adminMenus.Installed());
    EXPECT_EQ((*client)->statusText(), "Available");
    EXPECT_TRUE((*client)->menu().IsChecked(menu::kStatusAvailable));
    EXPECT_FALSE((*client)->menu().IsEnabled(menu::kSetStatusSubmenu));
    EXPECT_EQ((*client)->menu().Text(menu::kMainChatToggle), "Close main chat");
    EXPECT_FALSE((*client)->menu().IsEnabled(menu::kMainChatToggle));
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kConnectToLocalServer));
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kConnectToServer));
    EXPECT_FALSE((*client)->menu().IsEnabled(menu::kEndConnection));
    EXPECT_EQ(client->tray.tip, "Vorlan - server running");
    EXPECT_EQ(client->recentServers.items[0].colour, kTreeText);
    EXPECT_EQ(client->Window(0)->caption, "Bob - offline");
    EXPECT_EQ(client->transfers.cancelled, (std::vector<int>{1, 2}));
}

TEST_F(Connection, ALostConnectionWithoutTheReconnectOptionStaysDown) {
    MakeClient([](ClientSessionSettings& s) { s.options.reconnect = false; });
    ConnectAndWait();
    server->Peer().SetLingerAbort();
    server->Peer().Close();
    ASSERT_TRUE(WaitFor([&] { return !(*client)->connected(); }));
    EXPECT_TRUE(ViewEndsWith("\n\t[09:05] Connection lost."));
    EXPECT_EQ((*client)->State(), ConnectionState::Idle);
}

TEST_F(Connection, ALostConnectionIsRetriedSilentlyUntilTheServerIsBack) {
    MakeClient([](ClientSessionSettings& s) { s.reconnectMs = 20; });
    client->mainWindow.foreground = false;
    ConnectAndWait();
    server->Close();
    server->Peer().SetLingerAbort();
    server->Peer().Close();
    ASSERT_TRUE(WaitFor([&] { return !(*client)->connected(); }));
    EXPECT_TRUE(ViewEndsWith("\n\t[09:05] Connection lost. Attempting to reconnect..."));
    EXPECT_EQ(client->popups.popups.back().text, "Connection lost. Attempting to reconnect...");
    EXPECT_TRUE((*client)->reconnecting());

    // Several refused retries, none of them reported.
    const std::size_t popupsBefore = client->popups.popups.size();
    WaitFor([] { return false; }, 200);
    EXPECT_TRUE(ViewEndsWith("Attempting to reconnect..."));
    EXPECT_EQ(client->popups.popups.size(), popupsBefore);
    EXPECT_NE((*client)->State(), ConnectionState::Idle);

    server = std::make_unique<RawServer>();
    ASSERT_TRUE(server->Start(port));
    ASSERT_TRUE(WaitFor([&] { return (*client)->connected() && !server->peers.empty(); }));
    ASSERT_TRUE(WaitFor([&] { return server->Peer().received == Login(); }));
    EXPECT_TRUE(ViewEndsWith("\n\t[09:05] Connected."));
    EXPECT_FALSE((*client)->reconnecting());
    EXPECT_EQ(client->recentServers.items.size(), 1u);
}

TEST_F(Connection, EndConnectionStopsTheRetries) {
    MakeClient([](ClientSessionSettings& s) { s.reconnectMs = 20; });
    ConnectAndWait();
    server->Close();
    server->Peer().SetLingerAbort();
    server->Peer().Close();
    ASSERT_TRUE(WaitFor([&] { return !(*client)->connected(); }));
    ASSERT_TRUE(WaitFor([&] { return (*client)->State() == ConnectionState::WaitingToReconnect; }));
    const std::string before = client->ViewText();
    (*client)->EndConnection();
    EXPECT_EQ(client->ViewText(), before);  // not connected: no "Disconnected."
    EXPECT_FALSE((*client)->reconnecting());
    server = std::make_unique<RawServer>();
    ASSERT_TRUE(server->Start(port));
    WaitFor([] { return false; }, 150);
    EXPECT_TRUE(server->peers.empty());
    EXPECT_EQ((*client)->State(), ConnectionState::Idle);
}

TEST_F(Connection, ARefusedConnectIsReported) {
    server->Close();
    MakeClient();
    (*client)->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return (*client)->State() == ConnectionState::Idle; }));
    EXPECT_EQ(client->ViewText(), "\n\t[09:05] Couldn't connect.");
    EXPECT_EQ(client->popups.popups.size(), 0u);  // the main window is in front
    EXPECT_TRUE((*client)->menu().IsEnabled(menu::kConnectToServer));
}

TEST_F(Connection, EndConnectionSaysDisconnectedWithoutAPopUp) {
    MakeClient([](ClientSessionSettings& s) { s.options.mainChatLogging = true; });
    (*client)->Start();
    client->mainWindow.foreground = false;
    ConnectAndWait();
    (*client)->EndConnection();
    EXPECT_TRUE(ViewEndsWith("\n\t[09:05] Disconnected."));
    EXPECT_EQ(client->popups.popups.size(), 1u);  // "Connected." only
    ASSERT_TRUE(WaitFor([&] { return server->Peer().closed; }));
    (*client)->Shutdown();
    EXPECT_TRUE(client->recentServers.items.empty());          // the tree is emptied
    EXPECT_EQ((*client)->recentServers().Records().size(), 1u);  // the list is kept for saving
    const std::string t = kLogTime;
    EXPECT_EQ(ReadFile(folder.Path() / "Chat logs" / "mainchat.txt"),
              "Session start (" + t + ")\r\n\t[" + t + "] Connected.\r\n\t[" + t + "] Disconnected.\r\nSession close (" +
                  t + ")");
}

TEST_F(Connection, TheServersTreeConnectsOnlyElsewhere) {
    // Listening on every address, so that two loopback addresses are two servers.
    server = std::make_unique<RawServer>();
    ASSERT_TRUE(server->Start(0, ""));
    port = server->LocalPort();
    MakeClient();
    (*client)->LoadRecentServers({{"t", "127.0.0.1", ""}, {"t", "127.0.0.2", ""}});
    ConnectAndWait();
    EXPECT_FALSE((*client)->IsRecentConnectEnabled(0));
    EXPECT_TRUE((*client)->IsRecentConnectEnabled(1));
    (*client)->ConnectToRecent(0);  // the current server: nothing happens
    EXPECT_TRUE((*client)->connected());

    (*client)->ConnectToRecent(1);  // another server: the current connection ends first
    EXPECT_FALSE((*client)->connected());
    EXPECT_TRUE(ViewEndsWith("\n\t[09:05] Disconnected."));
    EXPECT_EQ((*client)->serverAddress(), "127.0.0.2");
    ASSERT_TRUE(WaitFor([&] { return (*client)->connected(); }));
    EXPECT_EQ(client->recentServers.items[1].colour, kCurrentServer);
    EXPECT_EQ(client->recentServers.items[0].colour, kTreeText);
}

TEST_F(Connection, StartUpConnectsToTheStoredHostWhenAsked) {
    MakeClient([](ClientSessionSettings& s) {
        s.options.connectToHost = true;
        s.options.host = "127.0.0.1";
        s.options.serverAddress = "10.9.9.9";
    });
    EXPECT_EQ((*client)->serverAddress(), "10.9.9.9");  // the last run's server
    (*client)->ConnectAtStartUp();
    ASSERT_TRUE(WaitFor([&] { return (*client)->connected(); }));
    EXPECT_EQ((*client)->options().serverAddress, "127.0.0.1");  // saved for the next run
}

TEST_F(Connection, TheConnectDialogTrimsTheHost) {
    MakeClient();
    EXPECT_FALSE((*client)->ConnectFromDialog(" \t "));
    EXPECT_EQ((*client)->State(), ConnectionState::Idle);
    EXPECT_TRUE((*client)->ConnectFromDialog("  127.0.0.1 "));
    EXPECT_EQ((*client)->serverAddress(), "127.0.0.1");
    ASSERT_TRUE(WaitFor([&] { return (*client)->connected(); }));
}

}  // namespace
}  // namespace vorlan::client
