// The main window's core over a real program folder: start-up hosts a server
// and connects to it, the input line's password commands reach the running
// server, and shut-down writes the settings files and closes the log in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/MainCore.h"
#include "client/ClientTestSupport.h"
#include "storage/OptionsFile.h"
#include "support/TempFolder.h"

namespace vorlan::app {
namespace {

using namespace client::test_support;
namespace fs = std::filesystem;

std::uint16_t FreePort() {
    platform::AsyncSocket probe;
    probe.Create(0, platform::kEventAccept, "127.0.0.1");
    return probe.LocalPort();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// Every view of the main window, recorded.
struct RecordedWindow {
    conversation::RecordingChatView mainView;
    RecordingUserTree userTree;
    RecordingRecentServers recentServers;
    RecordingMenu menu;
    RecordingPopups popups;
    FakeMainWindow mainWindow;
    RecordingTray tray;
    RecordingSounds sounds;
    RecordingInfo info;
    RecordingConnections connections;
    RecordingBanList banList;
    RecordingAdminMenus adminMenus;
    RecordingPrivateWindows privateWindows;
    RecordingTransfers transfers;

    client::ClientSessionViews Views() {
        return {mainView, userTree, recentServers, popups, mainWindow, tray, sounds, info,
                connections, banList, adminMenus, privateWindows, transfers};
    }
};

class MainCoreTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    RecordedWindow window;
    std::unique_ptr<MainCore> core;
    std::uint16_t port = FreePort();

    // A program folder like the shipped one: every settings file present.
    void PrepareProgramFolder(bool startServer) {
        storage::Options options;
        options.startServer = startServer;
        options.connectToHost = true;
        options.host = "127.0.0.1";
        options.chatPort = port;
        options.topic = "Welcome";
        WriteFile(folder.Path() / "options.vr", storage::FormatOptions(options));
        WriteFile(folder.Path() / "profile.vr", "Host\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
        WriteFile(folder.Path() / "banlist.vr", "");
        WriteFile(folder.Path() / "recentservers.vr", "");
    }

    void StartCore() {
        MainCoreSettings settings;
        settings.programFolder = folder.Path().string();
        settings.clock = FixedTime;
        core = std::make_unique<MainCore>(window.Views(), settings);
        core->Session().SetMenuView(&window.menu);
        core->Start();
    }

    std::string File(const char* name) const { return ReadFile(folder.Path() / name); }
};

TEST_F(MainCoreTest, StartUpHostsAServerAndConnectsToIt) {
    PrepareProgramFolder(true);
    StartCore();
    ASSERT_TRUE(WaitFor([&] { return core->Session().ownId() > 0; }));

    const std::string view = window.mainView.Text();
    const auto logging = view.find("Chat logging to: mainchat.txt");
    const auto started = view.find("Server started.");
    const auto connected = view.find("Connected.");
    const auto topic = view.find("Welcome");
    ASSERT_NE(logging, std::string::npos);
    ASSERT_NE(started, std::string::npos);
    ASSERT_NE(connected, std::string::npos);
    ASSERT_NE(topic, std::string::npos);
    EXPECT_LT(logging, started);
    EXPECT_LT(started, connected);
    EXPECT_LT(connected, topic);

    EXPECT_EQ(window.tray.tip, "Vorlan - server running | connected");
    EXPECT_FALSE(window.menu.changed.at(client::menu::kStartServer).enabled);
    EXPECT_TRUE(window.menu.changed.at(client::menu::kEndServer).enabled);
    EXPECT_TRUE(window.menu.changed.at(client::menu::kEndConnection).enabled);
    EXPECT_EQ(core->Server().FindConnection(core->Session().ownId())->level, 0) << "127.0.0.1 is the host";
}

TEST_F(MainCoreTest, PasswordCommandsReachTheRunningServer) {
    PrepareProgramFolder(true);
    StartCore();
    ASSERT_TRUE(WaitFor([&] { return core->Session().ownId() > 0; }));
    core->SendMainInput("/saspw secret");
    core->SendMainInput("/nuspw members");

    RawPeer guest;
    ASSERT_TRUE(guest.Create(0, platform::kEventAll, "127.0.0.2"));
    guest.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return core->Server().ClientCount() == 2; }));
    const std::string login = protocol::Frame("00Guest" + Sep() + "secret");
    guest.Send(login.data(), static_cast<int>(login.size()));
    ASSERT_TRUE(WaitFor([&] { return guest.received.find("Guest" + Sep() + "Available1") != std::string::npos; }));
    EXPECT_NE(guest.received.find(Sep() + "1Guest"), std::string::npos) << "admitted as Super admin";

