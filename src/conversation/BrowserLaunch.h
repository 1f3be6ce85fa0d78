#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "storage/Records.h"

namespace vorlan::conversation {

// A browser to start: the program and its one command-line argument.
struct BrowserLaunch {
    std::string program;
    std::string argument;
    bool operator==(const BrowserLaunch&) const = default;
};

// Why a web address is opened: a click on a link opens it only with
// "Automatically open links in browser when clicked" on; "Navigate" and the
// About box's link open it whatever that option says.
enum class OpenRequest { LinkClicked, Command };

// The browser the options choose for `target`: the specified browser when
// "Use specified browser" is on, else "iexplore" when "Use Internet Explorer"
// is on. Nothing when neither is on, when the specified path is empty, when
// there is no target, or for a click while links do not open on a click.
std::optional<BrowserLaunch> BrowserLaunchFor(const storage::Options& options, std::string_view target,
                                              OpenRequest request);

// `target` as exactly one command-line argument: in double quotes, with the
// double quote, control characters and DEL percent-encoded and the backslashes
// before the closing quote doubled, so that text from another user can never
// end the quote and add arguments of its own.
std::string BrowserArgument(std::string_view target);

}  // namespace vorlan::conversation
