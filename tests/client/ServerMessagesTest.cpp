// What the client makes of each server message: the user tree, the main view,
// pop-ups, the title and the admin lists.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;
using namespace protocol::to_client;

// Logged in as the host Anna (2), with Bob (1, normal admin) and Carl (3, normal user).
class ServerMessages : public ::testing::Test {
protected:
    test::TempFolder folder;
    TestClient client{folder.Path().string()};

    void SetUp() override {
        client.Receive(UserEntry(1, 2, "Bob", "Busy", false));
        client.Receive(UserEntry(2, 0, "Anna", "Available", true));
        client.Receive(UserEntry(3, 3, "Carl", "Away", false));
    }
    // The runs one message adds to the main view.
    std::string RunsOf(const std::string& message) {
        client.mainView.Forget();
        client.Receive(message);
        return Runs(client.mainView);
    }
    std::string LastPopup() const { return client.popups.empty() ? "" : client.popups.back(); }
};

TEST_F(ServerMessages, TheLogInBurstFillsBothGroupsSilently) {
    client.Receive(UserEntry(4, 7, "Dora", "Available", false));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: Carl, (Dora)");
    EXPECT_EQ(client.userTree.groups[0].colour, kTreeText);
    EXPECT_EQ(std::pair(client->ownId(), client.adminInstalls), std::pair(2, 1));
    for (const auto& [id, colour] : {std::pair{1, kNormalAdminColour}, {2, kHostColour}, {4, kNormalUserColour}})
        EXPECT_EQ(client.userTree.Row(id)->colour, colour);
    EXPECT_EQ(client.userTree.Row(1)->status, "Busy");
    EXPECT_TRUE(client.ViewText().empty() && client.popups.empty());

    TestClient normal(folder.Path().string());  // an own entry as normal user installs nothing
    normal.Receive(UserEntry(9, 3, "Anna", "Available", true));
    EXPECT_EQ(std::pair(normal->ownId(), normal.adminInstalls), std::pair(9, 0));
}

TEST_F(ServerMessages, MalformedMessagesChangeNothing) {
    const std::string s = Sep();
    const std::string messages[] = {"001" + s + "8Bob" + s + "Available0",
                                    "000" + s + "3Bob" + s + "Available0",
                                    "004" + s + "3Bob",
                                    "01x" + s + "3Bob",
                                    "015" + s + "5Bob",
                                    "21whatever",
                                    "0",
                                    "183x" + s + "1",
                                    "0242" + s + "0hi"};
    for (const std::string& message : messages) client.Receive(message);
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: Carl");
    EXPECT_EQ(client.ViewText(), "");
}

TEST_F(ServerMessages, LabelsShowAClosedMainChatAndAServerMute) {
    const std::pair<std::string, std::string> steps[] = {
        {UserModeChanged(3, 7), "(Carl)"},       {UserMuteChanged("3", true), "[(Carl)]"},
        {UserModeChanged(3, 3), "[Carl]"},       {UserRenamed(3, "Carlos"), "[Carlos]"},
        {UserMuteChanged("3", false), "Carlos"}, {UserModeChanged(3, 6), "(Carlos)"},
    };
    for (const auto& [message, label] : steps) {
        client.Receive(message);
        EXPECT_EQ(client.userTree.Row(3)->label, label) << message;
    }
    // A mode change keeps the row in its group whatever the digit says.
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: (Carlos)");
}

