#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
namespace to_client = protocol::to_client;

class ServerMessages : public ::testing::Test {
protected:
    test::TempFolder folder;
    TestClient client{folder.Path().string()};

    // The log-in burst: Bob (normal admin), Anna (ourselves, host), Carl (normal user).
    void LogInAsHost() {
        client.Receive(to_client::UserEntry(1, 2, "Bob", "Busy", false));
        client.Receive(to_client::UserEntry(2, 0, "Anna", "Available", true));
        client.Receive(to_client::UserEntry(3, 3, "Carl", "Away", false));
    }
    std::vector<ViewRun> LastRuns(std::size_t count) const {
        const auto& runs = client.mainView.Runs();
        return std::vector<ViewRun>(runs.end() - static_cast<std::ptrdiff_t>(std::min(count, runs.size())), runs.end());
    }
};

// ---- the user tree -------------------------------------------------------------------------

TEST_F(ServerMessages, TheLogInBurstFillsBothGroupsSilently) {
    LogInAsHost();
    client.Receive(to_client::UserEntry(4, 7, "Dora", "Available", false));

    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: Carl, (Dora)");
    EXPECT_EQ(client.userTree.groups[0].colour, kTreeText);
    EXPECT_EQ(client->ownId(), 2);
    EXPECT_EQ(client.adminMenus.installs, 1);
    EXPECT_EQ(client.userTree.Row(1)->colour, kNormalAdminColour);
    EXPECT_EQ(client.userTree.Row(2)->colour, kHostColour);
    EXPECT_EQ(client.userTree.Row(4)->colour, kNormalUserColour);
    EXPECT_EQ(client.userTree.Row(1)->status, "Busy");
    EXPECT_EQ(client.ViewText(), "");
}

TEST_F(ServerMessages, AnOwnEntryAsNormalUserInstallsNoAdminMenus) {
    client.Receive(to_client::UserEntry(9, 3, "Anna", "Available", true));
    EXPECT_EQ(client->ownId(), 9);
    EXPECT_EQ(client.adminMenus.installs, 0);
}

TEST_F(ServerMessages, MalformedEntriesAreDropped) {
    const std::string s = Sep();
    client.Receive("001" + s + "8Bob" + s + "Available0");  // level 8
    client.Receive("000" + s + "3Bob" + s + "Available0");  // id 0
    client.Receive("001" + s + "3Bob");                     // no status field
    client.Receive("01x" + s + "3Bob");                     // no id
    client.Receive("015" + s + "5Bob");                     // joined with a closed-chat level
    client.Receive("21whatever");
    client.Receive("0");
    EXPECT_TRUE(client.userTree.rows.empty());
    EXPECT_TRUE(client.userTree.groups.empty());
    EXPECT_EQ(client.ViewText(), "");
}

TEST_F(ServerMessages, LabelsShowAClosedMainChatAndAServerMute) {
    LogInAsHost();
    client.Receive(to_client::UserModeChanged(3, 7));
    EXPECT_EQ(client.userTree.Row(3)->label, "(Carl)");
    client.Receive(to_client::UserMuteChanged("3", true));
    EXPECT_EQ(client.userTree.Row(3)->label, "[(Carl)]");
    client.Receive(to_client::UserModeChanged(3, 3));
    EXPECT_EQ(client.userTree.Row(3)->label, "[Carl]");
    client.Receive(to_client::UserRenamed(3, "Carlos"));
    EXPECT_EQ(client.userTree.Row(3)->label, "[Carlos]");
    client.Receive(to_client::UserMuteChanged("3", false));
    EXPECT_EQ(client.userTree.Row(3)->label, "Carlos");
    // A mode change keeps the row in its group whatever the digit says.
    client.Receive(to_client::UserModeChanged(3, 6));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: (Carlos)");
}

