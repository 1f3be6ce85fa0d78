#include "app/ui/TrayMenuEntries.h"

namespace vorlan::app {

void TrayMenuEntries::Add(HMENU menu, const std::vector<TrayMenuItem>& items) {
    Remove();
    const int count = GetMenuItemCount(menu);
    if (count < 1) {
        return;
    }
    menu_ = menu;
    first_ = count - 1;
    UINT position = static_cast<UINT>(first_);
    for (const TrayMenuItem& item : items) {
        const UINT flags = MF_BYPOSITION | (item.command == 0 ? MF_SEPARATOR : MF_STRING);
        InsertMenuA(menu, position++, flags, static_cast<UINT_PTR>(item.command),
                    item.command == 0 ? nullptr : item.text.c_str());
        if (item.isDefault) SetMenuDefaultItem(menu, static_cast<UINT>(item.command), FALSE);
    }
}

void TrayMenuEntries::Remove() {
    if (menu_ == nullptr) {
        return;
    }
    SetMenuDefaultItem(menu_, static_cast<UINT>(-1), FALSE);
    while (GetMenuItemCount(menu_) - 1 > first_) {
        if (!DeleteMenu(menu_, static_cast<UINT>(first_), MF_BYPOSITION)) break;
    }
    menu_ = nullptr;
}

}  // namespace vorlan::app
