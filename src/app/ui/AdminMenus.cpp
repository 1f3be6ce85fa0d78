#include "app/ui/AdminMenus.h"

#include "app/ui/MainDialogIds.h"

namespace vorlan::app {

namespace {

// The menu bar: "Vorlan", then "Admin" while installed, then "Help".
constexpr UINT kAdminMenuPosition = 1;
constexpr int kUserMenuAdminTopItems = 4;  // three entries and a separator
constexpr int kUserMenuAdminEndItems = 3;  // a separator and two entries

}  // namespace

void AdminMenus::Attach(HMENU menuBar, HWND window, HMENU userMenu) {
    bar_ = menuBar;
    window_ = window;
    userMenu_ = userMenu;
}

void AdminMenus::InstallAdminMenus() {
    if (Installed() || bar_ == nullptr) {
        return;
    }
    adminMenu_ = CreatePopupMenu();
    AppendMenuA(adminMenu_, MF_STRING, ID_SHOW_CONNECTIONS, "Show connections");
    AppendMenuA(adminMenu_, MF_STRING, ID_SHOW_BAN_LIST, "Show ban list");
    InsertMenuA(bar_, kAdminMenuPosition, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(adminMenu_),
                "Admin");
    if (window_ != nullptr) {
        DrawMenuBar(window_);
    }

    if (userMenu_ != nullptr) {
        InsertMenuA(userMenu_, 0, MF_BYPOSITION | MF_STRING, ID_USER_ENABLE_ADMIN, "Enable admin");
        InsertMenuA(userMenu_, 1, MF_BYPOSITION | MF_STRING, ID_USER_DISABLE_ADMIN, "Disable admin");
        InsertMenuA(userMenu_, 2, MF_BYPOSITION | MF_STRING, ID_USER_SHOW_ADDRESS, "Show IP address");
        InsertMenuA(userMenu_, 3, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        AppendMenuA(userMenu_, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(userMenu_, MF_STRING, ID_USER_KICK, "Kick");
        AppendMenuA(userMenu_, MF_STRING, ID_USER_BAN, "Ban");
    }
}

void AdminMenus::RemoveAdminMenus() {
    if (!Installed()) {
        return;
    }
    // Removing by position also destroys the pop-up it holds.
    DeleteMenu(bar_, kAdminMenuPosition, MF_BYPOSITION);
    adminMenu_ = nullptr;
    if (window_ != nullptr) {
        DrawMenuBar(window_);
    }

    if (userMenu_ != nullptr) {
        for (int i = 0; i < kUserMenuAdminTopItems; ++i) {
            DeleteMenu(userMenu_, 0, MF_BYPOSITION);
        }
        for (int i = 0; i < kUserMenuAdminEndItems; ++i) {
            DeleteMenu(userMenu_, GetMenuItemCount(userMenu_) - 1, MF_BYPOSITION);
        }
    }
}

}  // namespace vorlan::app
