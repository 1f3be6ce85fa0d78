// vorlan-server [--folder DIR] [--port N] [--version]: the chat server without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "HeadlessServer.h"

int main(int argc, char** argv) {
    return vorlan::tools::RunServerTool(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
