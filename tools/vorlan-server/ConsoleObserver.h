#pragma once

#include <cstdio>
#include <string_view>

#include "server/ServerObserver.h"

namespace vorlan::tools {

// Writes `text` as one line with the log time in front, flushed at once so
// that a supervisor (the journal) sees it.
void WriteLogLine(std::FILE* out, std::string_view text);

// Prints the server's notice lines with the log time, as the main chat log
// would hold them, and flushes each at once so that a supervisor sees it.
class ConsoleObserver : public server::ServerObserver {
public:
    explicit ConsoleObserver(std::FILE* out) : out_(out) {}

    void OnServerNotice(std::string_view text) override;
    void OnServerStateChanged(bool running, bool listening) override;
    void OnServerPopupRequest(std::string_view text) override;

private:
    std::FILE* out_;
};

}  // namespace vorlan::tools
