// The main window's remembered size and maximized state, and the entries its
// tray menu adds.
#include <gtest/gtest.h>

#include "app/MainLayout.h"
#include "app/TrayMenuModel.h"
#include "client/MenuIds.h"

namespace vorlan::app {
namespace {

std::string Remembered(const storage::Options& options) {
    return std::to_string(options.mainWidth) + "x" + std::to_string(options.mainHeight) +
           (options.mainMaximized ? " maximized" : "");
}

// The restored size survives maximizing and minimizing, so the next start
// opens at it, maximized when the window was maximized at the end.
TEST(MainWindowSize, OnlyARestoredWindowLeavesItsSizeAndMaximizingIsRemembered) {
    storage::Options options;
    options.mainWidth = 640, options.mainHeight = 480;
    EXPECT_TRUE(RememberMainWindowSize(options, MainSizeKind::Restored, 900, 650));
    EXPECT_EQ(Remembered(options), "900x650");
    EXPECT_TRUE(RememberMainWindowSize(options, MainSizeKind::Maximized, 1296, 1000));
    EXPECT_EQ(Remembered(options), "900x650 maximized");
    EXPECT_FALSE(RememberMainWindowSize(options, MainSizeKind::Minimized, 160, 28)) << "no layout while minimized";
    EXPECT_TRUE(RememberMainWindowSize(options, MainSizeKind::Other, 1, 1));
    EXPECT_EQ(Remembered(options), "900x650 maximized") << "minimized and other windows' notices change nothing";
    const MainWindowStart start = MainWindowStartFrom(options);
    EXPECT_EQ(std::tuple(start.resize, start.width, start.height, start.maximized), std::tuple(true, 900, 650, true));
    EXPECT_TRUE(RememberMainWindowSize(options, MainSizeKind::Restored, 910, 660));
    EXPECT_EQ(Remembered(options), "910x660");

    storage::Options unset;
    unset.mainWidth = 0, unset.mainHeight = 480;
    EXPECT_FALSE(MainWindowStartFrom(unset).resize) << "without a stored size the template's size stays";
}

// Text, "*" for the default entry, "-" for a separator.
std::string Entries(bool isAdmin) {
    std::string out;
    for (const TrayMenuItem& item : TrayMenuItems(isAdmin)) {
        out += item.command == 0 ? "-|"
                                 : item.text + "=" + std::to_string(item.command) + (item.isDefault ? "*" : "") + "|";
    }
    return out;
}

TEST(TrayMenu, AddsAboutAndADefaultShowVorlanAndForAdminsTheirTwoWindowsFirst) {
    EXPECT_EQ(Entries(false), "About Vorlan=32782|-|Show Vorlan=113*|-|");
    EXPECT_EQ(Entries(true), "Show connections=111|Show ban list=112|-|About Vorlan=32782|-|Show Vorlan=113*|-|");
}

}  // namespace
}  // namespace vorlan::app
