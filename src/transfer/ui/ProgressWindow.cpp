#include "transfer/ui/ProgressWindow.h"

#include <commctrl.h>

namespace vorlan::transfer {

ProgressWindow::ProgressWindow(const TransferWindowContext& context, TransferWindowControl& control, int templateId)
    : context_(context), control_(control), templateId_(templateId) {}

// The window goes first (the base), the icons it shows after it.
ProgressWindow::~ProgressWindow() {
    if (handle() != nullptr) DestroyWindow(handle());
    DestroyFileIcons(icons_);
}

bool ProgressWindow::Create() { return CreateModeless(context_.instance, templateId_, nullptr); }

INT_PTR ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: SendDlgItemMessageA(handle(), IDC_TRANSFER_PROGRESS, PBM_SETRANGE32, 0, 100); return TRUE;
        case WM_CLOSE: control_.CloseBox(); return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnButton(LOWORD(wParam));
            return TRUE;
        default: return FALSE;
    }
}

void ProgressWindow::OnButton(int id) {
    switch (id) {
        case IDC_TRANSFER_GO_TO_LOCATION: control_.GoToLocation(); break;
        case IDC_TRANSFER_MIDDLE: control_.MiddleButton(); break;
        case IDC_TRANSFER_THIRD:
        case IDOK: control_.ThirdButton(); break;
        case IDCANCEL: control_.CloseBox(); break;
        default: break;
    }
}

void ProgressWindow::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    SetWindowTextA(handle(), caption.c_str());
}

void ProgressWindow::SetIconsFor(const std::string& fileName) {
    FileIcons old = icons_;
    icons_ = ShellIconsFor(fileName);
    SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_.small));
    SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_.large));
    SendDlgItemMessageA(handle(), IDC_TRANSFER_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icons_.large), 0);
    DestroyFileIcons(old);
}

void ProgressWindow::SetProgress(int percent) {
    if (percent == progress_) return;
    progress_ = percent;
    SendDlgItemMessageA(handle(), IDC_TRANSFER_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    PaintNow();
}

// While a transfer runs, socket notifications keep the message queue full and
// WM_PAINT, which comes only when nothing else waits, would not come: what
// needs painting is painted at once, at most once per percent.
void ProgressWindow::PaintNow() { RedrawWindow(handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void ProgressWindow::SetField(int id, const std::string& text) {
    HWND control = GetDlgItem(handle(), id);
    if (control == nullptr) return;
    char shown[1024] = {};
    GetWindowTextA(control, shown, sizeof shown);
    if (text != shown) SetWindowTextA(control, text.c_str());
}

void ProgressWindow::Show() {
    ShowWindow(handle(), SW_SHOW);
    PaintNow();
}

}  // namespace vorlan::transfer
