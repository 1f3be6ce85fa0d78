// Which browser opens a web address, and the one argument it gets: text from
// another user must never reach the browser's command line as more than one
// argument.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversation/BrowserLaunch.h"

namespace vorlan::conversation {
namespace {

// A command line's arguments as a Windows program's start-up code splits them:
// white space separates outside quotes, 2n backslashes before a quote are n
// backslashes and the quote toggles quoting, 2n+1 are n and a literal quote.
std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false, quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            std::size_t run = 0;
            while (i < line.size() && line[i] == '\\') ++run, ++i;
            inArgument = true;
            if (i < line.size() && line[i] == '"') {
                current.append(run / 2, '\\');
                if (run % 2 == 1) {
                    current.push_back('"');
                    continue;
                }
            } else {
                current.append(run, '\\');
            }
            --i;
            continue;
        }
        if (c == '"') {
            quoted = !quoted, inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) arguments.push_back(current);
            current.clear(), inArgument = false;
        } else {
            current.push_back(c), inArgument = true;
        }
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

storage::Options Browsers(bool specified, const std::string& path, bool explorer, bool openOnClick = true) {
    storage::Options options;
    options.useSpecifiedBrowser = specified, options.browserPath = path;
    options.useInternetExplorer = explorer, options.openLinksOnClick = openOnClick;
    return options;
}

TEST(BrowserLaunch, TheSpecifiedBrowserComesFirstThenInternetExplorerElseNothing) {
    const std::string web = "C:\\Program Files\\Web\\web.exe";
    const auto open = [](const storage::Options& options) {
        return BrowserLaunchFor(options, "http://a.example/", OpenRequest::Command);
    };
    EXPECT_EQ(open(Browsers(true, web, true)), (BrowserLaunch{web, "\"http://a.example/\""}));
    EXPECT_EQ(open(Browsers(false, web, true)), (BrowserLaunch{"iexplore", "\"http://a.example/\""}));
    EXPECT_EQ(open(Browsers(false, web, false)), std::nullopt);
    EXPECT_EQ(open(Browsers(true, "", true)), std::nullopt) << "an empty path does not fall back to another browser";
    EXPECT_EQ(BrowserLaunchFor(Browsers(true, web, true), "", OpenRequest::Command), std::nullopt);
}

TEST(BrowserLaunch, AClickOpensOnlyWhenLinksOpenOnAClickWhileNavigateAlwaysDoes) {
    const storage::Options manual = Browsers(false, "", true, false);
    EXPECT_EQ(BrowserLaunchFor(manual, "www.a.example", OpenRequest::LinkClicked), std::nullopt);
    EXPECT_NE(BrowserLaunchFor(manual, "www.a.example", OpenRequest::Command), std::nullopt);
    EXPECT_NE(BrowserLaunchFor(Browsers(false, "", true), "www.a.example", OpenRequest::LinkClicked), std::nullopt);
}

TEST(BrowserArgument, AnyTextStaysOneArgumentAndKeepsWhatAnAddressMayHold) {
    struct Row {
        const char* target;
        const char* seen;  // the one argument the browser receives
    };
    for (const Row& row : {
             Row{"http://a.example/x?y=1&z=2#top", "http://a.example/x?y=1&z=2#top"},
             {"selected words with spaces", "selected words with spaces"},
             {"http://a.example/\" --flag \"x", "http://a.example/%22 --flag %22x"},
             {"http://a.example/\"\t--new-window\r\n--flag", "http://a.example/%22%09--new-window%0D%0A--flag"},
             {"a\x7F\x01z", "a%7F%01z"},
             {"\\\\server\\share\\", "\\\\server\\share\\"},
             {"http://a.example/\\\" --flag", "http://a.example/\\%22 --flag"},
             {"C:\\dir\\\\", "C:\\dir\\\\"},
             {"caf\xE9 \xAC", "caf\xE9 \xAC"},
         }) {
        const std::string argument = BrowserArgument(row.target);
        EXPECT_EQ(SplitCommandLine(argument), std::vector<std::string>{row.seen}) << argument;
        EXPECT_EQ(SplitCommandLine("web.exe " + argument + " --after").size(), 3u) << "the quote ends: " << argument;
    }
}

}  // namespace
}  // namespace vorlan::conversation