TEST_F(ServerMessages, AdminRightsMoveRowsAndOursInstallTheAdminMenus) {
    client.Receive(UserMuteChanged("3", true));
    client.Receive(AdminGranted("3"));
    client.Receive(AdminGranted("1"));  // already an admin
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna, [Carl]");
    EXPECT_EQ(*client.userTree.Row(3),
              (UserRow{3, 2, false, true, "Carl", "Away", kNormalAdminColour, "[Carl]", kAdminsGroupId}));
    client.Receive(AdminRevoked("1"));
    EXPECT_EQ(client.userTree.Render(), "Admins: Anna, [Carl] | Normal: Bob");
    EXPECT_EQ(client.userTree.Row(1)->colour, kNormalUserColour);

    TestClient own(folder.Path().string());
    own.Receive(UserEntry(5, 7, "Anna", "Available", true));
    own.connections.open = true;
    own.Receive(AdminGranted("5"));
    own.Receive(AdminGranted("5"));
    EXPECT_EQ(std::pair(own.adminInstalls, own.userTree.Row(5)->level), std::pair(1, 6));
    own.Receive(AdminRevoked("5"));
    EXPECT_FALSE(own.AdminMenusInstalled() || own.connections.open);
    EXPECT_EQ(own.userTree.Render(), "Normal: (Anna)");
    EXPECT_EQ(client.ViewText() + own.ViewText(), "");
}

TEST_F(ServerMessages, AGroupRowGoesWithItsLastUser) {
    client.Receive(UserLeft(3, false));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna");
    client.Receive(UserJoined(6, 3, "Eve"));
    EXPECT_EQ(client.userTree.Render(), "Admins: Bob, Anna | Normal: Eve");
    EXPECT_EQ(client.userTree.Row(6)->status, "Available");
    client.Receive(UserRemoved("1", false, 2));
    client.Receive(UserDropped(2));
    EXPECT_EQ(client.userTree.Render(), "Normal: Eve");
    EXPECT_EQ(client.cancelled, (std::vector<int>{3, 1, 2}));
}

// In order: each message, the runs it adds to the main view and the pop-up it raises.
TEST_F(ServerMessages, MainViewLinesAndPopUps) {
    const std::string t = "\n\t[09:05] {5}";
    const struct {
        std::string message, runs, popup;
    } steps[] = {
        {MainChatMessage(1, "0hi www.x.org"), "\n[09:05] {5}Bob{15*}:{5*} {5}hi www.x.org{6}", ""},
        {MainChatMessage(3, "1waves"), t + "Carl{16} {5}waves{6}", ""},
        {MainChatMessage(3, "2hi all"), t + "Carl{16} says: {5}hi all{6}", "Carl says: hi all"},
        {MainChatMessage(44, "0who?"), "", ""},
        {MainChatMessage(3, "7odd"), "", ""},
        {UserJoined(6, 3, "Eve"), t + "Eve{16} has joined the server.{4}", "Eve has joined the server."},
        {UserRenamed(6, "Evie"), t + "Eve{16} changed name to: {5}Evie{16}", ""},
        {UserAddress("6", "10.1.2.3"), t + "Evie{16}'s IP address: {5}10.1.2.3{6}", ""},
        {UserVersion(6, "1.17"), t + "Evie{16}'s version: {5}1.17{6}", ""},
        {UserStatusChanged(6, "Away"), "", ""},
        {UserLeft(6, true), t + "Evie{16} has lost the connection.{4}", "Evie has lost the connection."},
        {TopicText(false, "Welcome"), "\n[09:05] {5}Topic:{5*} {5}Welcome{6}", ""},
        {TopicText(true, "New"), t + "Topic changed to: {5}New{6}", ""},
        {UserModeChanged(2, 4), t + "Main chat closed.{4}", ""},
        {UserModeChanged(1, 6), "", ""},
        {UserModeChanged(2, 0), t + "Main chat opened.{4}", ""},
        {UserRemoved("3", true, 1), t + "Carl{16} has been banned by {4}Bob{15}.{4}", "Carl has been banned by Bob"},
        {UserRemoved("2", false, 77), "", ""},
        {UserDropped(1), t + "Bob{15} has been kicked.{4}", "Bob has been kicked."},
    };
    for (const auto& step : steps) {
        client.popups.clear();
        EXPECT_EQ(RunsOf(step.message), step.runs) << step.message;
        EXPECT_EQ(LastPopup(), step.popup) << step.message;
    }
    EXPECT_EQ(client.userTree.Render(), "Admins: Anna");
}

