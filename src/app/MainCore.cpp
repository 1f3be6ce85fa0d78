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
#include "transfer/IdleTransfers.h"
#include "transfer/SessionTransfers.h"
#include "update/UpdateChecker.h"

namespace vorlan::app {

MainCore::MainCore(const MainCoreViews& views, MainCoreSettings settings)
    : views_(views),
      notifier_(settings_.options, settings.programFolder, views.popup, views.sounds),
      server_(*this, settings.serverTuning) {
    settings_.programFolder = std::move(settings.programFolder);
    // Files are read in this order; a missing file keeps the built-in values.
    settings_.colors = storage::DefaultColors();
    storage::LoadColors(PathOf("colors.vr"), settings_.colors);
    storage::LoadOptions(PathOf("options.vr"), settings_.options);
    storage::LoadProfile(PathOf("profile.vr"), settings_.profile);
    std::vector<storage::BanEntry> banList;
    storage::LoadBanList(PathOf("banlist.vr"), banList);
    server_.SetBanList(std::move(banList));
    storage::LoadRecentServers(PathOf("recentservers.vr"), loadedRecentServers_);

    server_.SetTopic(settings_.options.topic);
    settings_.clock = std::move(settings.clock);
    settings_.keepAliveMs = settings.keepAliveMs;
    settings_.reconnectMs = settings.reconnectMs;
    settings_.bindAddress = std::move(settings.clientBindAddress);
    // The password commands of the input line change what the server admits.
    settings_.serverSettingsChanged = [this] { SyncServerSettings(); };
    if (settings.makeTransfers) {
        transfers_ = settings.makeTransfers(*this);
    } else if (settings.transferWindows) {
        transfers_ = std::make_unique<transfer::SessionTransfers>(
            [this]() -> client::ClientSession& { return *session_; }, *settings.transferWindows,
            settings.transferTuning);
    }
    if (!transfers_) transfers_ = std::make_unique<transfer::IdleTransfers>();
    if (settings.makeUpdateCheck) {
        updateCheck_ = settings.makeUpdateCheck(*this);
    } else {
        updateCheck_ = std::make_unique<update::UpdateChecker>(
            settings.updateServer, [this](const std::string& notice) { notifier_.ShowPopup(notice, 1, 0); });
    }
    const client::ClientSessionViews sessionViews{views.mainView,   views.userTree,          views.recentServers,
                                                  notifier_,        views.mainWindow,        views.tray,
                                                  views.info,       views.remoteConnections, views.remoteBanList,
                                                  views.adminMenus, views.privateWindows,    *transfers_};
    session_ = std::make_unique<client::ClientSession>(sessionViews, settings_);
}

MainCore::~MainCore() = default;

std::string MainCore::PathOf(std::string_view fileName) const {
    return settings_.programFolder + "\\" + std::string(fileName);
}

void MainCore::LoadRecentServers() {
    if (recentServersLoaded_) return;
    recentServersLoaded_ = true;
    session_->LoadRecentServers(loadedRecentServers_);
    loadedRecentServers_.clear();
}

void MainCore::Start() {
    LoadRecentServers();
    session_->Start();
    if (Options().checkForNewVersion && updateCheck_) updateCheck_->Start();
    if (Options().startServer) StartServer();
    session_->ConnectAtStartUp();
}

void MainCore::Shutdown() {
    EndAndSave();
    CloseLogsAndWindows();
}

void MainCore::EndAndSave() {
    if (updateCheck_) updateCheck_->Stop();
    session_->EndForShutdown();
    StopServer();
    transfers_->StopAll();
    SaveSettingsFiles();
}

void MainCore::CloseLogsAndWindows() {
    session_->ClosePrivateChats();
    transfers_->DestroyAll();
    session_->CloseMainLog();
}

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
    server_.SetChatPort(storage::ChatPortOf(Options()));
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

namespace {

std::string IfFileExists(const std::string& path) {
    return !path.empty() && platform::FileExists(path) ? path : std::string();
}

}  // namespace

std::string MainCore::ChatLogsFolderToOpen() const {
    const std::string folder = conversation::ChatLogsFolder(ProgramFolder());
    return platform::DirectoryExists(folder) ? folder : std::string();
}

std::string MainCore::ChatLogToOpen(const conversation::ChatView* view) const {
    if (view == nullptr) return {};
    if (view == &views_.mainView) return IfFileExists(conversation::MainLogPath(ProgramFolder()));
    for (client::PrivateChat* chat : session_->privateChats().All()) {
        if (&chat->View() == view) return IfFileExists(chat->Log().Path());
    }
    return {};
}

std::string MainCore::SelectedUserChatLogToOpen() const {
    const client::UserTree& users = session_->userTree();
    const int id = users.SelectedUserId();
    if (id <= 0 || !users.HasUser(id)) return {};
    return IfFileExists(conversation::PrivateLogPath(ProgramFolder(), users.UserName(id)));
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

void MainCore::OnServerStateChanged(bool running, bool listening) { session_->OwnServerChanged(running, listening); }

void MainCore::OnServerPopupRequest(std::string_view text) {
    if (!views_.mainWindow.IsMainWindowForeground()) notifier_.ShowPopup(std::string(text), 0, 0);
}

}  // namespace vorlan::app