TEST_F(ServerMessages, AdminGrantsAndRevokesMoveRowsBetweenGroups) {
    LogInAsHost();
    client.Receive(to_client::UserMuteChanged("3", true));
    client.Receive(to_client::AdminGranted("3"));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna, [Carl]");
    const UserRow* carl = client.userTree.Row(3);
    EXPECT_EQ(carl->level, 2);
    EXPECT_EQ(carl->colour, kNormalAdminColour);
    EXPECT_EQ(carl->status, "Away");
    EXPECT_TRUE(carl->serverMuted);

    client.Receive(to_client::AdminGranted("1"));  // already an admin
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna, [Carl]");

    client.Receive(to_client::AdminRevoked("1"));
    EXPECT_EQ(client.userTree.Render(), "Admins: Anna, [Carl] | Normal: Bob");
    EXPECT_EQ(client.userTree.Row(1)->colour, kNormalUserColour);
    EXPECT_EQ(client.ViewText(), "");
}

TEST_F(ServerMessages, GrantsAndRevokesOfOurselvesInstallAndRemoveTheAdminMenus) {
    client.Receive(to_client::UserEntry(5, 7, "Anna", "Available", true));
    client.connections.open = true;
    client.Receive(to_client::AdminGranted("5"));
    EXPECT_TRUE(client.adminMenus.Installed());
    EXPECT_EQ(client.userTree.Row(5)->level, 6);
    client.Receive(to_client::AdminGranted("5"));
    EXPECT_EQ(client.adminMenus.installs, 1);
    client.Receive(to_client::AdminRevoked("5"));
    EXPECT_FALSE(client.adminMenus.Installed());
    EXPECT_FALSE(client.connections.open);
    EXPECT_EQ(client.userTree.Render(), "Normal: (Anna)");
}

TEST_F(ServerMessages, AGroupRowGoesWithItsLastUser) {
    LogInAsHost();
    client.Receive(to_client::UserLeft(3, false));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna");
    client.Receive(to_client::UserJoined(6, 3, "Eve"));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: Eve");
    EXPECT_EQ(client.userTree.Row(6)->status, "Available");
    client.Receive(to_client::UserRemoved("1", false, 2));
    client.Receive(to_client::UserDropped(2));
    EXPECT_EQ(client.userTree.Render(), "Normal: Eve");
}

TEST_F(ServerMessages, KicksAndBansNameTheAdminInTheLongFormOnly) {
    LogInAsHost();
    client.mainView.Forget();
    client.Receive(to_client::UserRemoved("3", true, 1));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Carl", kNormalUserColour, false},
                                                        {" has been banned by ", kNotice, false},
                                                        {"Bob", kNormalAdminColour, false},
                                                        {".", kNotice, false}}));
    EXPECT_EQ(client.popups.popups.back().text, "Carl has been banned by Bob");

    client.mainView.Forget();
    client.Receive(to_client::UserDropped(1));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Bob", kNormalAdminColour, false},
                                                        {" has been kicked.", kNotice, false}}));
    EXPECT_EQ(client.popups.popups.back(), (RecordingPopups::Popup{"Bob has been kicked.", 0, 0}));
    EXPECT_EQ(client.transfers.cancelled, (std::vector<int>{3, 1}));

    // The remover must be known too.
    client.Receive(to_client::UserRemoved("2", false, 77));
    EXPECT_TRUE(client.userTree.Row(2) != nullptr);
}

// ---- the main view -------------------------------------------------------------------------

TEST_F(ServerMessages, ChatLinesOfTheThreeKinds) {
    LogInAsHost();
    client.Receive(to_client::MainChatMessage(1, "0hello www.x.org"));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n[09:05] ", kText, false},
                                                        {"Bob", kNormalAdminColour, true},
                                                        {":", kText, true},
                                                        {" ", kText, false},
                                                        {"hello www.x.org", kMessage, false}}));
    client.mainView.Forget();
    client.Receive(to_client::MainChatMessage(3, "1waves"));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Carl", kNormalUserColour, false},
                                                        {" ", kText, false},
                                                        {"waves", kMessage, false}}));
    client.mainView.Forget();
    client.Receive(to_client::MainChatMessage(3, "2hi all"));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Carl", kNormalUserColour, false},
                                                        {" says: ", kText, false},
                                                        {"hi all", kMessage, false}}));
    EXPECT_EQ(client.popups.popups.back(), (RecordingPopups::Popup{"Carl says: hi all", 0, 0}));
    // Unknown senders and kinds are dropped.
    client.mainView.Forget();
    client.Receive(to_client::MainChatMessage(44, "0who?"));
    client.Receive(to_client::MainChatMessage(3, "7odd"));
    EXPECT_EQ(client.ViewText(), "");
}

