#include "client/MainMenuModel.h"

namespace vorlan::client {

namespace {

const MenuItemState kUnknownItem{};

}  // namespace

MainMenuModel::MainMenuModel() {
    using namespace menu;
    items_ = {
        {kStartServer, {"Start server", true, false}},
        {kConnectToLocalServer, {"Connect to local server", false, false}},
        {kConnectToServer, {"Connect to server", true, false}},
        {kEditProfile, {"Edit profile", true, false}},
        {kOptions, {"Options", true, false}},
        {kSetStatusSubmenu, {"Set status", false, false}},
        {kStatusAvailable, {"Available", false, true}},
        {kStatusBusy, {"Busy", false, false}},
        {kStatusBeRightBack, {"Be right back", false, false}},
        {kStatusAway, {"Away", false, false}},
        {kStatusCustom, {"Custom", false, false}},
        {kGoToChatLogs, {"Go to chat logs", true, false}},
        {kMainChatToggle, {kCloseMainChatText, false, false}},
        {kListeningToggle, {kStopListeningText, false, false}},
        {kEndServer, {"End server", false, false}},
        {kEndConnection, {"End connection", false, false}},
        {kExit, {"Exit", true, false}},
        {kAbout, {"About Vorlan", true, false}},
    };
}

const MenuItemState& MainMenuModel::Item(int id) const {
    auto found = items_.find(id);
    return found == items_.end() ? kUnknownItem : found->second;
}

void MainMenuModel::Change(int id, const MenuItemState& state) {
    auto found = items_.find(id);
    if (found == items_.end() || found->second == state) return;
    found->second = state;
    if (view_) view_->OnMenuItemChanged(id, state);
}

void MainMenuModel::Enable(int id, bool enabled) {
    MenuItemState state = Item(id);
    state.enabled = enabled;
    Change(id, state);
}

void MainMenuModel::SetText(int id, const std::string& text) {
    MenuItemState state = Item(id);
    state.text = text;
    Change(id, state);
}

void MainMenuModel::Show(const ClientState& state) {
    using namespace menu;
    const bool idle = !state.hasConnectionOrAttempt();
    Enable(kStartServer, !state.ownServerRunning);
    Enable(kConnectToLocalServer, idle && state.ownServerRunning);
    Enable(kConnectToServer, idle);
    Enable(kEndConnection, !idle);
    Enable(kSetStatusSubmenu, state.connected());
    for (int item = kStatusAvailable; item <= kStatusCustom; ++item) {
        MenuItemState status = Item(item);
        status.enabled = state.connected();
        status.checked = item == state.checkedStatus;
        Change(item, status);
    }
    SetText(kMainChatToggle, state.mainChatOpen ? kCloseMainChatText : kOpenMainChatText);
    Enable(kMainChatToggle, state.connected());
    SetText(kListeningToggle, !state.ownServerRunning || state.listening ? kStopListeningText : kStartListeningText);
    Enable(kListeningToggle, state.ownServerRunning);
    Enable(kEndServer, state.ownServerRunning);
}

}  // namespace vorlan::client
