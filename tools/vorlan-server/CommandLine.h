#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorlan::tools {

struct ServerToolArguments {
    std::string folder;                 // empty: the executable's folder
    std::optional<std::uint16_t> port;  // overrides line 17 of options.vr
    bool help = false;
    bool version = false;
};

// `vorlan-server [--folder DIR] [--port N] [--version] [--help]`. False with `error` set when the
// arguments make no sense.
bool ParseCommandLine(const std::vector<std::string>& arguments, ServerToolArguments& parsed, std::string& error);

extern const char* const kUsage;

}  // namespace vorlan::tools
