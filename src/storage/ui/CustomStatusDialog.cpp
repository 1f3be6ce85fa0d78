#include "storage/ui/CustomStatusDialog.h"

#include "app/MainCore.h"
#include "client/ProfileEdit.h"
#include "storage/ui/StorageDialogIds.h"

namespace vorlan::storage {

CustomStatusDialog::CustomStatusDialog(HINSTANCE instance, app::MainCore& core)
    : ModelessDialog(instance, IDD_CUSTOM_STATUS), core_(core), menuOwner_(core.Options()) {}

bool CustomStatusDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const Colors& colours = core_.Colors();
    status_.Attach(GetDlgItem(handle(), IDC_CUSTOM_STATUS_TEXT), menuOwner_, {colours[1], colours[2]});
    status_.SetText(core_.Session().customStatusText());
    LimitField();
    return true;
}

bool CustomStatusDialog::OnCommand(int id, int notification) {
    if (id == IDCANCEL) return false;
    if (notification == EN_CHANGE) {
        if (id == IDC_CUSTOM_STATUS_TEXT) LimitField();
        return true;
    }
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return true;
    if (id == IDC_CUSTOM_STATUS_UPDATE) {
        Update();
    } else if (id == IDC_CUSTOM_STATUS_CANCEL) {
        Close();
    }
    return true;
}

void CustomStatusDialog::LimitField() {
    status_.ApplyInputLimit(client::LimitDialogField(status_.Text(), client::kCustomStatusFieldLimit));
}

void CustomStatusDialog::Update() {
    if (core_.Session().SetCustomStatus(status_.Text())) Close();
}

}  // namespace vorlan::storage
