#include "app/MainCore.h"

#include <utility>

#include "client/MenuIds.h"
#include "conversation/ChatLog.h"
#include "platform/Files.h"
#include "conversation/ChatLines.h"
#include "storage/BanListFile.h"
#include "storage/ColorsFile.h"
#include "storage/OptionsFile.h"
#include "storage/ProfileFile.h"
#include "storage/RecentServersFile.h"

namespace vorlan::app {
namespace {

std::uint16_t ChatPortFrom(const storage::Options& options) {
    if (options.chatPort <= 0 || options.chatPort > 65535) return static_cast<std::uint16_t>(storage::kDefaultChatPort);
    return static_cast<std::uint16_t>(options.chatPort);
}

}  // namespace

MainCore::MainCore(const client::ClientSessionViews& views, MainCoreSettings settings)
    : views_(views), programFolder_(std::move(settings.programFolder)), server_(*this, settings.serverTuning) {
    // Files are read in this order; a missing file keeps the built-in values.
    client::ClientSessionSettings session;
    session.colors = storage::DefaultColors();
    storage::LoadColors(PathOf("colors.vr"), session.colors);
    storage::LoadOptions(PathOf("options.vr"), session.options);
    storage::LoadProfile(PathOf("profile.vr"), session.profile);
    std::vector<storage::BanEntry> banList;
    storage::LoadBanList(PathOf("banlist.vr"), banList);
    server_.SetBanList(std::move(banList));
    storage::LoadRecentServers(PathOf("recentservers.vr"), loadedRecentServers_);

    server_.SetTopic(session.options.topic);
    session.programFolder = programFolder_;
    session.clock = std::move(settings.clock);
    session.keepAliveMs = settings.keepAliveMs;
    session.reconnectMs = settings.reconnectMs;
    session.bindAddress = std::move(settings.clientBindAddress);
    session_ = std::make_unique<client::ClientSession>(views_, std::move(session));
}

MainCore::~MainCore() = default;

std::string MainCore::PathOf(std::string_view fileName) const { return programFolder_ + "\\" + std::string(fileName); }

void MainCore::LoadRecentServers() {
    if (recentServersLoaded_) return;
    recentServersLoaded_ = true;
    session_->LoadRecentServers(loadedRecentServers_);
    loadedRecentServers_.clear();
}

void MainCore::Start() {
    LoadRecentServers();
    session_->Start();
    // The update check comes first once it exists; then the server, then the connection.
    if (Options().startServer) StartServer();
    session_->ConnectAtStartUp();
}

void MainCore::Shutdown() {
    EndAndSave();
    CloseLogsAndWindows();
}

void MainCore::EndAndSave() {
    session_->EndForShutdown();
    StopServer();
    SaveSettingsFiles();
}

void MainCore::CloseLogsAndWindows() { session_->CloseLogsAndWindows(); }

void MainCore::SaveSettingsFiles() {
    Options().topic = server_.Topic();
    storage::SaveOptionsIfExists(PathOf("options.vr"), Options());
    storage::SaveProfileIfExists(PathOf("profile.vr"), session_->profile());
    storage::SaveBanListIfExists(PathOf("banlist.vr"), server_.BanList());
    storage::SaveRecentServersIfExists(PathOf("recentservers.vr"), session_->recentServers().Records());
}

// The server reads its settings where they are used: the port when it starts,
// the passwords at every log-in (the input line's password commands change them).
void MainCore::SyncServerSettings() {
    server_.SetChatPort(ChatPortFrom(Options()));
    server_.SetPasswords({Options().superAdminPassword, Options().normalAdminPassword, Options().normalUserPassword});
}

void MainCore::StartServer() {
    if (server_.IsRunning()) return;
    SyncServerSettings();
    server_.StartServer();
}

void MainCore::StopServer() {
    if (server_.IsRunning()) server_.StopServer();
}

void MainCore::SendMainInput(const std::string& typed) {
    session_->SendMainInput(typed);
    SyncServerSettings();
}

namespace {

std::string IfFileExists(const std::string& path) {
    return !path.empty() && platform::FileExists(path) ? path : std::string();
}

}  // namespace

std::string MainCore::ChatLogsFolderToOpen() const {
    const std::string folder = conversation::ChatLogsFolder(programFolder_);
    return platform::DirectoryExists(folder) ? folder : std::string();
}

std::string MainCore::ChatLogToOpen(const conversation::ChatView* view) const {
    if (view == nullptr) return {};
    if (view == &views_.mainView) return IfFileExists(conversation::MainLogPath(programFolder_));
    for (client::PrivateChat* chat : session_->privateChats().All()) {
        if (&chat->View() == view) return IfFileExists(chat->Log().Path());
    }
    return {};
}

std::string MainCore::SelectedUserChatLogToOpen() const {
    const client::UserTree& users = session_->userTree();
    const int id = users.SelectedUserId();
    if (id <= 0 || !users.HasUser(id)) return {};
    return IfFileExists(conversation::PrivateLogPath(programFolder_, users.UserName(id)));
}

bool MainCore::OnMenuCommand(int id) {
    namespace menu = client::menu;
    switch (id) {
        case menu::kStartServer: StartServer(); return true;
        case menu::kEndServer: StopServer(); return true;
        case menu::kListeningToggle:
            if (server_.IsRunning()) server_.ToggleListening();
            return true;
        case menu::kConnectToLocalServer: session_->ConnectToLocalServer(); return true;
        case menu::kEndConnection: session_->EndConnection(); return true;
        case menu::kMainChatToggle: session_->ToggleMainChat(); return true;
        case menu::kStatusAvailable:
        case menu::kStatusBusy:
        case menu::kStatusBeRightBack:
        case menu::kStatusAway: session_->OnStatusCommand(id); return true;
        default: return false;
    }
}

void MainCore::OnServerNotice(std::string_view text) {
    conversation::WriteNotice(session_->Lines(), views_.mainView, &session_->mainLog(), std::string(text));
}

void MainCore::OnServerStateChanged(bool running, bool listening) {
    if (running && !session_->menu().IsOwnServerRunning()) session_->ServerStarted();
    if (!running && session_->menu().IsOwnServerRunning()) session_->ServerStopped();
    if (running) session_->SetListening(listening);
}

void MainCore::OnServerPopupRequest(std::string_view text) {
    if (!views_.mainWindow.IsMainWindowForeground()) views_.popups.ShowPopup(std::string(text), 0, 0);
}

}  // namespace vorlan::app
