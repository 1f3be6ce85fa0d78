#include "HeadlessServer.h"

#include <vector>

#include "StopRequest.h"
#include "platform/Files.h"
#include "storage/BanListFile.h"
#include "storage/OptionsFile.h"

namespace vorlan::tools {
namespace {

constexpr int kStopCheckTimerId = 1;
constexpr std::uint32_t kStopCheckPeriodMs = 100;

}  // namespace

HeadlessServer::HeadlessServer(const ServerToolArguments& arguments, std::FILE* out)
    : folder_(arguments.folder.empty() ? platform::ExecutableFolder() : arguments.folder),
      observer_(out),
      server_(observer_) {
    LoadSettings();
    server_.SetChatPort(arguments.port ? *arguments.port : storage::ChatPortOf(options_));
}

// Paths are written the program's way; the platform layer maps the separator.
std::string HeadlessServer::PathOf(const char* fileName) const { return folder_ + "\\" + fileName; }

void HeadlessServer::LoadSettings() {
    storage::LoadOptions(PathOf("options.vr"), options_);
    server_.SetTopic(options_.topic);
    server_.SetPasswords({options_.superAdminPassword, options_.normalAdminPassword, options_.normalUserPassword});
    std::vector<storage::BanEntry> banList;
    storage::LoadBanList(PathOf("banlist.vr"), banList);
    server_.SetBanList(std::move(banList));
}

void HeadlessServer::SaveSettings() {
    options_.topic = server_.Topic();
    storage::SaveOptionsIfExists(PathOf("options.vr"), options_);
    storage::SaveBanListIfExists(PathOf("banlist.vr"), server_.BanList());
}

int HeadlessServer::Run() {
    if (!server_.StartServer()) return 1;
    StopRequest::InstallHandlers();
    StartTimer(kStopCheckTimerId, kStopCheckPeriodMs);
    platform::EventLoop::Run();
    StopTimer(kStopCheckTimerId);
    server_.StopServer();
    SaveSettings();
    return 0;
}

void HeadlessServer::OnTimer(int id) {
    if (id == kStopCheckTimerId && StopRequest::IsRequested()) platform::EventLoop::Quit();
}

}  // namespace vorlan::tools
