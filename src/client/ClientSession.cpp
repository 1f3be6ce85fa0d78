#include "client/ClientSession.h"

#include "client/StatusTitle.h"
#include "conversation/ChatInput.h"
#include "conversation/ChatLines.h"
#include "conversation/TimeText.h"
#include "protocol/ClientToServer.h"
#include "protocol/Text.h"

namespace vorlan::client {

namespace to_server = protocol::to_server;
using storage::ColourIndex;

namespace {

std::array<std::uint32_t, 4> LevelColours(const storage::Colors& colors) {
    return {ColourOf(colors, ColourIndex::Host), ColourOf(colors, ColourIndex::SuperAdmin),
            ColourOf(colors, ColourIndex::NormalAdmin), ColourOf(colors, ColourIndex::NormalUser)};
}

}  // namespace

ClientSession::ClientSession(const ClientSessionViews& views, ClientSessionSettings& settings)
    : views_(views),
      settings_(settings),
      users_(views.userTree, LevelColours(settings.colors), ColourOf(settings.colors, ColourIndex::TreeText)),
      recent_(views.recentServers, ColourOf(settings.colors, ColourIndex::TreeText)),
      link_(*this, {settings.keepAliveMs, settings.reconnectMs}, settings.bindAddress),
      privateChats_(*this),
      messages_(*this),
      serverAddress_(settings.options.serverAddress) {
    lines_.clock = settings.clock;
    lines_.textColor = Colour(ColourIndex::Text);
    lines_.noticeColor = Colour(ColourIndex::Notice);
}

ClientSession::~ClientSession() = default;

const conversation::LineContext& ClientSession::Lines() const {
    // The options dialog may have switched timestamps since the last line.
    lines_.timestamps = settings_.options.timestamps;
    return lines_;
}

void ClientSession::SetMenuView(MainMenuView* view) {
    menu_.SetView(view);
    menu_.Show(state_);
}

void ClientSession::StateChanged() {
    menu_.Show(state_);
    UpdateTitle();
}

void ClientSession::UpdateTitle() {
    title_ = ComposeStatusTitle(state_.ownServerRunning, state_.connected(), unreadCount_);
    views_.tray.SetTrayTip(title_);
}

// ---- start-up and shut-down -------------------------------------------------------

void ClientSession::Start() {
    unreadCount_ = 0;
    reconnecting_ = false;
    mainLog_.OpenMain(settings_.programFolder, settings_.options.mainChatLogging, Lines(), views_.mainView);
    UpdateTitle();
}

void ClientSession::Shutdown() {
    EndForShutdown();
    CloseLogsAndWindows();
}

void ClientSession::EndForShutdown() {
    if (state_.connected()) conversation::WriteNotice(Lines(), views_.mainView, &mainLog_, "Disconnected.");
    StopReconnecting();
    ClientDisconnected();
    recent_.ClearTree();
}

void ClientSession::CloseLogsAndWindows() {
    ClosePrivateChats();
    CloseMainLog();
}

// ---- connection ---------------------------------------------------------------------

void ClientSession::Connect(const std::string& host) {
    // One connection at a time: a new attempt ends the current one properly
    // instead of abandoning it half cleaned up.
    if (state_.hasConnectionOrAttempt()) EndConnection();
    link_.CancelReconnect();
    if (!link_.Open(host, storage::ChatPortOf(settings_.options))) {
        ConnectFailedAtOnce();
        return;
    }
    SetServerAddress(link_.PeerAddressOr(host));
    state_.connection = ConnectionState::Connecting;
    StateChanged();
}

void ClientSession::SetServerAddress(const std::string& address) {
    // The options file keeps the last server address across runs.
    serverAddress_ = address;
    settings_.options.serverAddress = address;
}

void ClientSession::ConnectAtStartUp() {
    if (settings_.options.connectToHost) Connect(settings_.options.host);
}

void ClientSession::ConnectFailedAtOnce() {
    if (reconnecting_) {
        // A retry that fails at once (a name that does not resolve for a while)
        // must not end the retries, nor forget where they go.
        link_.ScheduleReconnect();
        state_.connection = ConnectionState::WaitingToReconnect;
        return;
    }
    SetServerAddress({});
    ConnectionNotice("Couldn't connect.");
}

void ClientSession::ConnectionNotice(const std::string& notice) {
    conversation::WriteNotice(Lines(), views_.mainView, &mainLog_, notice);
    if (notice != "Disconnected." && !views_.mainWindow.IsMainWindowForeground()) ShowPopup(notice, 0, 0);
}

void ClientSession::OnMessagesBegin() {
    viewBatch_.Open();
    viewBatch_.Join(views_.mainView);
    viewBatch_.Join(mainLog_);
}

void ClientSession::OnLinkConnected(int error) {
    if (error != 0) {
        if (!reconnecting_) ConnectionNotice("Couldn't connect.");
        ClientDisconnected();
        if (reconnecting_) {
            link_.ScheduleReconnect();
            state_.connection = ConnectionState::WaitingToReconnect;
        }
        return;
    }
    ConnectionNotice("Connected.");
    state_.connection = ConnectionState::Connected;
    reconnecting_ = false;
    StateChanged();
    link_.Send(to_server::Login(settings_.profile.name, settings_.options.clientPassword));
    link_.StartKeepAlive();
    recent_.AddRecentServer(serverAddress_, conversation::LogTimestamp(Lines().Now()), "");
    recent_.MarkRecentServer(serverAddress_, Colour(ColourIndex::CurrentServer));
}

void ClientSession::OnLinkClosed(int error) {
    if (error == 0) {
        ConnectionNotice("Connection closed.");
        ClientDisconnected();
    } else if (settings_.options.reconnect) {
        ConnectionNotice("Connection lost. Attempting to reconnect...");
        ClientDisconnected();
        reconnecting_ = true;
        link_.ScheduleReconnect();
        state_.connection = ConnectionState::WaitingToReconnect;
    } else {
        ConnectionNotice("Connection lost.");
        ClientDisconnected();
    }
}

void ClientSession::EndConnection() {
    if (state_.connected()) ConnectionNotice("Disconnected.");
    StopReconnecting();
    ClientDisconnected();
}

void ClientSession::ClientDisconnected() {
    if (!state_.hasConnectionOrAttempt()) return;
    if (state_.connected()) {
        privateChats_.MarkAllOffline();
        views_.transfers.CancelAllPendingTransfers();
        users_.ClearUsers();
        statusText_ = "Available";
        state_.checkedStatus = menu::kStatusAvailable;
        state_.mainChatOpen = true;
        SetAdmin(false);
        state_.ownId = 0;
        recent_.MarkRecentServer(serverAddress_, Colour(ColourIndex::TreeText));
    }
    link_.Close();
    state_.connection = ConnectionState::Idle;
    StateChanged();
}

void ClientSession::StopReconnecting() {
    link_.CancelReconnect();
    reconnecting_ = false;
    if (state_.connection == ConnectionState::WaitingToReconnect) state_.connection = ConnectionState::Idle;
}

bool ClientSession::ConnectFromDialog(const std::string& hostField) {
    const std::string host = protocol::Trim(hostField);
    if (host.empty()) return false;
    Connect(host);
    return true;
}

void ClientSession::ConnectToMainServer(int which) {
    Connect(which == 2 ? settings_.options.mainServer2 : settings_.options.mainServer1);
}

void ClientSession::ShowPopup(const std::string& text, int force, int source) {
    views_.notifications.ShowPopup(text, force, source);
}

// ---- recently used servers ------------------------------------------------------------

bool ClientSession::IsRecentConnectEnabled(int entryId) const {
    const RecentServerList::Entry* entry = recent_.FindById(entryId);
    if (entry == nullptr) return false;
    return !(state_.hasConnectionOrAttempt() && entry->address == serverAddress_);
}

void ClientSession::ConnectToRecent(int entryId) {
    const RecentServerList::Entry* entry = recent_.FindById(entryId);
    if (entry == nullptr || !IsRecentConnectEnabled(entryId)) return;
    const std::string address = entry->address;  // EndConnection may touch the list
    Connect(address);
}

// ---- menu commands ----------------------------------------------------------------------

void ClientSession::OnStatusCommand(int id) {
    if (id < menu::kStatusAvailable || id > menu::kStatusAway) return;
    statusText_ = menu_.Text(id);
    state_.checkedStatus = id;
    StateChanged();
    link_.Send(to_server::StatusChange(statusText_));
}

bool ClientSession::SetCustomStatus(const std::string& text) {
    if (!state_.connected()) return false;
    statusText_ = text;
    customStatusText_ = text;
    state_.checkedStatus = menu::kStatusCustom;
    StateChanged();
    link_.Send(to_server::StatusChange(text));
    return true;
}

void ClientSession::ToggleMainChat() {
    if (!state_.connected()) return;
    const bool closing = state_.mainChatOpen;
    link_.Send(to_server::MainChatState(closing));
    state_.mainChatOpen = !closing;
    StateChanged();
}

UserMenuState ClientSession::UserMenuFor() const {
    UserMenuState menuState;
    const int selected = users_.SelectedUserId();
    if (selected <= 0) return menuState;
    const UserRow* row = users_.Find(selected);
    menuState.show = true;
    menuState.muteText = row->locallyMuted ? "Unmute" : "Mute";
    menuState.adminItems = state_.isAdmin;
    if (!state_.isAdmin) return menuState;
    const int target = row->level % 4;
    const int own = users_.UserLevel(state_.ownId);
    if (target == kLevelSuperAdmin && own >= 0 && own % 4 == kLevelHost) {
        menuState.kickAndBan = true;
    } else if (target == kLevelNormalAdmin) {
        menuState.disableAdmin = true;
        menuState.kickAndBan = true;
    } else if (target == kLevelNormalUser) {
        menuState.enableAdmin = true;
        menuState.kickAndBan = true;
    }
    return menuState;
}

bool ClientSession::OnUserMenuCommand(int command) {
    const int id = users_.SelectedUserId();
    switch (command) {
        case menu::kShowInfo:
            if (id > 0) link_.Send(to_server::ProfileRequest(id));
            return true;
        case menu::kShowVersion:
            if (id > 0) link_.Send(to_server::VersionRequest(id));
            return true;
        case menu::kEnableAdmin:
            if (id > 0) link_.Send(to_server::EnableAdmin(id));
            return true;
        case menu::kDisableAdmin:
            if (id > 0) link_.Send(to_server::DisableAdmin(id));
            return true;
        case menu::kShowAddress:
            if (id > 0) link_.Send(to_server::AddressRequest(id));
            return true;
        case menu::kKick:
            if (id > 0) link_.Send(to_server::KickUser(id));
            return true;
        case menu::kBan:
            if (id > 0) link_.Send(to_server::BanUser(id));
            return true;
        case menu::kOpenPrivateChat:
            if (id > 0) OpenPrivateChat(id);
            return true;
        case menu::kMuteToggle:
            if (id > 0) {
                const bool mute = !users_.Find(id)->locallyMuted;
                link_.Send(to_server::MuteChange(mute, id));
                users_.SetLocallyMuted(id, mute);
            }
            return true;
        default: return false;
    }
}

void ClientSession::RequestConnections() { link_.Send(to_server::ConnectionsRequest()); }
void ClientSession::RequestBanList() { link_.Send(to_server::BanListRequest()); }
void ClientSession::Kick(int userId) { link_.Send(to_server::KickUser(userId)); }
void ClientSession::Ban(int userId) { link_.Send(to_server::BanUser(userId)); }
void ClientSession::Ban(int userId, std::string_view shownText) {
    link_.Send(to_server::BanUser(std::to_string(userId) + std::string(protocol::kSepText) + std::string(shownText)));
}
void ClientSession::AddBan(const std::string& address, const std::string& description) {
    link_.Send(to_server::BanListAdd(address, description));
}
void ClientSession::RemoveBan(int banId) { link_.Send(to_server::BanListRemove(banId)); }

void ClientSession::OwnServerChanged(bool running, bool listening) {
    if (state_.ownServerRunning == running && (!running || state_.listening == listening)) return;
    state_.ownServerRunning = running;
    state_.listening = running ? listening : true;
    StateChanged();
}

void ClientSession::MainWindowShown() {
    unreadCount_ = 0;
    UpdateTitle();
}

void ClientSession::CountUnreadLine() {
    if (views_.mainWindow.IsMainWindowVisible() || unreadCount_ >= kUnreadLimit) return;
    ++unreadCount_;
    UpdateTitle();
}

void ClientSession::SetAdmin(bool admin) {
    if (!admin) {
        // The admin windows show the server's lists only to an admin.
        if (views_.remoteConnections.IsOpen()) views_.remoteConnections.Close();
        if (views_.remoteBanList.IsOpen()) views_.remoteBanList.Close();
    }
    // Installing twice would insert every entry twice.
    if (state_.isAdmin == admin) return;
    state_.isAdmin = admin;
    if (admin) {
        views_.adminMenus.InstallAdminMenus();
    } else {
        views_.adminMenus.RemoveAdminMenus();
    }
}

bool ClientSession::OpenPrivateChatFromInfo() {
    if (!users_.HasUser(infoUserId_)) return false;
    OpenPrivateChat(infoUserId_);
    return true;
}

// ---- input lines ---------------------------------------------------------------------

conversation::InputLine ClientSession::InputLineFor(conversation::ChatView& view, conversation::ChatLog& log) const {
    return {.lines = Lines(),
            .view = view,
            .log = log,
            .connected = state_.connected(),
            .ownId = state_.ownId,
            .mainChatOpen = state_.mainChatOpen,
            .peerOnline = false,
            .ownName = settings_.profile.name,
            .ownColour = users_.UserColour(state_.ownId)};
}

void ClientSession::SendMainInput(const std::string& typed) {
    // Password commands leave their notice in the main view even when typed
    // elsewhere; only the main window has them.
    CarryOut(conversation::SendMainInput(InputLineFor(views_.mainView, mainLog_), typed));
}

void ClientSession::SendPrivateInput(const PrivateChatWindowView* window, const std::string& typed) {
    PrivateChat* chat = privateChats_.FindByWindow(window);
    if (chat == nullptr) return;
    conversation::InputLine line = InputLineFor(chat->View(), chat->Log());
    line.peerOnline = users_.HasUser(chat->peerId());
    CarryOut(conversation::SendPrivateInput(line, chat->peerId(), typed));
}

void ClientSession::CarryOut(const conversation::InputOutcome& outcome) {
    if (outcome.ownName) settings_.profile.name = *outcome.ownName;
    if (outcome.password) SetPassword(*outcome.password, outcome.passwordValue);
    if (!outcome.popup.empty()) ShowPopup(outcome.popup, 0, outcome.popupSource);
    if (!outcome.message.empty()) link_.Send(outcome.message);
}

void ClientSession::UpdateOwnName(const std::string& name) {
    settings_.profile.name = name;
    link_.Send(to_server::NameChange(name));
}

void ClientSession::SetPassword(conversation::PasswordKind kind, const std::string& password) {
    storage::Options& options = settings_.options;
    switch (kind) {
        case conversation::PasswordKind::Client: options.clientPassword = password; return;
        case conversation::PasswordKind::SuperAdmin: options.superAdminPassword = password; break;
        case conversation::PasswordKind::NormalAdmin: options.normalAdminPassword = password; break;
        case conversation::PasswordKind::NormalUser: options.normalUserPassword = password; break;
    }
    if (settings_.serverSettingsChanged) settings_.serverSettingsChanged();
}

}  // namespace vorlan::client