TEST_F(ServerMessages, EventLinesAboutUsers) {
    LogInAsHost();
    client.Receive(to_client::UserJoined(6, 3, "Eve"));
    EXPECT_EQ(LastRuns(3), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                             {"Eve", kNormalUserColour, false},
                                             {" has joined the server.", kNotice, false}}));
    EXPECT_EQ(client.popups.popups.back().text, "Eve has joined the server.");

    client.Receive(to_client::UserRenamed(6, "Evie"));
    EXPECT_EQ(LastRuns(4), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                             {"Eve", kNormalUserColour, false},
                                             {" changed name to: ", kText, false},
                                             {"Evie", kNormalUserColour, false}}));

    client.Receive(to_client::UserAddress("6", "10.1.2.3"));
    EXPECT_EQ(LastRuns(4), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                             {"Evie", kNormalUserColour, false},
                                             {"'s IP address: ", kText, false},
                                             {"10.1.2.3", kMessage, false}}));

    client.Receive(to_client::UserVersion(6, "1.17"));
    EXPECT_EQ(LastRuns(2), (std::vector<ViewRun>{{"'s version: ", kText, false}, {"1.17", kMessage, false}}));

    client.Receive(to_client::UserLeft(6, true));
    EXPECT_EQ(LastRuns(2), (std::vector<ViewRun>{{"Evie", kNormalUserColour, false},
                                             {" has lost the connection.", kNotice, false}}));
    EXPECT_EQ(client.popups.popups.back().text, "Evie has lost the connection.");

    // A status change shows nowhere in the main view.
    const std::string before = client.ViewText();
    client.Receive(to_client::UserStatusChanged(1, "Away"));
    EXPECT_EQ(client.ViewText(), before);
    EXPECT_EQ(client.userTree.Row(1)->status, "Away");
}

TEST_F(ServerMessages, TopicAtLogInAndTopicChanges) {
    client.Receive(to_client::TopicText(false, "Welcome"));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n[09:05] ", kText, false},
                                                        {"Topic:", kText, true},
                                                        {" ", kText, false},
                                                        {"Welcome", kMessage, false}}));
    client.mainView.Forget();
    client.Receive(to_client::TopicText(true, "New"));
    EXPECT_EQ(client.mainView.Runs(), (std::vector<ViewRun>{{"\n\t[09:05] ", kText, false},
                                                        {"Topic changed to: ", kText, false},
                                                        {"New", kMessage, false}}));
}

TEST_F(ServerMessages, OurOwnModeChangesAreAnnounced) {
    LogInAsHost();
    client.Receive(to_client::UserModeChanged(2, 4));
    client.Receive(to_client::UserModeChanged(1, 6));  // someone else: silent
    client.Receive(to_client::UserModeChanged(2, 0));
    EXPECT_EQ(client.ViewText(), "\n\t[09:05] Main chat closed.\n\t[09:05] Main chat opened.");
    EXPECT_EQ(client.mainView.Runs()[1], (ViewRun{"Main chat closed.", kNotice, false}));
    EXPECT_EQ(client.userTree.Row(2)->label, "Anna");
}

TEST_F(ServerMessages, WithTheMainChatClosedJoinsAndLeavesOnlyPopUp) {
    LogInAsHost();
    client->menu().SetText(menu::kMainChatToggle, kOpenMainChatText);
    client.Receive(to_client::UserJoined(6, 3, "Eve"));
    client.Receive(to_client::UserLeft(6, false));
    client.Receive(to_client::UserRemoved("3", false, 1));
    EXPECT_EQ(client.ViewText(), "");
    EXPECT_EQ(client.popups.popups.size(), 3u);
    EXPECT_EQ(client.popups.popups[1].text, "Eve has left the server.");
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna");
}

