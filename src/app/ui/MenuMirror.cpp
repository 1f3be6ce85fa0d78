#include "app/ui/MenuMirror.h"

#include "app/ui/MainDialogIds.h"
#include "client/MenuIds.h"

#include <string>

namespace vorlan::app {

namespace menu = client::menu;

namespace {

constexpr int kMirroredItems[] = {
    menu::kStartServer,
    menu::kConnectToLocalServer,
    menu::kConnectToServer,
    menu::kEditProfile,
    menu::kOptions,
    menu::kSetStatusSubmenu,
    menu::kStatusAvailable,
    menu::kStatusBusy,
    menu::kStatusBeRightBack,
    menu::kStatusAway,
    menu::kStatusCustom,
    menu::kGoToChatLogs,
    menu::kMainChatToggle,
    menu::kListeningToggle,
    menu::kEndServer,
    menu::kEndConnection,
    menu::kExit,
    menu::kAbout,
};

bool IsStatusItem(int id) { return id >= menu::kStatusAvailable && id <= menu::kStatusCustom; }

}  // namespace

void MenuMirror::CopyAll(const client::MainMenuModel& model) {
    for (int id : kMirroredItems) {
        OnMenuItemChanged(id, model.Item(id));
    }
}

void MenuMirror::OnMenuItemChanged(int id, const client::MenuItemState& state) {
    HMENU vorlan = bar_ != nullptr ? GetSubMenu(bar_, 0) : nullptr;
    if (vorlan == nullptr) {
        return;
    }
    if (id == menu::kSetStatusSubmenu) {
        EnableMenuItem(vorlan, SET_STATUS_MENU_POSITION, MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
        return;
    }
    // "About Vorlan" lives in "Help"; the menu bar finds it by command.
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    item.fType = MFT_STRING | (IsStatusItem(id) ? MFT_RADIOCHECK : 0);
    item.fState = (state.enabled ? MFS_ENABLED : MFS_GRAYED) | (state.checked ? MFS_CHECKED : MFS_UNCHECKED);
    std::string text = state.text;
    item.dwTypeData = text.data();
    SetMenuItemInfoA(bar_, static_cast<UINT>(id), FALSE, &item);
}

}  // namespace vorlan::app
