// vorlan-server [--folder DIR] [--port N]: the chat server without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "HeadlessServer.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    vorlan::tools::ServerToolArguments parsed;
    std::string error;
    if (!vorlan::tools::ParseCommandLine(arguments, parsed, error)) {
        std::fprintf(stderr, "vorlan-server: %s\n%s", error.c_str(), vorlan::tools::kUsage);
        return 2;
    }
    if (parsed.help) {
        std::fputs(vorlan::tools::kUsage, stdout);
        return 0;
    }
    vorlan::tools::HeadlessServer server(parsed, stdout);
    return server.Run();
}
