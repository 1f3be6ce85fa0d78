#include "ui/ModelessDialog.h"

namespace vorlan::ui {

ModelessDialog::ModelessDialog(HINSTANCE instance, int templateId) : instance_(instance), templateId_(templateId) {}

bool ModelessDialog::Show() {
    if (IsOpen()) {
        if (IsIconic(handle())) {
            ShowWindow(handle(), SW_RESTORE);
        }
        ShowWindow(handle(), SW_SHOW);
        SetForegroundWindow(handle());
        return true;
    }
    if (!CreateModeless(instance_, templateId_, nullptr)) {
        return false;
    }
    ApplyIcons();
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    return true;
}

void ModelessDialog::ApplyIcons() const {
    if (smallIcon_ != nullptr) {
        SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    }
    if (largeIcon_ != nullptr) {
        SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    }
}

void ModelessDialog::Close() {
    if (IsOpen()) {
        End(0);
    }
}

INT_PTR ModelessDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
            break;
        default: break;
    }
    return DefaultHandling(message, wParam, lParam);
}

INT_PTR ModelessDialog::DefaultHandling(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        Close();
        return TRUE;
    }
    return FALSE;
}

}  // namespace vorlan::ui
