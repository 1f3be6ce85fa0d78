#include "storage/ui/CustomStatusDialog.h"

#include "app/MainCore.h"
#include "client/ProfileEdit.h"
#include "storage/ui/StorageDialogIds.h"

namespace vorlan::storage {

CustomStatusDialog::CustomStatusDialog(HINSTANCE instance, app::MainCore& core)
    : ModelessDialog(instance, IDD_CUSTOM_STATUS), core_(core), menuOwner_(core.Options()) {}

INT_PTR CustomStatusDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) break;
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        default: break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void CustomStatusDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const Colors& colours = core_.Colors();
    status_.Attach(GetDlgItem(handle(), IDC_CUSTOM_STATUS_TEXT), menuOwner_, {colours[1], colours[2]});
    status_.SetText(core_.Session().customStatusText());
    LimitField();
}

void CustomStatusDialog::OnCommand(int id, int notification) {
    if (notification == EN_CHANGE) {
        if (id == IDC_CUSTOM_STATUS_TEXT) LimitField();
        return;
    }
    if (notification != BN_CLICKED) return;
    if (menuOwner_.HandleCommand(id)) return;
    if (id == IDC_CUSTOM_STATUS_UPDATE) {
        Update();
    } else if (id == IDC_CUSTOM_STATUS_CANCEL) {
        Close();
    }
}

void CustomStatusDialog::LimitField() {
    status_.ApplyInputLimit(client::LimitDialogField(status_.Text(), client::kCustomStatusFieldLimit));
}

void CustomStatusDialog::Update() {
    if (core_.Session().SetCustomStatus(status_.Text())) Close();
}

}  // namespace vorlan::storage
