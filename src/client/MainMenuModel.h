#pragma once

#include <map>
#include <string>

#include "client/ClientState.h"
#include "client/ClientViews.h"
#include "client/MenuIds.h"

namespace vorlan::client {

inline constexpr const char* kCloseMainChatText = "Close main chat";
inline constexpr const char* kOpenMainChatText = "Open main chat";
inline constexpr const char* kStopListeningText = "Stop listening";
inline constexpr const char* kStartListeningText = "Start listening";

// The main menu as data, derived from the client's state: Show computes every
// item from the state, and a window mirrors each item that changed through
// MainMenuView. Starts in the state the menu resource has.
class MainMenuModel {
public:
    MainMenuModel();

    void SetView(MainMenuView* view) { view_ = view; }

    const MenuItemState& Item(int id) const;
    bool IsEnabled(int id) const { return Item(id).enabled; }
    bool IsChecked(int id) const { return Item(id).checked; }
    const std::string& Text(int id) const { return Item(id).text; }

    // Brings every item in line with `state`.
    void Show(const ClientState& state);

private:
    void Change(int id, const MenuItemState& state);
    void Enable(int id, bool enabled);
    void SetText(int id, const std::string& text);

    std::map<int, MenuItemState> items_;
    MainMenuView* view_ = nullptr;
};

}  // namespace vorlan::client
