#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/Notifier.h"
#include "client/ClientSession.h"
#include "server/ChatServer.h"
#include "storage/Records.h"
#include "transfer/FileTransfers.h"
#include "transfer/TransferService.h"
#include "update/UpdateCheck.h"
#include "update/UpdateChecker.h"

namespace vorlan::app {

class MainCore;

// Where the program keeps its state, the services that come from other
// subsystems, and the few things tests replace.
struct MainCoreSettings {
    std::string programFolder;                   // the executable's folder
    std::function<platform::LocalTime()> clock;  // empty: the local time
    std::uint32_t keepAliveMs = 60000;           // client timer 109
    std::uint32_t reconnectMs = 30000;           // client timer 122
    server::ServerTuning serverTuning;           // server timers and limits
    std::string clientBindAddress;               // tests only: appear as another machine
    // The file transfer service and the update check, made once while the
    // core is built (before its session exists; they may keep the core and
    // reach its session later). No transfer service: no file transfer is
    // answered. No update check: the built-in one (a test that switches the
    // check on must give its own, point updateServer at a local responder, or
    // run where the built-in address is local).
    std::function<std::unique_ptr<transfer::TransferService>(MainCore&)> makeTransfers;
    std::function<std::unique_ptr<update::UpdateCheck>(MainCore&)> makeUpdateCheck;
    // Where the built-in check asks; tests point it at a local responder.
    update::UpdateServer updateServer;
    // The transfer windows (transfer/ui). With them and without makeTransfers
    // the file transfers run (transfer::FileTransfers) over the client session.
    transfer::TransferWindowFactory* transferWindows = nullptr;
    transfer::TransferTuning transferTuning;
};

// Everything the application core asks of the main window and its helpers.
struct MainCoreViews {
    conversation::ChatView& mainView;
    client::UserTreeView& userTree;
    client::RecentServersView& recentServers;
    PopupView& popup;
    SoundPlayer& sounds;
    client::MainWindowState& mainWindow;
    client::TrayTip& tray;
    client::InfoWindowView& info;
    client::RemoteConnectionsView& remoteConnections;
    client::RemoteBanListView& remoteBanList;
    client::AdminMenusView& adminMenus;
    client::PrivateChatWindowFactory& privateWindows;
};

// The application core behind the main window. It reads the settings files,
// owns this instance's chat server, its client session and the services that
// windows and the client share, runs start-up and shut-down in their order,
// and writes the settings files back. The services:
//   - Notifier()    pop-ups and sounds (the pop-up window only slides);
//   - Transfers()   file transfers (transfer/), their windows in transfer/ui;
//   - the update check (update/), started here and stopped at shut-down;
//   - the admin windows, fed by the session's row handlers through the
//     views' RemoteConnectionsView and RemoteBanListView.
// The Win32 main window owns one and implements the views; it keeps no rules of its own.
class MainCore : private server::ServerObserver {
public:
    MainCore(const MainCoreViews& views, MainCoreSettings settings);
    ~MainCore();
    MainCore(const MainCore&) = delete;
    MainCore& operator=(const MainCore&) = delete;

    // Start-up step 7: the recently used servers read from their file go into
    // the servers tree. Call once the tree is ready; Start does it otherwise.
    void LoadRecentServers();
    // Start-up after the window exists: opens the main chat log, then starts the
    // update check, the server and the connection as the options ask.
    void Start();
    // "Exit" and the end of the Windows session: ends the connection and the
    // server, writes the settings files that exist, and closes the logs.
    void Shutdown();
    // The same in two halves, for the window that removes its tray icon in
    // between: the update check, the connection, the server and the transfers
    // end and the files are written ...
    void EndAndSave();
    // ... then the logs get their session-close lines and the private and
    // transfer windows go.
    void CloseLogsAndWindows();

    // Menu commands that need no window of their own ("Start server",
    // "Connect to local server", status items, ...). False when `id` belongs to
    // a window (dialogs, "Exit", chat logs).
    bool OnMenuCommand(int id);

    void StartServer();
    void StopServer();
    // The Options dialog changed the settings.
    void OptionsChanged() { SyncServerSettings(); }

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
    app::Notifier& Notifier() { return notifier_; }
    transfer::TransferService& Transfers() { return *transfers_; }
    storage::Options& Options() { return settings_.options; }
    const storage::Colors& Colors() const { return settings_.colors; }
    const std::string& ProgramFolder() const { return settings_.programFolder; }
    std::string PathOf(std::string_view fileName) const;

private:
    // ServerObserver
    void OnServerNotice(std::string_view text) override;
    void OnServerStateChanged(bool running, bool listening) override;
    void OnServerPopupRequest(std::string_view text) override;

    void SyncServerSettings();
    void SaveSettingsFiles();

    MainCoreViews views_;
    client::ClientSessionSettings settings_;
    std::vector<storage::RecentServerRecord> loadedRecentServers_;
    bool recentServersLoaded_ = false;
    app::Notifier notifier_;
    std::unique_ptr<transfer::TransferService> transfers_;
    std::unique_ptr<update::UpdateCheck> updateCheck_;
    server::ChatServer server_;
    std::unique_ptr<client::ClientSession> session_;
};

}  // namespace vorlan::app
