// The main window's menus as Windows shows them: the mirror copies the core's
// menu model into the menu bar, and the admin menus come and go without
// leaving anything behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/ui/AdminMenus.h"
#include "app/ui/MainDialogIds.h"
#include "app/ui/MenuMirror.h"
#include "client/MainMenuModel.h"

namespace vorlan::app {
namespace {

std::vector<std::string> TextsOf(HMENU menu) {
    std::vector<std::string> texts;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[128] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        const bool separator = (GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        texts.push_back(separator ? "-" : text);
    }
    return texts;
}

std::string TextOf(HMENU menu, UINT id) {
    char text[128] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool IsGrey(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

bool IsChecked(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// The main menu and the user menu as the main dialog loads them (no window:
// the tests run headless).
class MenuWindow : public ::testing::Test {
protected:
    void SetUp() override {
        bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
        ASSERT_NE(bar, nullptr);
        userMenuBar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_USER_MENU));
        ASSERT_NE(userMenuBar, nullptr);
        userMenu = GetSubMenu(userMenuBar, 0);
        mirror.Attach(bar);
        admin.Attach(bar, nullptr, userMenu);
    }
    void TearDown() override {
        DestroyMenu(userMenuBar);
        DestroyMenu(bar);
    }

    HMENU Bar() const { return bar; }
    HMENU Vorlan() const { return GetSubMenu(Bar(), 0); }

    HMENU bar = nullptr;
    HMENU userMenuBar = nullptr;
    HMENU userMenu = nullptr;
    MenuMirror mirror;
    AdminMenus admin;
};

TEST_F(MenuWindow, MirrorCopiesTextGreyAndRadioMarkFromTheModel) {
    client::MainMenuModel model;
    model.SetView(&mirror);
    mirror.CopyAll(model);
    EXPECT_TRUE(IsChecked(Vorlan(), ID_STATUS_AVAILABLE)) << "the model starts with \"Available\" checked";
    EXPECT_TRUE(IsGrey(Vorlan(), ID_CONNECT_LOCAL_SERVER));

    model.ServerStarted();
    EXPECT_TRUE(IsGrey(Vorlan(), ID_START_SERVER));
    EXPECT_FALSE(IsGrey(Vorlan(), ID_CONNECT_LOCAL_SERVER));
    EXPECT_FALSE(IsGrey(Vorlan(), ID_END_SERVER));

    model.Enable(client::menu::kSetStatusSubmenu, true);
    EXPECT_EQ(GetMenuState(Vorlan(), SET_STATUS_MENU_POSITION, MF_BYPOSITION) & MF_GRAYED, 0u);
    model.Enable(client::menu::kStatusBusy, true);
    model.CheckStatus(client::menu::kStatusBusy);
    EXPECT_TRUE(IsChecked(Vorlan(), ID_STATUS_BUSY));
    EXPECT_FALSE(IsChecked(Vorlan(), ID_STATUS_AVAILABLE));
    EXPECT_FALSE(IsGrey(Vorlan(), ID_STATUS_BUSY));

    model.SetText(client::menu::kMainChatToggle, client::kOpenMainChatText);
    EXPECT_EQ(TextOf(Vorlan(), ID_MAIN_CHAT_TOGGLE), "Open main chat");
    EXPECT_EQ(TextsOf(Vorlan()).size(), 20u) << "items change in place";

    // With the "Admin" menu in the bar the mirror still reaches "Vorlan" and "Help".
    admin.InstallAdminMenus();
    model.SetText(client::menu::kListeningToggle, client::kStartListeningText);
    EXPECT_EQ(TextOf(Vorlan(), ID_LISTENING_TOGGLE), "Start listening");
    model.Enable(client::menu::kAbout, false);
    EXPECT_TRUE(IsGrey(Bar(), ID_ABOUT));
}

TEST_F(MenuWindow, AdminMenusComeAndGoWithoutTrace) {
    const std::vector<std::string> userItems = TextsOf(userMenu);
    ASSERT_EQ(userItems, (std::vector<std::string>{"Show info", "Open private chat", "Open chat log", "Send file",
                                                   "Show version", "Mute"}));
    ASSERT_EQ(TextsOf(Bar()), (std::vector<std::string>{"Vorlan", "Help"}));

    admin.InstallAdminMenus();
    admin.InstallAdminMenus();  // a second grant changes nothing
    EXPECT_TRUE(admin.Installed());
    EXPECT_EQ(TextsOf(Bar()), (std::vector<std::string>{"Vorlan", "Admin", "Help"}));
    EXPECT_EQ(TextsOf(GetSubMenu(Bar(), 1)), (std::vector<std::string>{"Show connections", "Show ban list"}));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(Bar(), 1), 0), UINT{ID_SHOW_CONNECTIONS});
    EXPECT_EQ(GetMenuItemID(GetSubMenu(Bar(), 1), 1), UINT{ID_SHOW_BAN_LIST});
    EXPECT_EQ(TextsOf(userMenu),
              (std::vector<std::string>{"Enable admin", "Disable admin", "Show IP address", "-", "Show info",
                                        "Open private chat", "Open chat log", "Send file", "Show version", "Mute",
                                        "-", "Kick", "Ban"}));
    EXPECT_EQ(GetMenuItemID(userMenu, 0), UINT{ID_USER_ENABLE_ADMIN});
    EXPECT_EQ(GetMenuItemID(userMenu, 12), UINT{ID_USER_BAN});

    admin.RemoveAdminMenus();
    admin.RemoveAdminMenus();  // a second revoke changes nothing
    EXPECT_FALSE(admin.Installed());
    EXPECT_EQ(TextsOf(Bar()), (std::vector<std::string>{"Vorlan", "Help"}));
    EXPECT_EQ(TextsOf(userMenu), userItems);

    admin.InstallAdminMenus();
    EXPECT_EQ(TextsOf(userMenu).size(), 13u) << "installed again after a revoke";
}

TEST(MainWindowResources, ServersMenuAndSingleDialogsCarryTheirItemsAndControls) {
    HMODULE module = GetModuleHandleA(nullptr);
    HMENU servers = LoadMenuA(module, MAKEINTRESOURCEA(IDR_SERVERS_MENU));
    ASSERT_NE(servers, nullptr);
    EXPECT_EQ(TextsOf(GetSubMenu(servers, 0)), (std::vector<std::string>{"Connect", "Remove", "Copy IP Address"}));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(servers, 0), 0), UINT{ID_RECENT_CONNECT});
    DestroyMenu(servers);

    for (int dialog : {IDD_CONNECT_DIALOG, IDD_ABOUT_DIALOG, IDD_INFO_DIALOG, IDD_TRAY_MENU_WINDOW}) {
        EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(dialog), MAKEINTRESOURCEA(5) /* RT_DIALOG */), nullptr)
            << "dialog " << dialog;
    }
}

}  // namespace
}  // namespace vorlan::app
