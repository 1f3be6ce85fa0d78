#include "app/ui/TrayMenuWindow.h"

#include "app/ui/MainDialogIds.h"

namespace vorlan::app {

bool TrayMenuWindow::Create(HINSTANCE instance) { return CreateModeless(instance, IDD_TRAY_MENU_WINDOW, nullptr); }

UINT TrayMenuWindow::Track(HMENU menu) {
    if (handle() == nullptr) {
        return 0;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(handle());
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, handle(), nullptr));
    // Without this the menu would not close at the next click elsewhere.
    PostMessageA(handle(), WM_NULL, 0, 0);
    return command;
}

INT_PTR TrayMenuWindow::HandleMessage(UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

}  // namespace vorlan::app
