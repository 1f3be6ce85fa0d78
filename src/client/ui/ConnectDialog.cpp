#include "client/ui/ConnectDialog.h"

#include "app/ui/MainDialogIds.h"

namespace vorlan::client {

ConnectDialog::ConnectDialog(HINSTANCE instance, ClientSession& session, conversation::ChatTextOwner& owner,
                             const conversation::ChatTextColours& colours)
    : ModelessDialog(instance, IDD_CONNECT_DIALOG), session_(session), owner_(owner), colours_(colours) {}

INT_PTR ConnectDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return FALSE;  // the focus was set here
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CONNECT:
        case IDOK:
            OnConnect();
            return TRUE;
        case IDC_CONNECT_MAIN_SERVER:
            OnMainServer(1);
            return TRUE;
        case IDC_CONNECT_SECOND_SERVER:
            OnMainServer(2);
            return TRUE;
        case IDC_CONNECT_CANCEL:
            Close();
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void ConnectDialog::OnInitDialog() {
    HWND host = GetDlgItem(handle(), IDC_CONNECT_HOST);
    host_.Attach(host, owner_, colours_);
    SetFocus(host);
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
