// The main window's core over a real program folder: start-up hosts a server
// and connects to it, the input line's password commands reach the running
// server, and shut-down writes the settings files and closes the log in order.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/MainCore.h"
#include "client/ClientTestSupport.h"
#include "storage/OptionsFile.h"
#include "support/RunLoop.h"

namespace vorlan::app {
namespace {

using namespace client::test_support;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Paths are written the Windows way; the POSIX backend reads them with slashes.
fs::path Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return fs::path(path);
}

class MainCoreTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    RecordedViews window;
    std::unique_ptr<MainCore> core;
    std::uint16_t port = 0;

    // A program folder like the shipped one, every settings file present, on a
    // port the server can take (probed on every address, as the server listens).
    void StartCore() {
        platform::AsyncSocket probe;
        probe.Create(0, platform::kEventAccept, "");
        port = probe.LocalPort();
        probe.Close();
        storage::Options options;
        options.startServer = options.connectToHost = true, options.host = "127.0.0.1";
        options.chatPort = port, options.topic = "Welcome";
        WriteFile(folder.Path() / "options.vr", storage::FormatOptions(options));
        WriteFile(folder.Path() / "profile.vr", "Host\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
        WriteFile(folder.Path() / "banlist.vr", "");
        WriteFile(folder.Path() / "recentservers.vr", "01.01.2026 10:00" + Sep() + "10.1.1.1");
        MakeCore(folder);
        EXPECT_EQ(window.recentServers.items.size(), 0u) << "nothing is shown before the window asks";
        core->LoadRecentServers();
        core->Start();
        EXPECT_EQ(window.recentServers.items.size(), 1u) << "start-up does not add them again";
        ASSERT_TRUE(WaitFor([&] { return core->Session().ownId() > 0; })) << window.mainView.Text();
    }
    void MakeCore(const test::TempFolder& programFolder) {
        MainCoreSettings settings;
        settings.programFolder = programFolder.Path().string();
        settings.clock = FixedTime;
        core = std::make_unique<MainCore>(window.CoreViews(), settings);
        core->Session().SetMenuView(&window);
    }
    std::string File(const char* name) const { return ReadFile(folder.Path() / name); }
};

TEST_F(MainCoreTest, StartUpLogsStartsTheServerAndConnectsInThatOrder) {
    StartCore();
    EXPECT_TRUE(window.mainView.Text().starts_with(
        "\n\t[09:05] Chat logging to: mainchat.txt\n\t[09:05] Server started.\n\t[09:05] Connected."))
        << window.mainView.Text();
    EXPECT_NE(window.mainView.Text().find("Connected.\n[09:05] Topic: Welcome"), std::string::npos);
    EXPECT_EQ(window.tip, "Vorlan - server running | connected");
    EXPECT_FALSE(window.menuChanged.at(client::menu::kStartServer).enabled);
    EXPECT_TRUE(window.menuChanged.at(client::menu::kEndServer).enabled);
    EXPECT_EQ(core->Server().FindConnection(core->Session().ownId())->level, 0) << "127.0.0.1 is the host";
}

TEST_F(MainCoreTest, PasswordCommandsReachTheRunningServer) {
    StartCore();
    core->Session().SendMainInput("/saspw secret");
    core->Session().SendMainInput("/nuspw members");
    RawPeer guest, stranger;
    ASSERT_TRUE(guest.Create(0, platform::kEventAll, "127.0.0.2"));
    guest.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return core->Server().ClientCount() == 2; }));
    const std::string login = protocol::Frame("00Guest" + Sep() + "secret");
    guest.Send(login.data(), static_cast<int>(login.size()));
    ASSERT_TRUE(WaitFor([&] { return guest.received.find("Guest" + Sep() + "Available1") != std::string::npos; }));
    EXPECT_NE(guest.received.find(Sep() + "1Guest"), std::string::npos) << "admitted as Super admin";

    ASSERT_TRUE(stranger.Create(0, platform::kEventAll, "127.0.0.3"));
    stranger.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return stranger.closed || core->Server().ClientCount() == 3; }));
    const std::string wrong = protocol::Frame("00Stranger" + Sep() + "nothing");
    stranger.Send(wrong.data(), static_cast<int>(wrong.size()));
    EXPECT_TRUE(WaitFor([&] { return stranger.closed; })) << "no matching password: refused";
}

