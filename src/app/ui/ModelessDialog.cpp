#include "app/ui/ModelessDialog.h"

namespace vorlan::ui {

ModelessDialog::ModelessDialog(HINSTANCE instance, int templateId)
    : instance_(instance), templateId_(templateId) {}

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
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    return true;
}

void ModelessDialog::Close() {
    if (IsOpen()) {
        End(0);
    }
}

INT_PTR ModelessDialog::DefaultHandling(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        Close();
        return TRUE;
    }
    return FALSE;
}

}  // namespace vorlan::ui
