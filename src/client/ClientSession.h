#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "client/ClientState.h"
#include "client/ClientViews.h"
#include "client/MainMenuModel.h"
#include "client/PrivateChats.h"
#include "client/RecentServerList.h"
#include "client/ServerLink.h"
#include "client/ServerMessages.h"
#include "client/UserTree.h"
#include "conversation/ChatInput.h"
#include "conversation/ChatLog.h"
#include "conversation/LineContext.h"
#include "conversation/ViewBatch.h"
#include "protocol/ClientToServer.h"
#include "storage/Records.h"

namespace vorlan::client {

// The windows and services a session reports to.
struct ClientSessionViews {
    conversation::ChatView& mainView;
    UserTreeView& userTree;
    RecentServersView& recentServers;
    Notifications& notifications;
    MainWindowState& mainWindow;
    TrayTip& tray;
    InfoWindowView& info;
    RemoteConnectionsView& remoteConnections;
    RemoteBanListView& remoteBanList;
    AdminMenusView& adminMenus;
    PrivateChatWindowFactory& privateWindows;
    Transfers& transfers;
};

// What a session starts from: the settings read at start-up and the few
// things tests replace. The owner keeps it alive as long as the session: the
// session reads and changes these settings in place.
struct ClientSessionSettings {
    storage::Options options;
    storage::Colors colors{};
    storage::Profile profile;
    std::string programFolder;
    std::function<platform::LocalTime()> clock;  // empty: the local time
    std::uint32_t keepAliveMs = 60000;           // timer 109
    std::uint32_t reconnectMs = 30000;           // timer 122
    // The local address the client socket binds to; empty: any. Tests use it
    // to appear to a loopback server as another machine.
    std::string bindAddress;
    // Called when a typed command changed a setting that the own server uses
    // (the passwords).
    std::function<void()> serverSettingsChanged;
};

// What the user menu shows for the selected user (see UserMenuFor).
struct UserMenuState {
    bool show = false;  // a user row is selected
    std::string muteText;
    bool adminItems = false;  // the admin entries are installed
    bool enableAdmin = false;
    bool disableAdmin = false;
    bool kickAndBan = false;
    bool operator==(const UserMenuState&) const = default;
};

// The chat client as the main window owns it. It holds the client's state
// and derives the main menu and the status title from it; its parts are the
// link to the server (ServerLink), the handlers of the server's messages by
// topic (ServerMessages), the private chats (PrivateChats), the user list and
// the recently used servers. The main window forwards its commands here and
// implements the views.
class ClientSession : private ServerLinkEvents {
public:
    static constexpr const char* kLocalServer = "127.0.0.1";

    ClientSession(const ClientSessionViews& views, ClientSessionSettings& settings);
    ~ClientSession() override;
    ClientSession(const ClientSession&) = delete;
    ClientSession& operator=(const ClientSession&) = delete;

    // ---- start-up and shut-down ------------------------------------------------
    void SetMenuView(MainMenuView* view);
    void LoadRecentServers(const std::vector<storage::RecentServerRecord>& records) { recent_.Load(records); }
    // Opens the main chat log and shows the initial title.
    void Start();
    // The client's part of shut-down: "Disconnected." when connected, the
    // disconnect clean-up, the servers tree emptied, then every private log and
    // the main log closed with their session-close lines and the private
    // windows destroyed.
    void Shutdown();
    // The same in two halves, for an owner that stops its server and saves the
    // settings files in between: the connection part ...
    void EndForShutdown();
    // ... and the logs' session-close lines with the private windows destroyed,
    // also in two steps for an owner that destroys other windows in between.
    void CloseLogsAndWindows();
    void ClosePrivateChats() { privateChats_.CloseAll(); }
    void CloseMainLog() { mainLog_.Close(Lines()); }

    // ---- connection --------------------------------------------------------------
    void Connect(const std::string& host);
    void ConnectToLocalServer() { Connect(kLocalServer); }
    // Start-up's last step: connects to the stored host when the options ask for it.
    void ConnectAtStartUp();
    void EndConnection();
    void ClientDisconnected();
    // "Connect to server" was chosen: the dialog is about to show.
    void StopReconnecting();
    // The dialog's "connect": false (focus back into the field) when the
    // trimmed host is empty; otherwise connects and the dialog closes.
    bool ConnectFromDialog(const std::string& hostField);
    void ConnectToMainServer(int which);  // 1 or 2
    ConnectionState State() const { return state_.connection; }

    // ---- recently used servers -------------------------------------------------
    bool IsRecentConnectEnabled(int entryId) const;
    void ConnectToRecent(int entryId);
    void RemoveRecent(int entryId) { recent_.Remove(entryId); }

    // ---- menu commands ---------------------------------------------------------
    void OnStatusCommand(int id);
    // The custom status dialog's "update": false when not connected.
    bool SetCustomStatus(const std::string& text);
    void ToggleMainChat();
    // What the toggle leaves behind, without a word to the server: for tests
    // of a session that has no connection.
    void SetMainChatOpenForTesting(bool open) {
        state_.mainChatOpen = open;
        StateChanged();
    }
    UserMenuState UserMenuFor() const;
    // The user menu commands that talk to the server or open a private chat;
    // false for the ones handled elsewhere.
    bool OnUserMenuCommand(int command);
    // The own server's state as it reports it.
    void OwnServerChanged(bool running, bool listening);
    // The hidden main window was shown again ("Show Vorlan", pop-up).
    void MainWindowShown();

