#pragma once

#include <windows.h>

#include "client/ClientViews.h"

namespace vorlan::app {

// The menus of a client with admin rights: the "Admin" menu in the menu bar
// ("Show connections", "Show ban list"), and in the user menu "Enable admin",
// "Disable admin", "Show IP address" and a separator at the top, a separator,
// "Kick" and "Ban" at the end.
class AdminMenus : public client::AdminMenusView {
public:
    // The main window's menu bar (redrawn in `window` when it changes) and the
    // pop-up of the user menu (resource 141).
    void Attach(HMENU menuBar, HWND window, HMENU userMenu);

    void InstallAdminMenus() override;
    void RemoveAdminMenus() override;
    bool Installed() const { return adminMenu_ != nullptr; }

private:
    HMENU bar_ = nullptr;
    HWND window_ = nullptr;
    HMENU userMenu_ = nullptr;
    HMENU adminMenu_ = nullptr;
};

}  // namespace vorlan::app
