#include "client/ui/ConnectDialog.h"

#include "client/ui/ClientDialogIds.h"

namespace vorlan::client {

ConnectDialog::ConnectDialog(HINSTANCE instance, ClientSession& session, conversation::ChatTextOwner& owner,
                             const conversation::ChatTextColours& colours)
    : ModelessDialog(instance, IDD_CONNECT_DIALOG), session_(session), owner_(owner), colours_(colours) {}

bool ConnectDialog::OnCommand(int id, int /*notification*/) {
    switch (id) {
        case IDC_CONNECT:
        case IDOK: OnConnect(); return true;
        case IDC_CONNECT_MAIN_SERVER: OnMainServer(1); return true;
        case IDC_CONNECT_SECOND_SERVER: OnMainServer(2); return true;
        case IDC_CONNECT_CANCEL: Close(); return true;
        default: return false;
    }
}

bool ConnectDialog::OnInitDialog() {
    HWND host = GetDlgItem(handle(), IDC_CONNECT_HOST);
    host_.Attach(host, owner_, colours_);
    SetFocus(host);
    return false;
}

void ConnectDialog::OnConnect() {
    const std::string typed = host_.Text();
    // The session decides: an empty host connects nowhere.
    if (session_.ConnectFromDialog(typed)) {
        Close();
    } else {
        SetFocus(host_.handle());
    }
}

void ConnectDialog::OnMainServer(int which) {
    Close();
    session_.ConnectToMainServer(which);
}

}  // namespace vorlan::client