    // ---- requests of the admin windows, by user or ban id ----------------------
    void RequestConnections();
    void RequestBanList();
    void Kick(int userId);
    void Ban(int userId);
    // "17", the id, SEP and a text of the admin's (the server reads only the id
    // while that user is connected).
    void Ban(int userId, std::string_view shownText);
    void AddBan(const std::string& address, const std::string& description);
    void RemoveBan(int banId);

    // ---- private chats ---------------------------------------------------------
    void OpenPrivateChat(int userId) { privateChats_.Open(userId); }
    // The info window's "private chat": only while that user is known.
    bool OpenPrivateChatFromInfo();
    void OnPrivateWindowActivated(const PrivateChatWindowView* window) { privateChats_.OnWindowActivated(window); }
    void ClosePrivateChat(const PrivateChatWindowView* window) { privateChats_.Close(window); }

    // ---- input lines -----------------------------------------------------------
    void SendMainInput(const std::string& typed);
    void SendPrivateInput(const PrivateChatWindowView* window, const std::string& typed);
    // The profile dialog's "update": the new name reaches the server.
    void UpdateOwnName(const std::string& name);

    // ---- file transfers ----------------------------------------------------------
    // `FileTransferRelay` ("12") to `target` with `payload` (relay flag and
    // control); dropped while not connected.
    void SendFileTransferRelay(int target, std::string_view payload) {
        link_.Send(protocol::to_server::FileTransferRelay(target, payload));
    }

    // ---- receiving -------------------------------------------------------------
    void HandleServerMessage(std::string_view message) { messages_.Handle(message); }

    // ---- state -----------------------------------------------------------------
    const ClientState& state() const { return state_; }
    bool connected() const { return state_.connected(); }
    bool reconnecting() const { return reconnecting_; }
    int ownId() const { return state_.ownId; }
    bool isAdmin() const { return state_.isAdmin; }
    const std::string& serverAddress() const { return serverAddress_; }
    int unreadCount() const { return unreadCount_; }
    const std::string& statusText() const { return statusText_; }
    const std::string& customStatusText() const { return customStatusText_; }
    const std::string& title() const { return title_; }
    storage::Options& options() { return settings_.options; }
    const storage::Options& options() const { return settings_.options; }
    storage::Profile& profile() { return settings_.profile; }
    const storage::Colors& colors() const { return settings_.colors; }
    const std::string& programFolder() const { return settings_.programFolder; }
    const MainMenuModel& menu() const { return menu_; }
    const UserTree& userTree() const { return users_; }
    const RecentServerList& recentServers() const { return recent_; }
    const PrivateChatList& privateChats() const { return privateChats_.List(); }
    conversation::ChatLog& mainLog() { return mainLog_; }
    conversation::ChatView& mainView() { return views_.mainView; }
    const conversation::LineContext& Lines() const;

    // Colours of the colours file, by name.
    std::uint32_t Colour(storage::ColourIndex k) const { return storage::ColourOf(settings_.colors, k); }

private:
    friend class ServerMessages;
    friend class PrivateChats;

    // ServerLinkEvents
    void OnLinkConnected(int error) override;
    void OnLinkClosed(int error) override;
    void OnServerMessage(std::string_view message) override { messages_.Handle(message); }
    void OnReconnectDue() override { Connect(serverAddress_); }
    void OnMessagesBegin() override;
    void OnMessagesEnd() override { viewBatch_.Close(); }

    // The input lines: who types, and what a sent line asks for.
    conversation::InputLine InputLineFor(conversation::ChatView& view, conversation::ChatLog& log) const;
    void CarryOut(const conversation::InputOutcome& outcome);
    void SetPassword(conversation::PasswordKind kind, const std::string& password);
    void ShowPopup(const std::string& text, int force, int source);

    // The menu and the title follow the state.
    void StateChanged();
    void UpdateTitle();
    void ConnectFailedAtOnce();
    void SetServerAddress(const std::string& address);
    void ConnectionNotice(const std::string& notice);
    void SetAdmin(bool admin);
    void CountUnreadLine();

    ClientSessionViews views_;
    ClientSessionSettings& settings_;
    mutable conversation::LineContext lines_;
    // The views written during the receive being handled.
    conversation::ViewBatch viewBatch_;

    ClientState state_;
    MainMenuModel menu_;
    UserTree users_;
    RecentServerList recent_;
    conversation::ChatLog mainLog_;
    ServerLink link_;
    PrivateChats privateChats_;
    ServerMessages messages_;

    bool reconnecting_ = false;
    std::string serverAddress_;
    int infoUserId_ = 0;
    int unreadCount_ = 0;
    std::string statusText_ = "Available";
    std::string customStatusText_;
    std::string title_;
};

}  // namespace vorlan::client
