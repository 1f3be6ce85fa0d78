#include "transfer/ui/ReceiveFileDialog.h"

#include "transfer/ui/DialogRows.h"
#include "transfer/ui/TransferDialogIds.h"
#include "transfer/ui/WindowIcons.h"

namespace vorlan::transfer {
namespace {

constexpr char kCaptionStart[] = "Save file - ";

}  // namespace

ReceiveFileDialog::ReceiveFileDialog(const TransferWindowContext& context, ReceiveFileDialogControl& control)
    : context_(context), control_(control), menuOwner_(*context.options) {}

bool ReceiveFileDialog::Create() { return CreateModeless(context_.instance, IDD_RECEIVE_FILE, nullptr); }

INT_PTR ReceiveFileDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: OnInit(); return TRUE;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CLOSE: control_.Cancel(); return TRUE;
        default: return FALSE;
    }
}

void ReceiveFileDialog::OnInit() {
    menuOwner_.SetWindow(handle());
    CopyWindowIcons(context_.mainWindow, handle());
    const conversation::ChatTextColours colours = conversation::ChatTextColoursFrom(*context_.colors);
    fromUser_.Attach(GetDlgItem(handle(), IDC_RECEIVE_FROM_USER), menuOwner_, colours);
    mode_.Attach(GetDlgItem(handle(), IDC_RECEIVE_MODE), menuOwner_, colours);
    fileSize_.Attach(GetDlgItem(handle(), IDC_RECEIVE_FILE_SIZE), menuOwner_, colours);
    portRange_.Attach(GetDlgItem(handle(), IDC_RECEIVE_PORT_RANGE), menuOwner_, colours);
    saveTo_.Attach(GetDlgItem(handle(), IDC_RECEIVE_SAVE_TO), menuOwner_, colours);
}

void ReceiveFileDialog::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return;
    switch (id) {
        case IDC_RECEIVE_BROWSE: OpenBrowse(); break;
        case IDC_RECEIVE_ACCEPT:
        case IDOK: control_.Accept(); break;
        case IDC_RECEIVE_CANCEL:
        case IDCANCEL: control_.Cancel(); break;
        default: break;
    }
}

void ReceiveFileDialog::SetCaption(const std::string& caption) {
    SetWindowTextA(handle(), caption.c_str());
    if (caption.rfind(kCaptionStart, 0) == 0) offeredName_ = caption.substr(sizeof(kCaptionStart) - 1);
}

void ReceiveFileDialog::SetPortRange(const std::string& text, bool visible) {
    portRange_.SetText(text);
    ShowDialogRow(handle(), {IDC_RECEIVE_PORT_LABEL, IDC_RECEIVE_PORT_RANGE}, visible, portRowShown_);
}

void ReceiveFileDialog::ShowMinimisedAndFlash() {
    ShowWindow(handle(), SW_SHOWMINNOACTIVE);
    FlashWindow(handle(), FALSE);
}

void ReceiveFileDialog::OpenBrowse() {
    if (!browse_) {
        browse_ =
            std::make_unique<BrowseDialog>(context_.instance, *context_.options, *context_.colors,
                                           static_cast<BrowseOwner&>(*this), BrowseOwnerKind::ReceiveFile, handle());
    }
    browse_->Open(startFolder_, offeredName_);
}

void ReceiveFileDialog::TakeBrowseChoice(const BrowseChoice& choice) {
    startFolder_ = choice.startFolder;
    saveTo_.SetText(choice.target);
}

// ---- "File already exists." ---------------------------------------------------------

FileExistsDialog::FileExistsDialog(const TransferWindowContext& context, FileExistsControl& control)
    : context_(context), control_(control) {}

bool FileExistsDialog::Create() { return CreateModeless(context_.instance, IDD_FILE_EXISTS, nullptr); }

void FileExistsDialog::ShowInFront() {
    if (IsIconic(handle())) ShowWindow(handle(), SW_RESTORE);
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
}

INT_PTR FileExistsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: CopyWindowIcons(context_.mainWindow, handle()); return TRUE;
        case WM_CLOSE: control_.Cancel(); return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return TRUE;
            switch (LOWORD(wParam)) {
                case IDC_EXISTS_OVERWRITE: control_.Overwrite(); break;
                case IDC_EXISTS_RESUME: control_.Resume(); break;
                case IDC_EXISTS_CANCEL:
                case IDCANCEL: control_.Cancel(); break;
                default: break;
            }
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace vorlan::transfer