TEST_F(ServerMessages, TimestampsOffDropTheBrackets) {
    LogInAsHost();
    client->options().timestamps = false;
    client.Receive(to_client::MainChatMessage(1, "0hi"));
    EXPECT_EQ(client.ViewText(), "\nBob: hi");
}

// ---- unread counter and title ---------------------------------------------------------------

TEST_F(ServerMessages, LinesWhileHiddenCountInTheTitle) {
    LogInAsHost();
    client.mainWindow.foreground = false;  // behind other windows but visible: not counted
    client.Receive(to_client::MainChatMessage(1, "0one"));
    EXPECT_EQ(client->unreadCount(), 0);

    client.mainWindow.visible = false;
    client.Receive(to_client::MainChatMessage(1, "0one"));
    EXPECT_EQ(client.tray.tip, "Vorlan - 1 new message");
    client.Receive(to_client::MainChatMessage(1, "1two"));
    client.Receive(to_client::MainChatMessage(1, "2three"));  // "says" lines are not counted
    EXPECT_EQ(client.tray.tip, "Vorlan - 2 new messages");

    for (int i = 0; i < 1100; ++i) client.Receive(to_client::MainChatMessage(1, "0x"));
    EXPECT_EQ(client->unreadCount(), 1001);
    EXPECT_EQ(client.tray.tip, "Vorlan - 1000+ new messages");

    client->MainWindowShown();
    EXPECT_EQ(client.tray.tip, "Vorlan");
}

// ---- info window and admin lists -------------------------------------------------------------

TEST_F(ServerMessages, ProfileInfoFillsTheInfoWindow) {
    LogInAsHost();
    client.Receive(to_client::ProfileInfo(1, {"Bobby", "b@x", "NZ", "www.b", "chess", "m", "1.1.1990", "pic", "Away"}));
    EXPECT_EQ(client.info.shown, 1);
    EXPECT_EQ(client.info.caption, "Bob's info");
    EXPECT_EQ(client.info.userId, 1);
    EXPECT_EQ(client.info.fields[0], "Bobby");
    EXPECT_EQ(client.info.fields[8], "Away");

    const std::string s = Sep();
    client.Receive("123" + s + "Carl" + s + "c@x");
    EXPECT_EQ(client.info.caption, "Carl's info");
    EXPECT_EQ(client.info.fields[0], "Carl");
    EXPECT_EQ(client.info.fields[1], "c@x");
    EXPECT_EQ(client.info.fields[2], "NZ");  // filling stopped at the missing field

    EXPECT_TRUE(client->OpenPrivateChatFromInfo());
    ASSERT_NE(client.Window(0), nullptr);
    EXPECT_EQ(client.Window(0)->caption, "Carl");
}

TEST_F(ServerMessages, ConnectionRowsAreGroupedWhenTheUserIsKnown) {
    LogInAsHost();
    client.Receive(to_client::ConnectionEntry(true, 1, "10.0.0.1"));
    EXPECT_TRUE(client.connections.rows.empty());  // the window is not open

    client.connections.open = true;
    client.connections.rows.push_back({});
    client.Receive(to_client::ConnectionEntry(true, 1, "10.0.0.1"));
    client.Receive(to_client::ConnectionEntry(false, 3, "10.0.0.3"));
    client.Receive(to_client::ConnectionEntry(false, 17, "10.0.0.17"));
    ASSERT_EQ(client.connections.rows.size(), 3u);
    EXPECT_EQ(client.connections.rows[0],
              (RemoteConnectionRow{1, kAdminsGroupId, "Bob - 10.0.0.1", kNormalAdminColour, false, false}));
    EXPECT_EQ(client.connections.rows[1].group, kNormalGroupId);
    EXPECT_EQ(client.connections.rows[2].group, kTopLevel);
    EXPECT_EQ(client.connections.rows[2].label, "17 - 10.0.0.17");
}