    RawPeer stranger;
    ASSERT_TRUE(stranger.Create(0, platform::kEventAll, "127.0.0.3"));
    stranger.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return stranger.closed || core->Server().ClientCount() == 3; }));
    const std::string wrong = protocol::Frame("00Stranger" + Sep() + "nothing");
    stranger.Send(wrong.data(), static_cast<int>(wrong.size()));
    EXPECT_TRUE(WaitFor([&] { return stranger.closed; })) << "no matching password: refused";
}

TEST_F(MainCoreTest, ShutdownWritesTheFilesAndClosesTheLogInOrder) {
    PrepareProgramFolder(true);
    StartCore();
    ASSERT_TRUE(WaitFor([&] { return core->Session().ownId() > 0; }));
    core->SendMainInput("/saspw secret");
    core->SendMainInput("/topic New topic");
    ASSERT_TRUE(WaitFor([&] { return core->Server().Topic() == "New topic"; }));
    core->Server().AddBan("10.0.0.9", "spammer");

    core->Shutdown();

    const std::string log = File("Chat logs/mainchat.txt");
    const auto disconnected = log.find("] Disconnected.");
    const auto stopped = log.find("] Server stopped.");
    ASSERT_NE(disconnected, std::string::npos);
    ASSERT_NE(stopped, std::string::npos);
    EXPECT_LT(disconnected, stopped);
    EXPECT_TRUE(log.ends_with(std::string("\r\nSession close (") + kLogTime + ")"));

    storage::Options saved;
    ASSERT_TRUE(storage::LoadOptions(folder.File("options.vr"), saved));
    EXPECT_EQ(saved.superAdminPassword, "secret");
    EXPECT_EQ(saved.topic, "New topic");
    EXPECT_EQ(File("banlist.vr"), "0" + Sep() + "10.0.0.9" + Sep() + "spammer");
    EXPECT_NE(File("recentservers.vr").find(Sep() + "127.0.0.1" + Sep() + "Welcome"), std::string::npos)
        << "the note is the topic the server reported at log-in";
    EXPECT_EQ(File("profile.vr"), "Host\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(MainCoreTest, MissingFilesStayMissingAndColoursAreReadable) {
    test::TempFolder empty;
    MainCoreSettings settings;
    settings.programFolder = empty.Path().string();
    core = std::make_unique<MainCore>(window.Views(), settings);
    core->Start();
    core->Shutdown();
    EXPECT_FALSE(fs::exists(empty.Path() / "options.vr"));
    EXPECT_FALSE(fs::exists(empty.Path() / "banlist.vr"));
    // Without a colours file the chat view must not be black on black.
    EXPECT_NE(core->Colors()[1], core->Colors()[2]);
}

// "Go to chat logs" and both "Open chat log" commands open only what exists:
// the folder, the main log for the main view, a private window's own log for
// its view, and the selected user's log by name.
// Paths are written the Windows way; the POSIX backend reads them with slashes.
fs::path Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return fs::path(path);
}

