#include "transfer/ui/SendFileDialog.h"

#include "transfer/ui/DialogRows.h"
#include "transfer/ui/TransferDialogIds.h"
#include "transfer/ui/WindowIcons.h"

namespace vorlan::transfer {

SendFileDialog::SendFileDialog(const TransferWindowContext& context, SendFileDialogControl& control)
    : context_(context), control_(control), menuOwner_(*context.options) {}

bool SendFileDialog::Create() { return CreateModeless(context_.instance, IDD_SEND_FILE, nullptr); }

INT_PTR SendFileDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: OnInit(); return TRUE;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CLOSE: control_.Cancel(); return TRUE;
        default: return FALSE;
    }
}

void SendFileDialog::OnInit() {
    menuOwner_.SetWindow(handle());
    CopyWindowIcons(context_.mainWindow, handle());
    const conversation::ChatTextColours colours = conversation::ChatTextColoursFrom(*context_.colors);
    toUser_.Attach(GetDlgItem(handle(), IDC_SEND_TO_USER), menuOwner_, colours);
    fileSize_.Attach(GetDlgItem(handle(), IDC_SEND_FILE_SIZE), menuOwner_, colours);
    bufferSize_.Attach(GetDlgItem(handle(), IDC_SEND_BUFFER_SIZE), menuOwner_, colours);
    portRange_.Attach(GetDlgItem(handle(), IDC_SEND_PORT_RANGE), menuOwner_, colours);
    address_.Attach(GetDlgItem(handle(), IDC_SEND_ADDRESS), menuOwner_, colours);
}

void SendFileDialog::OnCommand(int id, int notification) {
    if (notification == EN_CHANGE) {
        if (id == IDC_SEND_ADDRESS && !settingAddress_) control_.RefreshFile();
        return;
    }
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return;
    switch (id) {
        case IDC_SEND_MODE_CLIENT:
        case IDC_SEND_MODE_SERVER: ToggleMode(id); break;
        case IDC_SEND_BROWSE: OpenBrowse(); break;
        case IDC_SEND_SEND:
        case IDOK: control_.Send(); break;
        case IDC_SEND_REFRESH: control_.RefreshFile(); break;
        case IDC_SEND_CANCEL:
        case IDCANCEL: control_.Cancel(); break;
        default: break;
    }
}

void SendFileDialog::SetCaption(const std::string& caption) { SetWindowTextA(handle(), caption.c_str()); }

// The two modes exclude each other; a checked one unchecks on a click.
void SendFileDialog::ToggleMode(int id) {
    const bool checking = IsDlgButtonChecked(handle(), id) != BST_CHECKED;
    const bool client = id == IDC_SEND_MODE_CLIENT ? checking : IsClientChecked() && !checking;
    const bool server = id == IDC_SEND_MODE_SERVER ? checking : IsServerChecked() && !checking;
    SetSendMode(client, server);
}

void SendFileDialog::SetSendMode(bool client, bool server) {
    CheckDlgButton(handle(), IDC_SEND_MODE_CLIENT, client ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(handle(), IDC_SEND_MODE_SERVER, server ? BST_CHECKED : BST_UNCHECKED);
    ShowDialogRow(handle(), {IDC_SEND_PORT_LABEL, IDC_SEND_PORT_RANGE}, server, portRowShown_);
}

bool SendFileDialog::IsClientChecked() const {
    return IsDlgButtonChecked(handle(), IDC_SEND_MODE_CLIENT) == BST_CHECKED;
}
bool SendFileDialog::IsServerChecked() const {
    return IsDlgButtonChecked(handle(), IDC_SEND_MODE_SERVER) == BST_CHECKED;
}

// The core's own changes are not reported back to it as the user's.
void SendFileDialog::SetFileAddress(const std::string& path) {
    settingAddress_ = true;
    address_.SetText(path);
    settingAddress_ = false;
}

void SendFileDialog::Show() {
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
}

void SendFileDialog::OpenBrowse() {
    if (!browse_) {
        browse_ = std::make_unique<BrowseDialog>(context_.instance, *context_.options, *context_.colors,
                                                 static_cast<BrowseOwner&>(*this), BrowseOwnerKind::SendFile, handle());
    }
    browse_->Open(startFolder_);
}

void SendFileDialog::TakeBrowseChoice(const BrowseChoice& choice) {
    startFolder_ = choice.startFolder;
    SetFileAddress(choice.target);
    control_.RefreshFile();
}

}  // namespace vorlan::transfer
