#pragma once

#include <string>
#include <vector>

namespace vorlan::app {

// One entry the tray menu adds; command 0 is a separator.
struct TrayMenuItem {
    int command = 0;
    std::string text;
    bool isDefault = false;  // shown bold; a double click on the icon does the same
    bool operator==(const TrayMenuItem&) const = default;
};

// The entries the tray menu adds, in order, to the main menu's "Vorlan" menu
// before its last item ("Exit"), and removes again once the menu has closed.
// A client with admin rights reaches the connections and the ban list from
// there too. "Show Vorlan" is the default entry.
std::vector<TrayMenuItem> TrayMenuItems(bool isAdmin);

}  // namespace vorlan::app
