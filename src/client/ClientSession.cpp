#include "client/ClientSession.h"

#include <algorithm>

#include "conversation/ChatInput.h"
#include "conversation/ChatLines.h"
#include "conversation/TimeText.h"
#include "client/StatusTitle.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;

namespace {

constexpr int kColourNotice = 4;
constexpr int kColourText = 5;
constexpr int kColourCurrentServer = 8;
constexpr int kColourTreeText = 9;
constexpr int kColourHost = 13;

std::array<std::uint32_t, 4> LevelColours(const storage::Colors& colors) {
    return {colors[kColourHost - 1], colors[kColourHost], colors[kColourHost + 1], colors[kColourHost + 2]};
}

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::uint16_t ChatPort(int port) {
    return static_cast<std::uint16_t>(port > 0 && port <= 65535 ? port : storage::kDefaultChatPort);
}

}  // namespace

ClientSession::ClientSession(const ClientSessionViews& views, ClientSessionSettings settings)
    : views_(views),
      options_(std::move(settings.options)),
      colors_(settings.colors),
      profile_(std::move(settings.profile)),
      programFolder_(std::move(settings.programFolder)),
      keepAliveMs_(settings.keepAliveMs),
      reconnectMs_(settings.reconnectMs),
      bindAddress_(std::move(settings.bindAddress)),
      users_(views.userTree, LevelColours(settings.colors), settings.colors[kColourTreeText - 1]),
      recent_(views.recentServers, settings.colors[kColourTreeText - 1]) {
    serverAddress_ = options_.serverAddress;
    lines_.clock = std::move(settings.clock);
    lines_.textColor = Colour(kColourText);
    lines_.noticeColor = Colour(kColourNotice);
}

ClientSession::~ClientSession() = default;

const conversation::LineContext& ClientSession::Lines() const {
    // The options dialog may have switched timestamps since the last line.
    lines_.timestamps = options_.timestamps;
    return lines_;
}

// ---- start-up and shut-down -------------------------------------------------------

void ClientSession::Start() {
    unreadCount_ = 0;
    reconnecting_ = false;
    mainLog_.OpenMain(programFolder_, options_.mainChatLogging, Lines(), views_.mainView);
    UpdateTitle();
}

void ClientSession::Shutdown() {
    EndForShutdown();
    CloseLogsAndWindows();
}

void ClientSession::EndForShutdown() {
    if (connected_) conversation::WriteNotice(Lines(), views_.mainView, &mainLog_, "Disconnected.");
    StopTimer(kReconnectTimer);
    reconnecting_ = false;
    ClientDisconnected();
    recent_.ClearTree();
}

void ClientSession::CloseLogsAndWindows() {
    for (PrivateChat* chat : privateChats_.All()) chat->Log().Close(Lines());
    privateChats_.Clear();
    mainLog_.Close(Lines());
}

// ---- connection ---------------------------------------------------------------------

ConnectionState ClientSession::State() const {
    if (connected_) return ConnectionState::Connected;
    if (menu_.HasConnectionOrAttempt()) return ConnectionState::Connecting;
    if (IsTimerRunning(kReconnectTimer)) return ConnectionState::WaitingToReconnect;
    return ConnectionState::Idle;
}

void ClientSession::Connect(const std::string& host) {
    // One connection at a time: a new attempt ends the current one properly
    // instead of abandoning it half cleaned up.
    if (menu_.HasConnectionOrAttempt()) EndConnection();
    StopTimer(kReconnectTimer);
    partialMessage_.Clear();
    socket_ = std::make_unique<ClientSocket>(*this);
    if (!socket_->Create(0,
                         platform::kEventRead | platform::kEventWrite | platform::kEventConnect | platform::kEventClose,
                         bindAddress_)) {
        ConnectFailedAtOnce();
        return;
    }
    if (socket_->Connect(host, ChatPort(options_.chatPort)) ||
        platform::AsyncSocket::LastError() != platform::kWouldBlock) {
        ConnectFailedAtOnce();
        return;
    }
    std::string peer;
    std::uint16_t peerPort = 0;
    SetServerAddress(socket_->PeerAddress(peer, peerPort) && !peer.empty() ? peer : host);
    menu_.Enable(menu::kConnectToLocalServer, false);
    menu_.Enable(menu::kConnectToServer, false);
    menu_.Enable(menu::kEndConnection, true);
}

