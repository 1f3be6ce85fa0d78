#pragma once

#include <map>
#include <string>

#include "client/ClientViews.h"
#include "client/MenuIds.h"

namespace vorlan::client {

inline constexpr const char* kCloseMainChatText = "Close main chat";
inline constexpr const char* kOpenMainChatText = "Open main chat";
inline constexpr const char* kStopListeningText = "Stop listening";
inline constexpr const char* kStartListeningText = "Start listening";

// The main menu as data: the rules change it here and a window mirrors every
// change through MainMenuView. Starts in the state the menu resource has.
class MainMenuModel {
public:
    MainMenuModel();

    void SetView(MainMenuView* view) { view_ = view; }

    const MenuItemState& Item(int id) const;
    bool IsEnabled(int id) const { return Item(id).enabled; }
    bool IsChecked(int id) const { return Item(id).checked; }
    const std::string& Text(int id) const { return Item(id).text; }

    void Enable(int id, bool enabled);
    void SetText(int id, const std::string& text);
    // Checks `id` and unchecks the other status items.
    void CheckStatus(int id);

    // The own server runs exactly while "Start server" is greyed.
    bool IsOwnServerRunning() const { return !IsEnabled(menu::kStartServer); }
    // A connection or an attempt exists exactly while "End connection" is enabled.
    bool HasConnectionOrAttempt() const { return IsEnabled(menu::kEndConnection); }
    bool IsMainChatOpen() const { return Text(menu::kMainChatToggle) == kCloseMainChatText; }

    // Rules for the own server's start and stop (the caller updates the title).
    void ServerStarted();
    void ServerStopped();
    void SetListening(bool listening);

private:
    void Change(int id, const MenuItemState& state);

    std::map<int, MenuItemState> items_;
    MainMenuView* view_ = nullptr;
};

}  // namespace vorlan::client