TEST_F(MainCoreTest, ShutdownWritesTheFilesAndClosesTheLogInOrder) {
    StartCore();
    core->Session().SendMainInput("/saspw secret");
    core->Session().SendMainInput("/topic New topic");
    ASSERT_TRUE(WaitFor([&] { return core->Server().Topic() == "New topic"; }));
    core->Server().AddBan("10.0.0.9", "spammer");
    core->Shutdown();

    const std::string log = File("Chat logs/mainchat.txt");
    const auto disconnected = log.find("] Disconnected.");
    ASSERT_NE(disconnected, std::string::npos);
    EXPECT_LT(disconnected, log.find("] Server stopped."));
    EXPECT_TRUE(log.ends_with(std::string("] Server stopped.\r\nSession close (") + kLogTime + ")"));
    storage::Options saved;
    ASSERT_TRUE(storage::LoadOptions(folder.File("options.vr"), saved));
    EXPECT_EQ(saved.superAdminPassword, "secret");
    EXPECT_EQ(saved.topic, "New topic");
    EXPECT_EQ(File("banlist.vr"), "0" + Sep() + "10.0.0.9" + Sep() + "spammer");
    EXPECT_NE(File("recentservers.vr").find(Sep() + "127.0.0.1" + Sep() + "Welcome"), std::string::npos)
        << "the note is the topic the server reported at log-in";
    EXPECT_EQ(File("profile.vr"), "Host\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(MainCoreTest, WithoutSettingsFilesNothingIsWrittenAndDefaultsServe) {
    test::TempFolder empty;
    storage::Options options;
    options.mainChatLogging = false;
    WriteFile(empty.Path() / "options.vr", storage::FormatOptions(options));
    MakeCore(empty);
    core->Start();
    EXPECT_EQ(core->ChatLogsFolderToOpen() + core->ChatLogToOpen(&window.mainView), "") << "logging never created them";
    core->Shutdown();
    for (const char* name : {"banlist.vr", "profile.vr", "recentservers.vr"})
        EXPECT_FALSE(fs::exists(empty.Path() / name));
    EXPECT_NE(core->Colors()[1], core->Colors()[2]) << "without a colours file the view must not be black on black";
}

// The services attached through the core: the update check runs only when
// the options ask for it, and shut-down stops it, then the transfers before
// the files are written, and destroys the transfer windows before the main
// log closes.
TEST_F(MainCoreTest, ServicesStartAndStopInTheirPlacesOfStartUpAndShutDown) {
    std::vector<std::string> calls;
    struct Check : update::UpdateCheck {
        std::vector<std::string>& calls;
        explicit Check(std::vector<std::string>& c) : calls(c) {}
        void Start() override { calls.push_back("check started"); }
        void Stop() override { calls.push_back("check stopped"); }
    };
    struct Service : transfer::TransferService {
        std::vector<std::string>& calls;
        const fs::path options;
        Service(std::vector<std::string>& c, fs::path o) : calls(c), options(std::move(o)) {}
        void OnFileTransferControl(const std::string&) override {}
        void CancelTransfersWith(int) override {}
        void CancelAllPendingTransfers() override { calls.push_back("pending cancelled"); }
        void StopAll() override {
            const bool written = fs::last_write_time(options) != fs::file_time_type{};
            calls.push_back(written ? "stopped after the files were written" : "stopped, files not yet written");
        }
        void DestroyAll() override { calls.push_back("destroyed"); }
    };
    for (bool check : {false, true}) {
        test::TempFolder program;
        storage::Options options;
        options.checkForNewVersion = check;
        options.mainChatLogging = false;
        WriteFile(program.Path() / "options.vr", storage::FormatOptions(options));
        fs::last_write_time(program.Path() / "options.vr", fs::file_time_type{});
        calls.clear();
        MainCoreSettings settings;
        settings.programFolder = program.Path().string();
        settings.makeUpdateCheck = [&](MainCore&) { return std::make_unique<Check>(calls); };
        settings.makeTransfers = [&](MainCore&) {
            return std::make_unique<Service>(calls, program.Path() / "options.vr");
        };
        core = std::make_unique<MainCore>(window.CoreViews(), settings);
        core->Start();
        core->Shutdown();
        EXPECT_NE(fs::last_write_time(program.Path() / "options.vr"), fs::file_time_type{}) << "written at the end";
        const std::vector<std::string> shutDown = {"check stopped", "stopped, files not yet written", "destroyed"};
        std::vector<std::string> expected = shutDown;
        if (check) expected.insert(expected.begin(), "check started");
        EXPECT_EQ(calls, expected) << check;
        core.reset();
    }
}

// "Go to chat logs" and both "Open chat log" commands open only what exists.
TEST_F(MainCoreTest, ChatLogCommandsFindOnlyExistingLogs) {
    StartCore();
    const fs::path logs = folder.Path() / "Chat logs";
    EXPECT_EQ(Native(core->ChatLogsFolderToOpen()), logs);
    EXPECT_EQ(Native(core->ChatLogToOpen(&window.mainView)), logs / "mainchat.txt");
    conversation::RecordingChatView stranger;
    EXPECT_EQ(core->ChatLogToOpen(nullptr) + core->ChatLogToOpen(&stranger), "") << "a view of no chat has no log";

    const int own = core->Session().ownId();
    window.userTree.selected = client::kAdminsGroupId;
    EXPECT_EQ(core->SelectedUserChatLogToOpen(), "") << "a group row is no user";
    window.userTree.selected = own;
    EXPECT_EQ(core->SelectedUserChatLogToOpen(), "") << "no private log written yet";
    core->Session().OpenPrivateChat(own);
    const fs::path privateLog = logs / "Private chat" / "Host.txt";
    ASSERT_TRUE(fs::exists(privateLog));
    EXPECT_EQ(Native(core->ChatLogToOpen(&window.Window(0)->view)), privateLog);
    EXPECT_EQ(Native(core->SelectedUserChatLogToOpen()), privateLog);
    fs::remove(privateLog);
    EXPECT_EQ(core->SelectedUserChatLogToOpen(), "") << "a deleted log is not opened";
}

// The built-in check over a real socket, started by the core as the options say: a
// newer version reaches the pop-up as an update notice, shown with pop-ups off
// and without a sound; with the option off nobody is even asked.
struct UpdateResponder : platform::AsyncSocket {
    struct Peer : platform::AsyncSocket {
        void OnReceive(int) override {
            char buffer[512];
            if (Receive(buffer, sizeof buffer) > 0) {
                const std::string answer = "HTTP/1.1 200 OK\n\n1.18";
                Send(answer.data(), static_cast<int>(answer.size()));
            }
        }
    };
    std::vector<std::unique_ptr<Peer>> peers;
    void OnAccept(int) override {
        auto peer = std::make_unique<Peer>();
        if (Accept(*peer)) peers.push_back(std::move(peer));
    }
};

TEST_F(MainCoreTest, TheUpdateCheckAsksOnlyWhenSwitchedOnAndItsNoticeShowsWithoutASound) {
    for (bool check : {false, true}) {
        test::TempFolder program;
        fs::create_directories(program.Path() / "Sounds");
        WriteFile(program.Path() / "Sounds" / "popup.wav", "RIFF");
        storage::Options options;
        options.checkForNewVersion = check;
        options.enablePopup = false, options.enablePopupSound = true;
        options.mainChatLogging = false;
        WriteFile(program.Path() / "options.vr", storage::FormatOptions(options));
        UpdateResponder responder;
        ASSERT_TRUE(responder.Create(0, platform::kEventAccept, "127.0.0.1") && responder.Listen());
        MainCoreSettings settings;
        settings.programFolder = program.Path().string();
        settings.updateServer = {"127.0.0.1", responder.LocalPort(), "updates.test"};
        window.popups.clear();
        core = std::make_unique<MainCore>(window.CoreViews(), settings);
        core->Start();
        if (check) {
            ASSERT_TRUE(WaitFor([&] { return !window.popups.empty(); }));
            EXPECT_EQ(window.popups, std::vector<std::string>{"Vorlan1.18 is available for download. Click here for "
                                                              "more information.|1|0"});
        } else {
            test::RunLoopFor(300);
            EXPECT_TRUE(responder.peers.empty()) << "switched off, nobody is asked";
            EXPECT_TRUE(window.popups.empty());
        }
        EXPECT_TRUE(window.played.empty());
        core->Shutdown();
        core.reset();
    }
}

}  // namespace
}  // namespace vorlan::app
