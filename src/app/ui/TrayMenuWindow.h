#pragma once

#include <windows.h>

#include "ui/Dialog.h"

namespace vorlan::app {

// The small hidden window (dialog 132) that is brought to the foreground while
// the tray menu is shown, so that the menu closes when the user clicks
// elsewhere. It owns the menu while it is open and hands back the chosen command.
class TrayMenuWindow : public ui::Dialog {
public:
    bool Create(HINSTANCE instance);
    // Shows `menu` at the cursor; returns the chosen command, 0 for none.
    UINT Track(HMENU menu);
    void Destroy() { End(0); }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace vorlan::app
