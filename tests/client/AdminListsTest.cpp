// The admin's Connections and Ban list windows without their windows: what
// each trigger sends, when "Kick" and "Ban" are enabled, the Add dialog's text
// rules and the remembered geometry.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/AdminLists.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
namespace to_client = protocol::to_client;

// Anna logged in at `ownLevel` beside Bob (1, normal admin), Carl (3, normal
// user, main chat closed), Sam (4, super admin) and Hal (5, host); the server
// is a raw peer that records every byte.
class AdminLists : public ::testing::Test {
protected:
    test::TempFolder folder;
    RawServer server;
    std::unique_ptr<TestClient> client;

    void Connect(int ownLevel) {
        ASSERT_TRUE(server.Start());
        client = std::make_unique<TestClient>(folder.Path().string(), [&](ClientSessionSettings& s) {
            s.options.chatPort = server.LocalPort();
            s.options.clientPassword = "pw";
        });
        (*client)->ConnectToLocalServer();
        ASSERT_TRUE(WaitFor([&] { return (*client)->connected() && Sent() == Login(); }));
        server.Peer().received.clear();
        for (const std::string& message :
             {to_client::UserEntry(1, 2, "Bob", "", false), to_client::UserEntry(2, ownLevel, "Anna", "", true),
              to_client::UserEntry(3, 7, "Carl", "", false), to_client::UserEntry(4, 1, "Sam", "", false),
              to_client::UserEntry(5, 0, "Hal", "", false)}) {
            client->Receive(message);
        }
        client->connections.open = client->banList.open = true;
    }
    std::string Sent() { return server.peers.empty() ? "" : server.Peer().received; }
    // Everything sent by `action`, once the bytes stop coming.
    std::string SentBy(const std::function<void()>& action) {
        server.Peer().received.clear();
        action();
        WaitFor([] { return false; }, 100);
        return Sent();
    }
    static std::string Login() { return "00Anna" + Sep() + "pw" + Z(); }
};

TEST_F(AdminLists, EveryConnectionsTriggerSendsItsRequestsAndRefreshesEmptyTheTree) {
    Connect(0);
    ConnectionsCommands commands(*client->session, client->connections);
    auto filled = [&] { client->connections.rows.assign(2, RemoteConnectionRow{}); };

    filled();
    EXPECT_EQ(SentBy([&] { commands.Opened(); }), "18" + Z());
    EXPECT_EQ(client->connections.rows.size(), 2u);  // a new window is empty anyway
    EXPECT_EQ(SentBy([&] { commands.Refresh(); }), "18" + Z());
    EXPECT_TRUE(client->connections.rows.empty());

    filled();
    EXPECT_EQ(SentBy([&] { commands.Kick(3); }), "163" + Z() + "18" + Z());
    EXPECT_TRUE(client->connections.rows.empty());
    // The row's text goes after the SEP, without any SEP of its own.
    filled();
    EXPECT_EQ(SentBy([&] { commands.Ban(1, "Bob - 10.0" + Sep() + ".0.1"); }),
              "171" + Sep() + "Bob - 10.0.0.1" + Z() + "18" + Z());
    EXPECT_TRUE(client->connections.rows.empty());

    // A greyed entry chosen anyway (a stale command) sends nothing and keeps the tree.
    filled();
    EXPECT_EQ(SentBy([&] { commands.Kick(2); }), "");
    EXPECT_EQ(SentBy([&] { commands.Ban(99, "99 - 10.0.0.99"); }), "");
    EXPECT_EQ(client->connections.rows.size(), 2u);
}

TEST_F(AdminLists, EveryBanListTriggerSendsItsRequests) {
    Connect(2);
    BanListCommands commands(*client->session, client->banList);
    client->banList.rows = {"4:10.0.0.9 - spammer"};

    EXPECT_EQ(SentBy([&] { commands.Opened(); }), "19" + Z());
    EXPECT_EQ(SentBy([&] { commands.Refresh(); }), "19" + Z());
    EXPECT_TRUE(client->banList.rows.empty());

    client->banList.rows = {"4:10.0.0.9 - spammer"};
    EXPECT_EQ(SentBy([&] { commands.Remove(4); }), "2040" + Z() + "19" + Z());
    EXPECT_TRUE(client->banList.rows.empty());

    // "add": both fields trimmed, an empty description kept empty, SEP gone.
    EXPECT_EQ(SentBy([&] { EXPECT_TRUE(commands.Add("  10.0.0.7 \t", " flood" + Sep() + "er  ")); }),
              "2010.0.0.7" + Sep() + "flooder1" + Z() + "19" + Z());
    EXPECT_EQ(SentBy([&] { EXPECT_TRUE(commands.Add("10.0.0.8", "   ")); }),
              "2010.0.0.8" + Sep() + "1" + Z() + "19" + Z());
    // An address of blanks sends nothing: the dialog stays open.
    EXPECT_EQ(SentBy([&] { EXPECT_FALSE(commands.Add(" \t ", "no address")); }), "");
    EXPECT_EQ(SentBy([&] { EXPECT_FALSE(commands.Add(Sep(), "")); }), "");
    // The Ban list window closed meanwhile: only the addition.
    client->banList.open = false;
    EXPECT_EQ(SentBy([&] { EXPECT_TRUE(commands.Add("10.0.0.9", "")); }), "2010.0.0.9" + Sep() + "1" + Z());
}

