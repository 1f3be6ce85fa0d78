#pragma once

#include <windows.h>

#include "client/ClientViews.h"
#include "client/MainMenuModel.h"

namespace vorlan::app {

// Shows the core's main menu model in the window's menu bar: every change of
// an item's text, grey state or radio mark is copied to the "Vorlan" menu.
class MenuMirror : public client::MainMenuView {
public:
    // `window` owns the menu bar (resource 130).
    void Attach(HWND window) { window_ = window; }
    // Copies every item of the model, for the start.
    void CopyAll(const client::MainMenuModel& model);

    void OnMenuItemChanged(int id, const client::MenuItemState& state) override;

private:
    HMENU VorlanMenu() const;

    HWND window_ = nullptr;
};

}  // namespace vorlan::app
