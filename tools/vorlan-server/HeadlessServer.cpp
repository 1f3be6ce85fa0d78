#include "HeadlessServer.h"

#include <vector>

#include "StopRequest.h"
#include "platform/Files.h"
#include "protocol/ClientToServer.h"
#include "storage/BanListFile.h"
#include "storage/OptionsFile.h"

namespace vorlan::tools {
namespace {

constexpr int kStopCheckTimerId = 1;
constexpr std::uint32_t kStopCheckPeriodMs = 100;

// A missing file is fine (defaults); one that is there and cannot be read is not.
bool Unreadable(const std::string& path, bool loaded) {
    return platform::DirectoryExists(path) || (platform::FileExists(path) && !loaded);
}

}  // namespace

HeadlessServer::HeadlessServer(const ServerToolArguments& arguments, std::FILE* out)
    : folder_(arguments.folder.empty() ? platform::ExecutableFolder() : arguments.folder),
      port_(arguments.port),
      out_(out),
      observer_(out),
      log_(out),
      server_(observer_) {
    server_.SetEvents(&log_);
}

// Paths are written the program's way; the platform layer maps the separator.
std::string HeadlessServer::PathOf(const char* fileName) const { return folder_ + "\\" + fileName; }

bool HeadlessServer::LoadSettings(std::string& error) {
    if (!platform::DirectoryExists(folder_)) {
        error = "no such folder: " + folder_;
        return false;
    }
    const std::string optionsPath = PathOf("options.vr");
    if (Unreadable(optionsPath, storage::LoadOptions(optionsPath, options_))) {
        error = "cannot read " + folder_ + "/options.vr";
        return false;
    }
    std::vector<storage::BanEntry> banList;
    const std::string banListPath = PathOf("banlist.vr");
    if (Unreadable(banListPath, storage::LoadBanList(banListPath, banList))) {
        error = "cannot read " + folder_ + "/banlist.vr";
        return false;
    }
    server_.SetTopic(options_.topic);
    server_.SetPasswords({options_.superAdminPassword, options_.normalAdminPassword, options_.normalUserPassword});
    server_.SetBanList(std::move(banList));
    server_.SetChatPort(port_ ? *port_ : storage::ChatPortOf(options_));
    return true;
}

// A file that is there and could not be rewritten is reported: the changes of
// this run (topic, bans) would otherwise be lost without a word.
bool HeadlessServer::SaveSettings() {
    options_.topic = server_.Topic();
    bool saved = true;
    auto check = [&](const char* name, auto&& save) {
        const std::string path = PathOf(name);
        if (!platform::FileExists(path) || save(path)) return;
        WriteLogLine(out_, "Couldn't write " + folder_ + "/" + name + ".");
        saved = false;
    };
    check("options.vr", [&](const std::string& path) { return storage::SaveOptionsIfExists(path, options_); });
    check("banlist.vr", [&](const std::string& path) { return storage::SaveBanListIfExists(path, server_.BanList()); });
    return saved;
}

int HeadlessServer::Run() {
    if (!server_.StartServer()) return 1;
    StopRequest::InstallHandlers();
    StartTimer(kStopCheckTimerId, kStopCheckPeriodMs);
    platform::EventLoop::Run();
    StopTimer(kStopCheckTimerId);
    server_.StopServer();
    return SaveSettings() ? 0 : 1;
}

void HeadlessServer::OnTimer(int id) {
    if (id == kStopCheckTimerId && StopRequest::IsRequested()) platform::EventLoop::Quit();
}

int RunServerTool(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    ServerToolArguments parsed;
    std::string error;
    if (!ParseCommandLine(arguments, parsed, error)) {
        std::fprintf(err, "vorlan-server: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (parsed.help) {
        std::fputs(kUsage, out);
        return 0;
    }
    if (parsed.version) {
        std::fprintf(out, "%.*s\n", static_cast<int>(protocol::to_server::kVersionText.size()),
                     protocol::to_server::kVersionText.data());
        return 0;
    }
    HeadlessServer server(parsed, out);
    if (!server.LoadSettings(error)) {
        std::fprintf(err, "vorlan-server: %s\n", error.c_str());
        return 2;
    }
    return server.Run();
}

}  // namespace vorlan::tools
