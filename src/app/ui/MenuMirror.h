#pragma once

#include <windows.h>

#include "client/ClientViews.h"
#include "client/MainMenuModel.h"

namespace vorlan::app {

// Shows the core's main menu model in the window's menu bar: every change of
// an item's text, grey state or radio mark is copied to the "Vorlan" menu.
class MenuMirror : public client::MainMenuView {
public:
    // The main window's menu bar (resource 130).
    void Attach(HMENU menuBar) { bar_ = menuBar; }
    // Copies every item of the model, for the start.
    void CopyAll(const client::MainMenuModel& model);

    void OnMenuItemChanged(int id, const client::MenuItemState& state) override;

private:
    HMENU bar_ = nullptr;
};

}  // namespace vorlan::app