TEST_F(MainCoreTest, ChatLogCommandsFindOnlyExistingLogs) {
    PrepareProgramFolder(true);
    StartCore();
    ASSERT_TRUE(WaitFor([&] { return core->Session().ownId() > 0; }));
    const fs::path logs = folder.Path() / "Chat logs";

    EXPECT_EQ(Native(core->ChatLogsFolderToOpen()), logs);
    EXPECT_EQ(Native(core->ChatLogToOpen(&window.mainView)), logs / "mainchat.txt");
    EXPECT_EQ(core->ChatLogToOpen(nullptr), "");
    conversation::RecordingChatView stranger;
    EXPECT_EQ(core->ChatLogToOpen(&stranger), "") << "a view of no chat has no log";

    const int own = core->Session().ownId();
    window.userTree.selected = client::kAdminsGroupId;
    EXPECT_EQ(core->SelectedUserChatLogToOpen(), "") << "a group row is no user";
    window.userTree.selected = own;
    EXPECT_EQ(core->SelectedUserChatLogToOpen(), "") << "no private log written yet";

    core->Session().OpenPrivateChat(own);
    ASSERT_EQ(window.privateWindows.alive.size(), 1u);
    const fs::path privateLog = logs / "Private chat" / "Host.txt";
    ASSERT_TRUE(fs::exists(privateLog));
    EXPECT_EQ(Native(core->ChatLogToOpen(&window.privateWindows.alive[0]->view)), privateLog);
    EXPECT_EQ(Native(core->SelectedUserChatLogToOpen()), privateLog);

    fs::remove(privateLog);
    EXPECT_EQ(core->SelectedUserChatLogToOpen(), "") << "a deleted log is not opened";
}

TEST_F(MainCoreTest, ChatLogsFolderIsNotOpenedWhenLoggingNeverCreatedIt) {
    test::TempFolder empty;
    storage::Options options;
    options.mainChatLogging = false;
    WriteFile(empty.Path() / "options.vr", storage::FormatOptions(options));
    MainCoreSettings settings;
    settings.programFolder = empty.Path().string();
    core = std::make_unique<MainCore>(window.Views(), settings);
    core->Start();
    EXPECT_EQ(core->ChatLogsFolderToOpen(), "");
    EXPECT_EQ(core->ChatLogToOpen(&window.mainView), "");
}

// Links and the About box's home page open with the browser the options name.
TEST_F(MainCoreTest, BrowserProgramFollowsTheBrowserOptions) {
    PrepareProgramFolder(false);
    StartCore();
    storage::Options& options = core->Options();
    options.useSpecifiedBrowser = true;
    options.browserPath = "C:\\Browsers\\web.exe";
    options.useInternetExplorer = true;
    EXPECT_EQ(core->BrowserProgram(), "C:\\Browsers\\web.exe");
    options.useSpecifiedBrowser = false;
    EXPECT_EQ(core->BrowserProgram(), "iexplore");
    options.useInternetExplorer = false;
    EXPECT_EQ(core->BrowserProgram(), "");
}

// The servers tree gets its entries once, when the window asks for them
// (after its colours are set), or at the latest when start-up runs.
TEST_F(MainCoreTest, RecentServersAreShownOnceWhenTheWindowAsks) {
    PrepareProgramFolder(false);
    WriteFile(folder.Path() / "recentservers.vr", "01.01.2026 10:00" + Sep() + "10.1.1.1\r\n02.01.2026 11:00" + Sep() + "10.1.1.2" + Sep() + "Topic");
    MainCoreSettings settings;
    settings.programFolder = folder.Path().string();
    core = std::make_unique<MainCore>(window.Views(), settings);
    EXPECT_TRUE(window.recentServers.items.empty()) << "nothing is shown before the window asks";
    core->LoadRecentServers();
    ASSERT_EQ(window.recentServers.items.size(), 2u);
    core->Start();
    EXPECT_EQ(window.recentServers.items.size(), 2u) << "start-up does not add them again";
}

}  // namespace
}  // namespace vorlan::app