TEST_F(AdminLists, KickAndBanFollowTheLevelsOfBothUsers) {
    // own level digit -> targets that may be kicked: normal admins and users
    // (main chat open or closed) always, super admins only by the host.
    for (int own = 0; own < 8; ++own) {
        for (int target = 0; target < 8; ++target) {
            const bool expected = target % 4 >= 2 || (target % 4 == 1 && own % 4 == 0);
            EXPECT_EQ(MayKickOrBan(own, target), expected) << own << " " << target;
        }
    }
    EXPECT_FALSE(MayKickOrBan(0, kUnknownLevel));
    EXPECT_FALSE(MayKickOrBan(0, 8));
    EXPECT_FALSE(MayKickOrBan(kUnknownLevel, 1));

    Connect(4);  // the host with its main chat closed
    ConnectionsCommands commands(*client->session, client->connections);
    EXPECT_EQ(commands.MenuFor(4), (ConnectionsMenuState{true, true}));    // super admin
    EXPECT_EQ(commands.MenuFor(3), (ConnectionsMenuState{true, true}));    // normal user, chat closed
    EXPECT_EQ(commands.MenuFor(5), (ConnectionsMenuState{true, false}));   // another host
    EXPECT_EQ(commands.MenuFor(2), (ConnectionsMenuState{true, false}));   // ourselves
    EXPECT_EQ(commands.MenuFor(77), (ConnectionsMenuState{true, false}));  // a connection not logged in
    EXPECT_EQ(commands.MenuFor(kAdminsGroupId), ConnectionsMenuState{});
    EXPECT_EQ(commands.MenuFor(kNormalGroupId), ConnectionsMenuState{});
    EXPECT_EQ(commands.MenuFor(kTopLevel), ConnectionsMenuState{});
    // A level changed after the list came counts as it is now.
    client->Receive(to_client::UserModeChanged(2, 1));
    EXPECT_FALSE(commands.MenuFor(4).kickAndBan);
    EXPECT_TRUE(commands.MenuFor(1).kickAndBan);
}

TEST_F(AdminLists, LosingAdminRightsOrTheConnectionClosesBothWindows) {
    Connect(2);
    client->Receive(to_client::AdminRevoked("2"));
    EXPECT_FALSE(client->connections.open || client->banList.open);
    client->Receive(to_client::AdminGranted("2"));
    client->connections.open = client->banList.open = true;
    server.Peer().Close();
    ASSERT_TRUE(WaitFor([&] { return !(*client)->connected(); }));
    EXPECT_FALSE(client->connections.open || client->banList.open);
}

TEST(AddDialogFields, SeparatorsGoAtOnceAndTwoHundredCharactersStay) {
    const std::string sep(1, protocol::kSep);
    conversation::InputLimit limit = LimitBanField("10.0" + sep + ".0.1" + sep);
    EXPECT_TRUE(limit.changed);
    EXPECT_EQ(limit.text, "10.0.0.1");
    EXPECT_EQ(limit.maxLength, 200u);
    limit = LimitBanField(std::string(200, 'x'));
    EXPECT_FALSE(limit.changed);
    limit = LimitBanField(std::string(199, 'x') + sep + "yz");
    EXPECT_TRUE(limit.changed);
    EXPECT_EQ(limit.text, std::string(199, 'x') + "y");
}

TEST(AdminWindowGeometry, EachWindowRemembersItsOwnSizeAndMaximizedFlag) {
    storage::Options options;
    RememberListWindowSize(options, AdminWindow::Connections, WindowSizeKind::Restored, 600, 400);
    RememberListWindowSize(options, AdminWindow::BanList, WindowSizeKind::Maximized, 1024, 768);
    RememberListWindowSize(options, AdminWindow::BanList, WindowSizeKind::Minimized, 160, 24);
    EXPECT_EQ(options.connectionsWidth, 600);
    EXPECT_EQ(options.connectionsHeight, 400);
    EXPECT_FALSE(options.connectionsMaximized);
    EXPECT_TRUE(options.banListMaximized);
    EXPECT_EQ(options.banListWidth, 520);  // the restored size stays for the next restore
    RememberListWindowSize(options, AdminWindow::BanList, WindowSizeKind::Restored, 300, 250);
    const StoredWindowSize banList = StoredSizeOf(options, AdminWindow::BanList);
    EXPECT_EQ(banList.width, 300);
    EXPECT_EQ(banList.height, 250);
    EXPECT_FALSE(banList.maximized);

    EXPECT_EQ(ListTreeRect(300, 200), (ControlRect{20, 20, 260, 160}));
    EXPECT_EQ(ListTreeRect(30, 10), (ControlRect{20, 20, 0, 0}));
}

}  // namespace
}  // namespace vorlan::client
