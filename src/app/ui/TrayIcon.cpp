#include "app/ui/TrayIcon.h"

#include <shellapi.h>

#include <algorithm>

#include "app/ui/MainDialogIds.h"

namespace vorlan::app {

NOTIFYICONDATAA TrayIcon::Data(UINT flags) const {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = TRAY_ICON_ID;
    data.uFlags = flags;
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    data.hIcon = icon_;
    // The tip holds at most 127 characters; a longer title is cut.
    const std::size_t length = std::min(tip_.size(), sizeof data.szTip - 1);
    tip_.copy(data.szTip, length);
    data.szTip[length] = '\0';
    return data;
}

void TrayIcon::Add(HWND window, HICON icon, const std::string& tip) {
    window_ = window;
    icon_ = icon;
    tip_ = tip;
    AddAgain();
}

void TrayIcon::AddAgain() {
    if (window_ == nullptr) {
        return;
    }
    NOTIFYICONDATAA data = Data(NIF_MESSAGE | NIF_TIP | (icon_ != nullptr ? NIF_ICON : 0));
    Shell_NotifyIconA(NIM_ADD, &data);
}

void TrayIcon::Remove() {
    if (window_ == nullptr) {
        return;
    }
    NOTIFYICONDATAA data = Data(0);
    Shell_NotifyIconA(NIM_DELETE, &data);
    window_ = nullptr;
}

void TrayIcon::SetTrayTip(const std::string& text) {
    tip_ = text;
    if (window_ == nullptr) {
        return;
    }
    NOTIFYICONDATAA data = Data(NIF_TIP);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

}  // namespace vorlan::app
