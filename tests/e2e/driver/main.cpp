// vorlan-driver: drives Vorlan's windows from outside, as a user would, for
// the end-to-end tests under Wine. It must run in the same Wine desktop as the
// program it drives (windows of other desktops are invisible to it).
//
//   vorlan-driver [--pid N] [--wait MS] COMMAND ARGS...   one command, output on stdout
//   vorlan-driver serve PORT                              commands over TCP (tests/e2e)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandServer.h"
#include "Driver.h"

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    Driver driver;
    if (words.size() == 2 && words[0] == "serve") {
        CommandServer server(driver);
        return server.Serve(static_cast<unsigned short>(std::atoi(words[1].c_str())));
    }
    std::string out;
    const bool ok = driver.Run(words, out);
    std::fwrite(out.data(), 1, out.size(), ok ? stdout : stderr);
    if (!out.empty() && out.back() != '\n') std::fputc('\n', ok ? stdout : stderr);
    return ok ? 0 : 1;
}