TEST_F(ServerMessages, BanRowsWithAndWithoutDescription) {
    client.banList.open = true;
    client.Receive(to_client::BanEntry(true, 4, "10.0.0.9", "spammer"));
    client.Receive(to_client::BanEntry(false, 7, "10.0.0.8", ""));
    EXPECT_EQ(client.banList.rows,
              (std::vector<std::pair<int, std::string>>{{4, "10.0.0.9 - spammer"}, {7, "10.0.0.8"}}));
    client.Receive(to_client::BanEntry(true, 9, "1.2.3.4", ""));
    EXPECT_EQ(client.banList.rows.size(), 1u);
}

TEST_F(ServerMessages, FileTransferStepsGoToTheTransferHook) {
    LogInAsHost();
    const std::string message = to_client::FileTransferControl(3, "5" + Sep() + "10x");
    client.Receive(message);
    client.Receive(to_client::FileTransferControl(99, "5" + Sep() + "10x"));
    EXPECT_EQ(client.transfers.controls, (std::vector<std::string>{message}));
}

// ---- the user menu ----------------------------------------------------------------------------

TEST_F(ServerMessages, UserMenuFollowsTheLevelTable) {
    LogInAsHost();
    client.Receive(to_client::UserEntry(4, 1, "Sam", "Available", false));
    auto menuFor = [&](int id) {
        client.userTree.selected = id;
        return client->UserMenuFor();
    };
    EXPECT_EQ(menuFor(4), (UserMenuState{true, "Mute", true, false, false, true}));   // super admin, we are host
    EXPECT_EQ(menuFor(2), (UserMenuState{true, "Mute", true, false, false, false}));  // the host
    EXPECT_EQ(menuFor(1), (UserMenuState{true, "Mute", true, false, true, true}));    // normal admin
    EXPECT_EQ(menuFor(3), (UserMenuState{true, "Mute", true, true, false, true}));    // normal user
    EXPECT_FALSE(menuFor(kAdminsGroupId).show);

    client.Receive(to_client::UserModeChanged(2, 5));  // now we are a super admin
    EXPECT_EQ(menuFor(4), (UserMenuState{true, "Mute", true, false, false, false}));

    client.userTree.selected = 3;
    client->OnUserMenuCommand(menu::kMuteToggle);  // not connected: only the local flag
    EXPECT_EQ(menuFor(3).muteText, "Unmute");
}

}  // namespace
}  // namespace vorlan::client

namespace vorlan::client {
namespace {

// Messages built from the pieces the reader looks for (codes, digits, SEP) in
// random order must never crash the client or leave its tree and menus out of
// step.
TEST(ServerMessageRobustness, ScrambledMessagesAreHandledOrDropped) {
    test::TempFolder folder;
    test_support::TestClient client(folder.Path().string());
    client.connections.open = true;
    client.banList.open = true;
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const std::string pieces[] = {"0", "1", "2", "3", "7", "9", "12", "1000", "-1", std::string(1, protocol::kSep),
                                  "Bob", "", "x", std::string(1, '\xFF')};
    for (int i = 0; i < 20000; ++i) {
        std::string message = std::to_string(next() % 22);
        if (message.size() == 1) message.insert(0, "0");
        const int parts = static_cast<int>(next() % 7);
        for (int p = 0; p < parts; ++p) message += pieces[next() % std::size(pieces)];
        client.Receive(message);
        if (next() % 50 == 0) client->OnPrivateWindowActivated(client.Window(0));
    }
    for (const UserRow& row : client.userTree.rows) {
        EXPECT_TRUE(client->userTree().HasUser(row.id));
        EXPECT_EQ(row.label, UserTree::Label(row.level, row.serverMuted, row.name));
    }
    EXPECT_EQ(client.userTree.rows.size(), client->userTree().Rows().size());
    EXPECT_EQ(client.adminMenus.installs - client.adminMenus.removes, client->isAdmin() ? 1 : 0);
}

}  // namespace
}  // namespace vorlan::client