void ClientSession::SetServerAddress(const std::string& address) {
    // The options file keeps the last server address across runs.
    serverAddress_ = address;
    options_.serverAddress = address;
}

void ClientSession::ConnectAtStartUp() {
    if (options_.connectToHost) Connect(options_.host);
}

void ClientSession::ConnectFailedAtOnce() {
    socket_->Close();
    if (reconnecting_) {
        // A retry that fails at once (a name that does not resolve for a while)
        // must not end the retries, nor forget where they go.
        StartTimer(kReconnectTimer, reconnectMs_);
        return;
    }
    SetServerAddress({});
    ConnectionNotice("Couldn't connect.");
}

void ClientSession::ConnectionNotice(const std::string& notice) {
    conversation::WriteNotice(Lines(), views_.mainView, &mainLog_, notice);
    if (notice != "Disconnected." && !views_.mainWindow.IsMainWindowForeground()) {
        views_.popups.ShowPopup(notice, 0, 0);
    }
}

void ClientSession::OnClientConnect(int error) {
    if (error != 0) {
        if (!reconnecting_) ConnectionNotice("Couldn't connect.");
        ClientDisconnected();
        if (reconnecting_) StartTimer(kReconnectTimer, reconnectMs_);
        return;
    }
    ConnectionNotice("Connected.");
    connected_ = true;
    reconnecting_ = false;
    ApplyConnectedMenus();
    UpdateTitle();
    SendMessage(to_server::Login(profile_.name, options_.clientPassword));
    StartTimer(kKeepAliveTimer, keepAliveMs_);
    recent_.AddRecentServer(serverAddress_, conversation::LogTimestamp(Lines().Now()), "");
    recent_.MarkRecentServer(serverAddress_, Colour(kColourCurrentServer));
}

void ClientSession::OnClientClose(int error) {
    if (error == 0) {
        ConnectionNotice("Connection closed.");
        ClientDisconnected();
    } else if (options_.reconnect) {
        ConnectionNotice("Connection lost. Attempting to reconnect...");
        ClientDisconnected();
        reconnecting_ = true;
        StartTimer(kReconnectTimer, reconnectMs_);
    } else {
        ConnectionNotice("Connection lost.");
        ClientDisconnected();
    }
}

void ClientSession::OnTimer(int id) {
    if (id == kKeepAliveTimer) {
        SendToServer(std::string(1, '\0'));
    } else if (id == kReconnectTimer) {
        StopTimer(kReconnectTimer);
        Connect(serverAddress_);
    }
}

void ClientSession::EndConnection() {
    if (connected_) ConnectionNotice("Disconnected.");
    StopTimer(kReconnectTimer);
    reconnecting_ = false;
    ClientDisconnected();
}

void ClientSession::ClientDisconnected() {
    if (!menu_.HasConnectionOrAttempt()) return;
    if (connected_) {
        MarkPrivateChatsOffline();
        for (int id : users_.UserIds()) views_.transfers.CancelTransfersWith(id);
        users_.ClearUsers();
        statusText_ = "Available";
        menu_.CheckStatus(menu::kStatusAvailable);
        menu_.Enable(menu::kSetStatusSubmenu, false);
        for (int item = menu::kStatusAvailable; item <= menu::kStatusCustom; ++item) menu_.Enable(item, false);
        menu_.SetText(menu::kMainChatToggle, kCloseMainChatText);
        menu_.Enable(menu::kMainChatToggle, false);
        if (isAdmin_) RemoveAdminMenus();
        StopTimer(kKeepAliveTimer);
        connected_ = false;
        UpdateTitle();
        recent_.MarkRecentServer(serverAddress_, Colour(kColourTreeText));
    }
    if (socket_) {
        socket_->ShutdownBoth();
        socket_->Close();
    }
    partialMessage_.Clear();
    ApplyIdleMenus();
}

