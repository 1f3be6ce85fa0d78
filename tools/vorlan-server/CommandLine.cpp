#include "CommandLine.h"

namespace vorlan::tools {

const char* const kUsage =
    "usage: vorlan-server [--folder DIR] [--port N] [--version]\n"
    "  --folder DIR  the program folder holding options.vr and banlist.vr\n"
    "                (default: the folder of this executable); a file that is\n"
    "                missing gives default settings, one that cannot be read\n"
    "                is an error\n"
    "  --port N      the chat port for this run, 1..65535 (default: line 17 of\n"
    "                options.vr, or 5555 when that line is missing or 0)\n"
    "  --version     prints the version and exits\n";

namespace {

bool ParsePort(const std::string& text, std::uint16_t& port) {
    if (text.empty() || text.size() > 5) return false;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, ServerToolArguments& parsed, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            continue;
        }
        if (argument == "--version") {
            parsed.version = true;
            continue;
        }
        if (argument != "--folder" && argument != "--port") {
            error = "unknown argument: " + argument;
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = argument + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (argument == "--folder") {
            parsed.folder = value;
            continue;
        }
        std::uint16_t port = 0;
        if (!ParsePort(value, port)) {
            error = "not a port: " + value;
            return false;
        }
        parsed.port = port;
    }
    return true;
}

}  // namespace vorlan::tools
