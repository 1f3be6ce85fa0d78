#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "client/ClientSocket.h"
#include "client/ClientViews.h"
#include "client/MainMenuModel.h"
#include "client/PrivateChatList.h"
#include "client/RecentServerList.h"
#include "client/UserTree.h"
#include "conversation/ChatInputContext.h"
#include "conversation/ChatLog.h"
#include "conversation/LineContext.h"
#include "platform/EventLoop.h"
#include "protocol/Framing.h"
#include "storage/Records.h"

namespace vorlan::client {

// The windows and hooks a session reports to.
struct ClientSessionViews {
    conversation::ChatView& mainView;
    UserTreeView& userTree;
    RecentServersView& recentServers;
    PopupRequests& popups;
    MainWindowState& mainWindow;
    TrayTip& tray;
    SoundPlayer& sounds;
    InfoWindowView& info;
    RemoteConnectionsView& remoteConnections;
    RemoteBanListView& remoteBanList;
    AdminMenusView& adminMenus;
    PrivateChatWindowFactory& privateWindows;
    TransferHook& transfers;
};

// What a session starts from: the settings read at start-up and the few
// things tests replace.
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
};

enum class ConnectionState { Idle, Connecting, Connected, WaitingToReconnect };

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

// The chat client as the main window owns it: the connection to a server and
// its reconnect, the recently used servers, the user list, the main chat log,
// the private chats, the main menu's state, the status title and the unread
// counter. The main window forwards its commands here and implements the views.
class ClientSession : public ClientSocketEvents, public conversation::ChatInputContext, private platform::TimerOwner {
public:
    static constexpr int kKeepAliveTimer = 109;
    static constexpr int kReconnectTimer = 122;
    static constexpr const char* kLocalServer = "127.0.0.1";

    ClientSession(const ClientSessionViews& views, ClientSessionSettings settings);
    ~ClientSession() override;

    // ---- start-up and shut-down ------------------------------------------------
    void SetMenuView(MainMenuView* view) { menu_.SetView(view); }
    void LoadRecentServers(const std::vector<storage::RecentServerRecord>& records) { recent_.Load(records); }
    // Opens the main chat log and shows the initial title.
    void Start();
    // The client's part of shut-down: "Disconnected." when connected, the
    // disconnect clean-up, the servers tree emptied, then every private log and
    // the main log closed with their session-close lines and the private
    // windows destroyed.
    void Shutdown();
    // The same in two halves, for an owner that stops its server and saves the
    // settings files in between: the connection part ("Disconnected.", the
    // clean-up, the servers tree emptied) ...
    void EndForShutdown();
    // ... and the logs' session-close lines with the private windows destroyed.
    void CloseLogsAndWindows();

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
    ConnectionState State() const;

    // ---- recently used servers -------------------------------------------------
    bool IsRecentConnectEnabled(int entryId) const;
    void ConnectToRecent(int entryId);
    void RemoveRecent(int entryId) { recent_.Remove(entryId); }

    // ---- menu commands ---------------------------------------------------------
    void OnStatusCommand(int id);
    // The custom status dialog's "update": false when not connected.
    bool SetCustomStatus(const std::string& text);
    void ToggleMainChat();
    UserMenuState UserMenuFor() const;
    // The user menu commands that talk to the server or open a private chat;
    // false for the ones handled elsewhere.
    bool OnUserMenuCommand(int command);
    // The own server started or stopped, or its listening changed.
    void ServerStarted();
    void ServerStopped();
    void SetListening(bool listening) { menu_.SetListening(listening); }
    // The hidden main window was shown again ("Show Vorlan", pop-up).
    void MainWindowShown();
    void UpdateTitle();

    // ---- private chats ---------------------------------------------------------
    void OpenPrivateChat(int userId);
    // The info window's "private chat": only while that user is known.
    bool OpenPrivateChatFromInfo();
    void OnPrivateWindowActivated(const PrivateChatWindowView* window);
    void ClosePrivateChat(const PrivateChatWindowView* window);

    // ---- input lines -----------------------------------------------------------
    void SendMainInput(const std::string& typed);
    void SendPrivateInput(const PrivateChatWindowView* window, const std::string& typed);

    // ---- receiving -------------------------------------------------------------
    void OnServerData(int error);
    void HandleServerMessage(std::string_view message);

    // ---- state -----------------------------------------------------------------
    bool connected() const { return connected_; }
    bool reconnecting() const { return reconnecting_; }
    int ownId() const { return ownId_; }
    bool isAdmin() const { return isAdmin_; }
    const std::string& serverAddress() const { return serverAddress_; }
    int unreadCount() const { return unreadCount_; }
    const std::string& statusText() const { return statusText_; }
    const std::string& customStatusText() const { return customStatusText_; }
    const std::string& title() const { return title_; }
    storage::Options& options() { return options_; }
    storage::Profile& profile() { return profile_; }
    const storage::Colors& colors() const { return colors_; }
    MainMenuModel& menu() { return menu_; }
    const UserTree& userTree() const { return users_; }
    UserTree& userTree() { return users_; }
    const RecentServerList& recentServers() const { return recent_; }
    const PrivateChatList& privateChats() const { return privateChats_; }
    conversation::ChatLog& mainLog() { return mainLog_; }