void ClientSession::ApplyConnectedMenus() {
    menu_.Enable(menu::kSetStatusSubmenu, true);
    for (int item = menu::kStatusAvailable; item <= menu::kStatusCustom; ++item) menu_.Enable(item, true);
    menu_.Enable(menu::kMainChatToggle, true);
}

void ClientSession::ApplyIdleMenus() {
    menu_.Enable(menu::kConnectToLocalServer, menu_.IsOwnServerRunning());
    menu_.Enable(menu::kConnectToServer, true);
    menu_.Enable(menu::kEndConnection, false);
}

void ClientSession::StopReconnecting() {
    StopTimer(kReconnectTimer);
    reconnecting_ = false;
}

bool ClientSession::ConnectFromDialog(const std::string& hostField) {
    const std::string host = Trim(hostField);
    if (host.empty()) return false;
    Connect(host);
    return true;
}

void ClientSession::ConnectToMainServer(int which) {
    Connect(which == 2 ? options_.mainServer2 : options_.mainServer1);
}

void ClientSession::SendToServer(const std::string& frame) {
    if (connected_ && socket_) socket_->Send(frame);
}

void ClientSession::SendMessage(const std::string& text) { SendToServer(protocol::Frame(text)); }

void ClientSession::ShowPopup(const std::string& text, int force, int source) {
    views_.popups.ShowPopup(text, force, source);
}

// ---- recently used servers ------------------------------------------------------------

bool ClientSession::IsRecentConnectEnabled(int entryId) const {
    const RecentServerList::Entry* entry = recent_.FindById(entryId);
    if (entry == nullptr) return false;
    return !(menu_.HasConnectionOrAttempt() && entry->address == serverAddress_);
}

void ClientSession::ConnectToRecent(int entryId) {
    const RecentServerList::Entry* entry = recent_.FindById(entryId);
    if (entry == nullptr || !IsRecentConnectEnabled(entryId)) return;
    const std::string address = entry->address;  // EndConnection may touch the list
    if (menu_.HasConnectionOrAttempt()) EndConnection();
    Connect(address);
}

// ---- menu commands ----------------------------------------------------------------------

void ClientSession::OnStatusCommand(int id) {
    if (id < menu::kStatusAvailable || id > menu::kStatusAway) return;
    statusText_ = menu_.Text(id);
    menu_.CheckStatus(id);
    SendMessage(to_server::StatusChange(statusText_));
}

bool ClientSession::SetCustomStatus(const std::string& text) {
    if (!connected_) return false;
    statusText_ = text;
    customStatusText_ = text;
    menu_.CheckStatus(menu::kStatusCustom);
    SendMessage(to_server::StatusChange(text));
    return true;
}

void ClientSession::ToggleMainChat() {
    if (!connected_) return;
    const bool closing = menu_.IsMainChatOpen();
    SendMessage(to_server::MainChatState(closing));
    menu_.SetText(menu::kMainChatToggle, closing ? kOpenMainChatText : kCloseMainChatText);
}

UserMenuState ClientSession::UserMenuFor() const {
    UserMenuState state;
    const int selected = users_.SelectedUserId();
    if (selected <= 0) return state;
    const UserRow* row = users_.Find(selected);
    state.show = true;
    state.muteText = row->locallyMuted ? "Unmute" : "Mute";
    state.adminItems = isAdmin_;
    if (!isAdmin_) return state;
    const int target = row->level % 4;
    const int own = users_.UserLevel(ownId_);
    if (target == kLevelSuperAdmin && own >= 0 && own % 4 == kLevelHost) {
        state.kickAndBan = true;
    } else if (target == kLevelNormalAdmin) {
        state.disableAdmin = true;
        state.kickAndBan = true;
    } else if (target == kLevelNormalUser) {
        state.enableAdmin = true;
        state.kickAndBan = true;
    }
    return state;
}

