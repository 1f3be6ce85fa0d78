#pragma once

#include <string>

#include "CommandLine.h"
#include "ConsoleObserver.h"
#include "platform/EventLoop.h"
#include "server/ChatServer.h"
#include "storage/Records.h"

namespace vorlan::tools {

// The server half of the program without its window: reads the port, topic,
// passwords and ban list from the program folder, serves until asked to stop,
// then writes the topic and the ban list back into the files that exist.
class HeadlessServer : private platform::TimerOwner {
public:
    HeadlessServer(const ServerToolArguments& arguments, std::FILE* out);

    // Exit status: 0 after a requested stop, 1 when the server could not start.
    int Run();

private:
    void OnTimer(int id) override;
    void LoadSettings();
    void SaveSettings();
    std::string PathOf(const char* fileName) const;

    std::string folder_;
    storage::Options options_;
    ConsoleObserver observer_;
    server::ChatServer server_;
};

}  // namespace vorlan::tools
