// The main window's menus as Windows shows them: the mirror copies the core's
// menu model into the menu bar, and the admin menus come and go without
// leaving anything behind. No window: the menus are loaded as the main dialog
// loads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/ui/AdminMenus.h"
#include "app/ui/MainDialogIds.h"
#include "app/ui/MenuMirror.h"
#include "client/MainMenuModel.h"

namespace vorlan::app {
namespace {

// Texts by position, "-" for a separator, then "#id" for the first and last item.
std::string TextsOf(HMENU menu) {
    std::string texts;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[128] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        texts += (GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) ? "-|" : std::string(text) + "|";
    }
    return texts + "#" + std::to_string(GetMenuItemID(menu, 0)) + " #" +
           std::to_string(GetMenuItemID(menu, GetMenuItemCount(menu) - 1));
}

// "text" then " grey" and " checked" as set, for the item with this id.
std::string ItemOf(HMENU menu, UINT id) {
    char text[128] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return std::string(text) + ((state & MF_GRAYED) ? " grey" : "") + ((state & MF_CHECKED) ? " checked" : "");
}

class MenuWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU)), nullptr);
        ASSERT_NE(userMenuBar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_USER_MENU)), nullptr);
        mirror.Attach(bar);
        admin.Attach(bar, nullptr, GetSubMenu(userMenuBar, 0));
    }
    void TearDown() override { DestroyMenu(userMenuBar), DestroyMenu(bar); }

    HMENU bar = nullptr, userMenuBar = nullptr;
    MenuMirror mirror;
    AdminMenus admin;
};

TEST_F(MenuWindow, MirrorCopiesTextGreyAndRadioMarkFromTheModelAlsoWithTheAdminMenu) {
    client::MainMenuModel model;
    model.SetView(&mirror);
    mirror.CopyAll(model);
    HMENU vorlan = GetSubMenu(bar, 0);
    EXPECT_EQ(ItemOf(vorlan, ID_STATUS_AVAILABLE) + "," + ItemOf(vorlan, ID_CONNECT_LOCAL_SERVER),
              "Available grey checked,Connect to local server grey");
    client::ClientState state;
    state.ownServerRunning = true;
    model.Show(state);
    EXPECT_EQ(ItemOf(vorlan, ID_START_SERVER) + "," + ItemOf(vorlan, ID_CONNECT_LOCAL_SERVER) + "," +
                  ItemOf(vorlan, ID_END_SERVER),
              "Start server grey,Connect to local server,End server");
    state.connection = client::ConnectionState::Connected;
    state.checkedStatus = client::menu::kStatusBusy;
    state.mainChatOpen = false;
    model.Show(state);
    EXPECT_EQ(ItemOf(vorlan, ID_CONNECT_LOCAL_SERVER) + "," + ItemOf(vorlan, ID_STATUS_BUSY) + "," +
                  ItemOf(vorlan, ID_STATUS_AVAILABLE) + "," + ItemOf(vorlan, ID_MAIN_CHAT_TOGGLE),
              "Connect to local server grey,Busy checked,Available,Open main chat");
    EXPECT_EQ(GetMenuState(vorlan, SET_STATUS_MENU_POSITION, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuItemCount(vorlan), 20) << "items change in place";

    admin.InstallAdminMenus();  // with "Admin" in the bar the mirror still reaches "Vorlan" and "Help"
    state.listening = false;
    state.connection = client::ConnectionState::Idle;
    model.Show(state);
    EXPECT_EQ(ItemOf(vorlan, ID_LISTENING_TOGGLE) + "," + ItemOf(vorlan, ID_STATUS_BUSY),
              "Start listening,Busy grey checked");
}

TEST_F(MenuWindow, AdminMenusComeAndGoWithoutTrace) {
    HMENU userMenu = GetSubMenu(userMenuBar, 0);
    const std::string userItems = TextsOf(userMenu);
    ASSERT_EQ(userItems, "Show info|Open private chat|Open chat log|Send file|Show version|Mute|#" +
                             std::to_string(ID_USER_SHOW_INFO) + " #" + std::to_string(ID_USER_MUTE));
    for (int round = 0; round < 2; ++round) {
        admin.InstallAdminMenus();
        admin.InstallAdminMenus();  // a second grant changes nothing
        EXPECT_TRUE(admin.Installed());
        EXPECT_EQ(TextsOf(GetSubMenu(bar, 1)), "Show connections|Show ban list|#" +
                                                   std::to_string(ID_SHOW_CONNECTIONS) + " #" +
                                                   std::to_string(ID_SHOW_BAN_LIST));
        EXPECT_EQ(TextsOf(userMenu),
                  "Enable admin|Disable admin|Show IP address|-|Show info|Open private chat|Open chat log|Send file|"
                  "Show version|Mute|-|Kick|Ban|#" +
                      std::to_string(ID_USER_ENABLE_ADMIN) + " #" + std::to_string(ID_USER_BAN));
        admin.RemoveAdminMenus();
        admin.RemoveAdminMenus();  // a second revoke changes nothing
        EXPECT_FALSE(admin.Installed());
        EXPECT_EQ(GetMenuItemCount(bar), 2);
        EXPECT_EQ(TextsOf(userMenu), userItems);
    }
}

}  // namespace
}  // namespace vorlan::app