TEST_F(ServerMessages, AClosedMainChatOnlyPopsUpAndTimestampsCanBeOff) {
    client->SetMainChatOpenForTesting(false);
    client.Receive(UserJoined(6, 3, "Eve"));
    client.Receive(UserLeft(6, false));
    client.Receive(UserRemoved("3", false, 1));
    EXPECT_EQ(client.ViewText(), "");
    EXPECT_EQ(client.popups, (std::vector<std::string>{"Eve has joined the server.", "Eve has left the server.",
                                                       "Carl has been kicked by Bob"}));

    client->SetMainChatOpenForTesting(true);
    client->options().timestamps = false;
    client.Receive(MainChatMessage(1, "0hi"));
    EXPECT_EQ(client.ViewText(), "\nBob: hi");
}

TEST_F(ServerMessages, LinesWhileHiddenCountInTheTitle) {
    client.foreground = false;  // behind other windows but visible: not counted
    client.Receive(MainChatMessage(1, "0one"));
    EXPECT_EQ(client->unreadCount(), 0);

    client.visible = false;
    const std::pair<std::string, std::string> steps[] = {
        {"0one", "Vorlan - 1 new message"},
        {"1two", "Vorlan - 2 new messages"},
        {"2three", "Vorlan - 2 new messages"}};  // "says" lines are not counted
    for (const auto& [line, tip] : steps) {
        client.Receive(MainChatMessage(1, line));
        EXPECT_EQ(client.tip, tip) << line;
    }
    for (int i = 0; i < 998; ++i) client.Receive(MainChatMessage(1, "0x"));
    EXPECT_EQ(client.tip, "Vorlan - 1000 new messages");
    for (int i = 0; i < 5; ++i) client.Receive(MainChatMessage(1, "0x"));
    EXPECT_EQ(std::pair(client->unreadCount(), client.tip),
              std::pair(1001, std::string("Vorlan - 1000+ new messages")));

    client->MainWindowShown();
    EXPECT_EQ(client.tip, "Vorlan");
}

TEST_F(ServerMessages, ProfileInfoFillsTheInfoWindow) {
    client.Receive(ProfileInfo(1, {"Bobby", "b@x", "NZ", "www.b", "chess", "m", "1.1.1990", "pic", "Away"}));
    EXPECT_EQ(std::pair(client.infoShown, client.infoUserId), std::pair(1, 1));
    EXPECT_EQ(client.infoCaption + client.infoFields[0] + client.infoFields[8], "Bob's infoBobbyAway");

    client.Receive("123" + Sep() + "Carl" + Sep() + "c@x");  // filling stops at the missing field
    EXPECT_EQ(client.infoCaption + client.infoFields[0] + client.infoFields[1] + client.infoFields[2],
              "Carl's infoCarlc@xNZ");
    EXPECT_TRUE(client->OpenPrivateChatFromInfo());
    EXPECT_EQ(client.Window(0)->caption, "Carl");
}

