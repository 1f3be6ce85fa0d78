#pragma once

#include <windows.h>

#include <vector>

#include "app/TrayMenuModel.h"

namespace vorlan::app {

// The tray menu's entries in the main menu's "Vorlan" drop-down: put before
// its last item ("Exit") while the tray menu is open, the default one bold,
// and taken out again afterwards so that the main menu is as it was.
class TrayMenuEntries {
public:
    void Add(HMENU menu, const std::vector<TrayMenuItem>& items);
    // Everything between the first added entry and the last item goes, also
    // what arrived among the entries while the menu was open.
    void Remove();

private:
    HMENU menu_ = nullptr;
    int first_ = 0;
};

}  // namespace vorlan::app
