#include <gtest/gtest.h>

#include "client/MainMenuModel.h"
#include "client/StatusTitle.h"

namespace vorlan::client {
namespace {

TEST(StatusTitle, JoinsWhatApplies) {
    EXPECT_EQ(ComposeStatusTitle(false, false, 0), "Vorlan");
    EXPECT_EQ(ComposeStatusTitle(false, true, 0), "Vorlan - connected");
    EXPECT_EQ(ComposeStatusTitle(true, false, 0), "Vorlan - server running");
    EXPECT_EQ(ComposeStatusTitle(true, true, 3), "Vorlan - server running | connected | 3 new messages");
    EXPECT_EQ(ComposeStatusTitle(false, true, 1), "Vorlan - connected | 1 new message");
    EXPECT_EQ(ComposeStatusTitle(false, false, 1), "Vorlan - 1 new message");
    EXPECT_EQ(ComposeStatusTitle(false, false, 1000), "Vorlan - 1000 new messages");
    EXPECT_EQ(ComposeStatusTitle(false, false, 1001), "Vorlan - 1000+ new messages");
}

TEST(MainMenuRules, StartsAsTheResourceDefinesIt) {
    MainMenuModel menu;
    EXPECT_TRUE(menu.IsEnabled(menu::kStartServer));
    EXPECT_FALSE(menu.IsEnabled(menu::kConnectToLocalServer));
    EXPECT_TRUE(menu.IsEnabled(menu::kConnectToServer));
    EXPECT_FALSE(menu.IsEnabled(menu::kSetStatusSubmenu));
    for (int id = menu::kStatusAvailable; id <= menu::kStatusCustom; ++id) EXPECT_FALSE(menu.IsEnabled(id));
    EXPECT_TRUE(menu.IsChecked(menu::kStatusAvailable));
    EXPECT_EQ(menu.Text(menu::kMainChatToggle), "Close main chat");
    EXPECT_FALSE(menu.IsEnabled(menu::kMainChatToggle));
    EXPECT_FALSE(menu.IsEnabled(menu::kEndConnection));
    EXPECT_FALSE(menu.IsEnabled(menu::kEndServer));
}

TEST(MainMenuRules, OwnServerStartAndStopFollowTheConnection) {
    MainMenuModel menu;
    menu.ServerStarted();
    EXPECT_FALSE(menu.IsEnabled(menu::kStartServer));
    EXPECT_TRUE(menu.IsEnabled(menu::kConnectToLocalServer));
    EXPECT_TRUE(menu.IsEnabled(menu::kListeningToggle));
    EXPECT_TRUE(menu.IsEnabled(menu::kEndServer));
    menu.SetListening(false);
    EXPECT_EQ(menu.Text(menu::kListeningToggle), "Start listening");

    menu.ServerStopped();
    EXPECT_TRUE(menu.IsEnabled(menu::kStartServer));
    EXPECT_FALSE(menu.IsEnabled(menu::kConnectToLocalServer));  // not connected: greyed again
    EXPECT_EQ(menu.Text(menu::kListeningToggle), "Stop listening");
    EXPECT_FALSE(menu.IsEnabled(menu::kListeningToggle));

    // With a connection or attempt, the local connect entry is left alone.
    menu.Enable(menu::kEndConnection, true);
    menu.ServerStarted();
    EXPECT_FALSE(menu.IsEnabled(menu::kConnectToLocalServer));
}

TEST(MainMenuRules, StatusItemsAreOneRadioGroup) {
    MainMenuModel menu;
    menu.CheckStatus(menu::kStatusAway);
    EXPECT_TRUE(menu.IsChecked(menu::kStatusAway));
    EXPECT_FALSE(menu.IsChecked(menu::kStatusAvailable));
    EXPECT_FALSE(menu.IsChecked(menu::kStatusCustom));
}

}  // namespace
}  // namespace vorlan::client