    // ---- ChatInputContext --------------------------------------------------------
    bool IsConnected() const override { return connected_; }
    int OwnId() const override { return ownId_; }
    bool IsMainChatOpen() const override { return menu_.IsMainChatOpen(); }
    bool IsUserOnline(int userId) const override { return users_.HasUser(userId); }
    std::string OwnName() const override { return profile_.name; }
    std::uint32_t OwnColour() const override { return users_.UserColour(ownId_); }
    void SetOwnName(const std::string& name) override { profile_.name = name; }
    void SetClientPassword(const std::string& password) override { options_.clientPassword = password; }
    void SetSuperAdminPassword(const std::string& password) override { options_.superAdminPassword = password; }
    void SetNormalAdminPassword(const std::string& password) override { options_.normalAdminPassword = password; }
    void SetNormalUserPassword(const std::string& password) override { options_.normalUserPassword = password; }
    void SendToServer(const std::string& frame) override;
    void ShowPopup(const std::string& text, int force, int source) override;
    const conversation::LineContext& Lines() const override;
    conversation::ChatView& MainView() override { return views_.mainView; }
    conversation::ChatLog& MainLog() override { return mainLog_; }

    // Frames `text` and sends it while connected.
    void SendMessage(const std::string& text);

    // Colours of the colour settings this side uses.
    std::uint32_t Colour(int k) const { return colors_[static_cast<std::size_t>(k - 1)]; }
    std::uint32_t MessageColour() const { return Colour(6); }

private:
    // ClientSocketEvents
    void OnClientConnect(int error) override;
    void OnClientReceive(int error) override { OnServerData(error); }
    void OnClientClose(int error) override;
    // TimerOwner
    void OnTimer(int id) override;

    void ConnectFailedAtOnce();
    void SetServerAddress(const std::string& address);
    void ConnectionNotice(const std::string& notice);
    void ApplyConnectedMenus();
    void ApplyIdleMenus();
    void MarkPrivateChatsOffline();
    void InstallAdminMenus();
    void RemoveAdminMenus();

    // Server message handlers, one per code ("00".."20"), in ClientSessionMessages.cpp.
    using Handler = void (ClientSession::*)(std::string_view body, std::string_view message);
    static const std::array<Handler, 21> kHandlers;
    void OnUserEntry(std::string_view body, std::string_view message);
    void OnUserJoined(std::string_view body, std::string_view message);
    void OnUserLeft(std::string_view body, std::string_view message);
    void OnTopicText(std::string_view body, std::string_view message);
    void OnMainChatMessage(std::string_view body, std::string_view message);
    void OnUserRenamed(std::string_view body, std::string_view message);
    void OnUserStatusChanged(std::string_view body, std::string_view message);
    void OnUserModeChanged(std::string_view body, std::string_view message);
    void OnAdminGranted(std::string_view body, std::string_view message);
    void OnAdminRevoked(std::string_view body, std::string_view message);
    void OnUserAddress(std::string_view body, std::string_view message);
    void OnProfileQuery(std::string_view body, std::string_view message);
    void OnProfileInfo(std::string_view body, std::string_view message);
    void OnPrivateMessage(std::string_view body, std::string_view message);
    void OnFileTransferControl(std::string_view body, std::string_view message);
    void OnVersionQuery(std::string_view body, std::string_view message);
    void OnUserVersion(std::string_view body, std::string_view message);
    void OnUserMuteChanged(std::string_view body, std::string_view message);
    void OnUserRemoved(std::string_view body, std::string_view message);
    void OnConnectionEntry(std::string_view body, std::string_view message);
    void OnBanEntry(std::string_view body, std::string_view message);

    void WriteMainEvent(int id, const std::string& event);
    void CountUnreadLine();
    void UserGone(int id);

    // Private chats, in ClientSessionPrivate.cpp.
    PrivateChat& CreatePrivateChat(int userId, int newLineCount);
    PrivateChat& ReusePrivateChat(int userId);
    void ReceivePrivateLine(int id, char kind, const std::string& text);
    void RebindPrivateChats(int id);
    void PrivateChatGoesOffline(PrivateChat& chat, const std::string& name, std::uint32_t colour);
    void PlayMessageSound();

    ClientSessionViews views_;
    storage::Options options_;
    storage::Colors colors_;
    storage::Profile profile_;
    std::string programFolder_;
    std::uint32_t keepAliveMs_;
    std::uint32_t reconnectMs_;
    std::string bindAddress_;
    mutable conversation::LineContext lines_;

    MainMenuModel menu_;
    UserTree users_;
    RecentServerList recent_;
    PrivateChatList privateChats_;
    conversation::ChatLog mainLog_;

    std::unique_ptr<ClientSocket> socket_;
    protocol::FrameSplitter partialMessage_;
    bool connected_ = false;
    bool reconnecting_ = false;
    std::string serverAddress_;
    int ownId_ = 0;
    bool isAdmin_ = false;
    int infoUserId_ = 0;
    int unreadCount_ = 0;
    std::string statusText_ = "Available";
    std::string customStatusText_;
    std::string title_;
};

}  // namespace vorlan::client
