#include "conversation/BrowserLaunch.h"

#include <cstdio>

namespace vorlan::conversation {

std::optional<BrowserLaunch> BrowserLaunchFor(const storage::Options& options, std::string_view target,
                                              OpenRequest request) {
    if (target.empty()) return std::nullopt;
    if (request == OpenRequest::LinkClicked && !options.openLinksOnClick) return std::nullopt;
    std::string program;
    if (options.useSpecifiedBrowser) {
        // An empty path opens nothing rather than falling back to another browser.
        program = options.browserPath;
    } else if (options.useInternetExplorer) {
        program = "iexplore";
    }
    if (program.empty()) return std::nullopt;
    return BrowserLaunch{program, BrowserArgument(target)};
}

std::string BrowserArgument(std::string_view target) {
    std::string argument = "\"";
    std::size_t backslashes = 0;  // the run of backslashes just written
    for (unsigned char c : target) {
        if (c == '"' || c < 0x20 || c == 0x7F) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            argument += escaped;
        } else {
            argument.push_back(static_cast<char>(c));
        }
        backslashes = c == '\\' ? backslashes + 1 : 0;
    }
    // Backslashes before a quote escape it on a Windows command line; doubled,
    // they stay backslashes and the quote still ends the argument.
    argument.append(backslashes, '\\');
    argument += "\"";
    return argument;
}

}  // namespace vorlan::conversation
