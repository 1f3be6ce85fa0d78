#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ConsoleObserver.h"
#include "OperatorLog.h"
#include "platform/EventLoop.h"
#include "server/ChatServer.h"
#include "storage/Records.h"

namespace vorlan::tools {

// The server half of the program without its window: reads the port, topic,
// passwords and ban list from the program folder, serves until asked to stop,
// then writes the topic and the ban list back into the files that exist. Every
// notice and every connection event is one line on `out`.
class HeadlessServer : private platform::TimerOwner {
public:
    HeadlessServer(const ServerToolArguments& arguments, std::FILE* out);

    // False with `error` set when the folder does not exist or a settings file
    // in it exists but cannot be read: serving with default settings instead
    // would hide the mistake, and the stop would not save what the files hold.
    bool LoadSettings(std::string& error);
    // Exit status: 0 after a requested stop, 1 when the server could not start
    // or a settings file could not be rewritten at the stop.
    int Run();

    // For tests: the server, once LoadSettings has run.
    server::ChatServer& Server() { return server_; }

private:
    void OnTimer(int id) override;
    bool SaveSettings();
    std::string PathOf(const char* fileName) const;

    std::string folder_;
    std::optional<std::uint16_t> port_;
    storage::Options options_;
    std::FILE* out_;
    ConsoleObserver observer_;
    OperatorLog log_;
    server::ChatServer server_;
};

// The whole tool: parses `arguments` (without the program name), prints the
// usage, the version or an error, or serves. Returns the exit status: 2 for an
// unusable command line, folder or settings file.
int RunServerTool(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace vorlan::tools