TEST_F(ServerMessages, AdminListsFillOnlyOpenWindowsAndStartAfreshWithTheFirstRow) {
    client.Receive(ConnectionEntry(true, 1, "10.0.0.1"));
    client.Receive(BanEntry(true, 4, "10.0.0.9", "spammer"));
    EXPECT_TRUE(client.connections.rows.empty() && client.banList.rows.empty());

    client.connections.open = client.banList.open = true;
    client.connections.rows.push_back({});
    for (const std::string& message : {ConnectionEntry(true, 1, "10.0.0.1"), ConnectionEntry(false, 3, "10.0.0.3"),
                                       ConnectionEntry(false, 17, "10.0.0.17"),
                                       // A row for no user is dropped, even a first row that would clear the list.
                                       ConnectionEntry(true, 0, "10.0.0.0"), "191-3" + Sep() + "10.0.0.3",
                                       BanEntry(true, 4, "10.0.0.9", "spammer"), BanEntry(false, 7, "10.0.0.8", "")}) {
        client.Receive(message);
    }
    ASSERT_EQ(client.connections.rows.size(), 3u);
    EXPECT_EQ(client.connections.rows[0],
              (RemoteConnectionRow{1, kAdminsGroupId, "Bob - 10.0.0.1", kNormalAdminColour, false, false}));
    EXPECT_EQ(client.connections.rows[1].group, kNormalGroupId);
    EXPECT_EQ(client.connections.rows[2],
              (RemoteConnectionRow{17, kTopLevel, "17 - 10.0.0.17", kTreeText, false, false}));
    EXPECT_EQ(client.banList.rows, (std::vector<std::string>{"4:10.0.0.9 - spammer", "7:10.0.0.8"}));
}

TEST_F(ServerMessages, FileTransferStepsOfKnownUsersGoToTheTransferHook) {
    const std::string message = FileTransferControl(3, "5" + Sep() + "10x");
    client.Receive(message);
    client.Receive(FileTransferControl(99, "5" + Sep() + "10x"));
    EXPECT_EQ(client.transferControls, (std::vector<std::string>{message}));
}

TEST_F(ServerMessages, UserMenuFollowsTheLevelTable) {
    client.Receive(UserEntry(4, 1, "Sam", "Available", false));
    auto menuFor = [&](int id) {
        client.userTree.selected = id;
        return client->UserMenuFor();
    };
    // selected row -> {show, mute text, admin items, enable admin, disable admin, kick and ban}; we are host
    EXPECT_EQ(menuFor(4), (UserMenuState{true, "Mute", true, false, false, true}));   // super admin
    EXPECT_EQ(menuFor(2), (UserMenuState{true, "Mute", true, false, false, false}));  // the host
    EXPECT_EQ(menuFor(1), (UserMenuState{true, "Mute", true, false, true, true}));    // normal admin
    EXPECT_EQ(menuFor(3), (UserMenuState{true, "Mute", true, true, false, true}));    // normal user
    EXPECT_FALSE(menuFor(kAdminsGroupId).show);
    client.Receive(UserModeChanged(2, 5));  // now we are a super admin
    EXPECT_EQ(menuFor(4), (UserMenuState{true, "Mute", true, false, false, false}));
    client.userTree.selected = 3;
    client->OnUserMenuCommand(menu::kMuteToggle);  // not connected: only the local flag
    EXPECT_EQ(menuFor(3).muteText, "Unmute");
}

// Messages built from the pieces the reader looks for (codes, digits, SEP) in
// random order must never crash the client or leave its tree and menus out of step.
TEST(ServerMessageRobustness, ScrambledMessagesAreHandledOrDropped) {
    test::TempFolder folder;
    TestClient client(folder.Path().string());
    client.connections.open = client.banList.open = true;
    std::uint32_t seed = 12345;
    auto next = [&] { return ((seed = seed * 1103515245u + 12345u) >> 16) & 0x7FFF; };
    const std::string pieces[] = {"0", "1", "2", "3", "7", "9", "12", "1000", "-1", Sep(), "Bob", "", "x", "\xFF"};
    for (int i = 0; i < 20000; ++i) {
        std::string message = std::to_string(next() % 22);
        if (message.size() == 1) message.insert(0, "0");
        for (int p = static_cast<int>(next() % 7); p > 0; --p) message += pieces[next() % std::size(pieces)];
        client.Receive(message);
        if (next() % 50 == 0) client->OnPrivateWindowActivated(client.Window(0));
    }
    EXPECT_EQ(client.userTree.rows, client->userTree().Rows());
    EXPECT_EQ(client.adminInstalls - client.adminRemoves, client->isAdmin() ? 1 : 0);
}

}  // namespace
}  // namespace vorlan::client
