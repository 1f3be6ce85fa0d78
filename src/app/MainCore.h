#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "client/ClientSession.h"
#include "server/ChatServer.h"
#include "storage/Records.h"

namespace vorlan::app {

// Where the program keeps its state and the few things tests replace.
struct MainCoreSettings {
    std::string programFolder;                   // the executable's folder
    std::function<platform::LocalTime()> clock;  // empty: the local time
    std::uint32_t keepAliveMs = 60000;           // client timer 109
    std::uint32_t reconnectMs = 30000;           // client timer 122
    server::ServerTuning serverTuning;           // server timers and limits
    std::string clientBindAddress;               // tests only: appear as another machine
};

// The core of the main window: it reads the settings files, owns this
// instance's chat server and its client session, wires the server's notices and
// state into the session's view and menu, runs start-up and shut-down in their
// order, and writes the settings files back. The Win32 main window owns one and
// implements the views; it keeps no rules of its own.
class MainCore : private server::ServerObserver {
public:
    MainCore(const client::ClientSessionViews& views, MainCoreSettings settings);
    ~MainCore();
    MainCore(const MainCore&) = delete;
    MainCore& operator=(const MainCore&) = delete;

    // Start-up step 7: the recently used servers read from their file go into
    // the servers tree. Call once the tree is ready; Start does it otherwise.
    void LoadRecentServers();
    // Start-up after the window exists: opens the main chat log, then starts the
    // server and connects as the options ask.
    void Start();
    // "Exit" and the end of the Windows session: ends the connection and the
    // server, writes the settings files that exist, and closes the logs.
    void Shutdown();
    // The same in two halves, for the window that removes its tray icon in
    // between: the connection and the server end and the files are written ...
    void EndAndSave();
    // ... then the logs get their session-close lines and the private windows go.
    void CloseLogsAndWindows();

    // Menu commands that need no window of their own ("Start server",
    // "Connect to local server", status items, ...). False when `id` belongs to
    // a window (dialogs, "Exit", chat logs).
    bool OnMenuCommand(int id);

    void StartServer();
    void StopServer();
    void SendMainInput(const std::string& typed);

    // What the shell should open for "Go to chat logs" and "Open chat log":
    // an existing folder or file, or "" when there is nothing to open.
    std::string ChatLogsFolderToOpen() const;
    // The log of a chat view: the main chat view's log, or the log of the
    // private chat window that shows `view`.
    std::string ChatLogToOpen(const conversation::ChatView* view) const;
    // The private chat log of the user selected in the user tree.
    std::string SelectedUserChatLogToOpen() const;

    client::ClientSession& Session() { return *session_; }
    server::ChatServer& Server() { return server_; }
    storage::Options& Options() { return session_->options(); }
    const storage::Colors& Colors() const { return session_->colors(); }
    const std::string& ProgramFolder() const { return programFolder_; }
    std::string PathOf(std::string_view fileName) const;

private:
    // ServerObserver
    void OnServerNotice(std::string_view text) override;
    void OnServerStateChanged(bool running, bool listening) override;
    void OnServerPopupRequest(std::string_view text) override;

    void SyncServerSettings();
    void SaveSettingsFiles();

    client::ClientSessionViews views_;
    std::string programFolder_;
    std::vector<storage::RecentServerRecord> loadedRecentServers_;
    bool recentServersLoaded_ = false;
    server::ChatServer server_;
    std::unique_ptr<client::ClientSession> session_;
};

}  // namespace vorlan::app