bool ClientSession::OnUserMenuCommand(int command) {
    const int id = users_.SelectedUserId();
    switch (command) {
        case menu::kShowInfo:
            if (id > 0) SendMessage(to_server::ProfileRequest(id));
            return true;
        case menu::kShowVersion:
            if (id > 0) SendMessage(to_server::VersionRequest(id));
            return true;
        case menu::kEnableAdmin:
            if (id > 0) SendMessage(to_server::EnableAdmin(id));
            return true;
        case menu::kDisableAdmin:
            if (id > 0) SendMessage(to_server::DisableAdmin(id));
            return true;
        case menu::kShowAddress:
            if (id > 0) SendMessage(to_server::AddressRequest(id));
            return true;
        case menu::kKick:
            if (id > 0) SendMessage(to_server::KickUser(id));
            return true;
        case menu::kBan:
            if (id > 0) SendMessage(to_server::BanUser(id));
            return true;
        case menu::kOpenPrivateChat:
            if (id > 0) OpenPrivateChat(id);
            return true;
        case menu::kMuteToggle:
            if (id > 0) {
                const bool mute = !users_.Find(id)->locallyMuted;
                SendMessage(to_server::MuteChange(mute, id));
                users_.SetLocallyMuted(id, mute);
            }
            return true;
        default: return false;
    }
}

void ClientSession::ServerStarted() {
    menu_.ServerStarted();
    UpdateTitle();
}

void ClientSession::ServerStopped() {
    menu_.ServerStopped();
    UpdateTitle();
}

void ClientSession::MainWindowShown() {
    unreadCount_ = 0;
    UpdateTitle();
}

void ClientSession::UpdateTitle() {
    title_ = ComposeStatusTitle(menu_.IsOwnServerRunning(), connected_, unreadCount_);
    views_.tray.SetTrayTip(title_);
}

void ClientSession::InstallAdminMenus() {
    if (isAdmin_) return;  // installing twice would insert every entry twice
    isAdmin_ = true;
    views_.adminMenus.InstallAdminMenus();
}

void ClientSession::RemoveAdminMenus() {
    if (views_.remoteConnections.IsOpen()) views_.remoteConnections.Close();
    if (views_.remoteBanList.IsOpen()) views_.remoteBanList.Close();
    if (!isAdmin_) return;
    isAdmin_ = false;
    views_.adminMenus.RemoveAdminMenus();
}

// ---- input lines ---------------------------------------------------------------------

void ClientSession::SendMainInput(const std::string& typed) {
    if (!typed.empty()) conversation::SendMainInput(*this, typed);
}

void ClientSession::SendPrivateInput(const PrivateChatWindowView* window, const std::string& typed) {
    PrivateChat* chat = privateChats_.FindByWindow(window);
    if (chat == nullptr || typed.empty()) return;
    conversation::SendPrivateInput(*this, chat->peerId(), chat->View(), chat->Log(), typed);
}

// ---- receiving -------------------------------------------------------------------------

void ClientSession::OnServerData(int error) {
    if (error != 0 || !socket_) return;
    std::uint32_t pending = 0;
    if (!socket_->PendingBytes(pending)) pending = 0;
    // Always read, even when nothing is said to be waiting: the socket layer
    // reports new data only after a read.
    std::string bytes(std::max<std::uint32_t>(pending, 4096), '\0');
    const int received = socket_->Receive(bytes.data(), static_cast<int>(bytes.size()));
    if (received <= 0) return;
    bytes.resize(static_cast<std::size_t>(received));
    // An over-long unterminated tail is simply dropped (Feed says so); the
    // client keeps the connection. A message that arrived whole but is just as
    // long is dropped too: no server message is that long (the longest, a
    // profile, stays under 1700 bytes), and a hostile server must not make the
    // views lay out megabytes of text.
    partialMessage_.Feed(bytes, [this](std::string_view message) {
        if (!message.empty() && message.size() <= protocol::kMaxKeptTail) HandleServerMessage(message);
        return true;
    });
}

}  // namespace vorlan::client
