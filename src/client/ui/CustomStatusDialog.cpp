#include "client/ui/CustomStatusDialog.h"

#include "client/ClientSession.h"
#include "client/ProfileEdit.h"
#include "client/ui/ClientDialogIds.h"

namespace vorlan::client {

CustomStatusDialog::CustomStatusDialog(HINSTANCE instance, ClientSession& session)
    : ModelessDialog(instance, IDD_CUSTOM_STATUS), session_(session), menuOwner_(session.options()) {}

bool CustomStatusDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const storage::Colors& colours = session_.colors();
    status_.Attach(GetDlgItem(handle(), IDC_CUSTOM_STATUS_TEXT), menuOwner_,
                   conversation::ChatTextColoursFrom(colours));
    status_.SetText(session_.customStatusText());
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
    status_.ApplyInputLimit(LimitDialogField(status_.Text(), kCustomStatusFieldLimit));
}

void CustomStatusDialog::Update() {
    if (session_.SetCustomStatus(status_.Text())) Close();
}

}  // namespace vorlan::client
