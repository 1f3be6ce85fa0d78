#include "client/ui/PrivateChatDialog.h"

#include <shellapi.h>

#include "client/ClientSession.h"
#include "client/PrivateWindowGeometry.h"
#include "conversation/ChatInput.h"
#include "conversation/ui/ConversationIds.h"
#include "client/ui/PrivateChatIds.h"
#include "platform/Files.h"

namespace vorlan::client {
namespace {

WindowSizeKind SizeKind(WPARAM kind) {
    if (kind == SIZE_MAXIMIZED) return WindowSizeKind::Maximized;
    if (kind == SIZE_MINIMIZED) return WindowSizeKind::Minimized;
    return WindowSizeKind::Restored;
}

void Place(HWND control, const ControlRect& rect) {
    MoveWindow(control, rect.x, rect.y, rect.width, rect.height, TRUE);
}

}  // namespace

PrivateChatDialog::PrivateChatDialog(HINSTANCE instance, ClientSession& session, HWND iconSource)
    : instance_(instance), session_(session), iconSource_(iconSource), menuOwner_(session.options()) {}

bool PrivateChatDialog::Create() { return CreateModeless(instance_, IDD_PRIVATE_CHAT, nullptr); }

void PrivateChatDialog::SetCaption(const std::string& caption) { SetWindowTextA(handle(), caption.c_str()); }

void PrivateChatDialog::Flash() { FlashWindow(handle(), TRUE); }

// A window that a line opened is not in front of anybody yet: restored from
// the task bar it takes the state all private windows share, maximized when
// they are kept maximized (and so leaves that flag set), as a window opened by
// the user would.
void PrivateChatDialog::ShowMinimisedWithoutActivating() {
    ShowWindow(handle(), SW_SHOWMINNOACTIVE);
    if (!session_.options().privateMaximized) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(handle(), &placement)) return;
    placement.flags |= WPF_RESTORETOMAXIMIZED;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(handle(), &placement);
}

void PrivateChatDialog::ShowInFront(bool maximized) {
    ShowWindow(handle(), maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow(handle());
}

// A minimised window can still be the active one (when nothing else was left to
// activate), but nobody reads what arrives in it.
bool PrivateChatDialog::IsForeground() const {
    return handle() != nullptr && GetForegroundWindow() == handle() && !IsIconic(handle());
}

INT_PTR PrivateChatDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: OnInitDialog(); return FALSE;  // the focus was put into the input line
        case WM_SIZE: OnSize(wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {kPrivateMinTrackWidth, kPrivateMinTrackHeight};
            return TRUE;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && initialised_) session_.OnPrivateWindowActivated(this);
            return FALSE;  // the dialog still restores its focus
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CLOSE: CloseByUser(); return TRUE;
        case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return TRUE;
        case WM_NCDESTROY: initialised_ = false; return FALSE;
        default: return FALSE;
    }
}

void PrivateChatDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const conversation::ChatTextColours colours = conversation::ChatTextColoursFrom(session_.colors());
    view_.Attach(GetDlgItem(handle(), IDC_PRIVATE_VIEW), menuOwner_, colours);
    input_.Attach(GetDlgItem(handle(), IDC_PRIVATE_INPUT), menuOwner_, colours);
    input_.ApplyPrivateInputLimit();
    TakeIcons();
    ApplyRememberedSize();
    DragAcceptFiles(handle(), TRUE);
    initialised_ = true;
    SetFocus(input_.handle());
}

void PrivateChatDialog::TakeIcons() {
    if (iconSource_ == nullptr) return;
    auto icon = [&](WPARAM kind, int classIndex) {
        auto shown = reinterpret_cast<HICON>(SendMessageA(iconSource_, WM_GETICON, kind, 0));
        return shown != nullptr ? shown : reinterpret_cast<HICON>(GetClassLongPtrA(iconSource_, classIndex));
    };
    if (HICON small = icon(ICON_SMALL, GCLP_HICONSM))
        SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (HICON big = icon(ICON_BIG, GCLP_HICON))
        SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
}

// The window keeps its position and takes the size all private windows share;
// being maximized is left to the first showing.
void PrivateChatDialog::ApplyRememberedSize() {
    const storage::Options& options = session_.options();
    if (options.privateWidth <= 0 || options.privateHeight <= 0) return;
    SetWindowPos(handle(), nullptr, 0, 0, options.privateWidth, options.privateHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PrivateChatDialog::OnSize(WPARAM kind, int clientWidth, int clientHeight) {
    if (kind == SIZE_MAXSHOW || kind == SIZE_MAXHIDE) return;
    if (kind == SIZE_MINIMIZED) return;
    if (initialised_) {
        RECT outer{};
        GetWindowRect(handle(), &outer);
        RememberPrivateWindowSize(session_.options(), SizeKind(kind), outer.right - outer.left,
                                  outer.bottom - outer.top);
    }
    PlaceControls(clientWidth, clientHeight);
    // Restoring a minimised window that stayed active brings no activation, yet
    // its lines are now in front of the reader.
    if (initialised_ && IsForeground()) session_.OnPrivateWindowActivated(this);
}

void PrivateChatDialog::PlaceControls(int clientWidth, int clientHeight) {
    const PrivateChatLayout layout = PrivateChatLayoutFor(clientWidth, clientHeight);
    const bool wasAtEnd = IsViewAtEnd();
    Place(view_.handle(), layout.view);
    Place(input_.handle(), layout.input);
    if (wasAtEnd || IsViewAtEnd()) SendMessageA(view_.handle(), WM_VSCROLL, SB_BOTTOM, 0);
}

bool PrivateChatDialog::IsViewAtEnd() const {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    if (view_.handle() == nullptr || !GetScrollInfo(view_.handle(), SB_VERT, &scroll)) return true;
    return scroll.nPage == 0 || scroll.nPos + static_cast<int>(scroll.nPage) >= scroll.nMax;
}

void PrivateChatDialog::OnCommand(int id, int notification) {
    if (menuOwner_.HandleCommand(id)) return;
    switch (id) {
        case IDC_PRIVATE_INPUT:
            if (notification == EN_CHANGE) input_.ApplyPrivateInputLimit();
            break;
        case IDC_PRIVATE_SEND: Send(); break;
        case ID_CHAT_OPEN_CHAT_LOG: OpenChatLog(); break;
        case IDCANCEL: CloseByUser(); break;  // the Escape key
        default: break;
    }
}

void PrivateChatDialog::Send() {
    const std::string typed = input_.TakeText();
    if (!typed.empty()) session_.SendPrivateInput(this, typed);
    input_.ApplyPrivateInputLimit();
    SetFocus(input_.handle());
}

void PrivateChatDialog::OpenChatLog() {
    PrivateChat* chat = session_.privateChats().FindByWindow(this);
    if (chat == nullptr) return;
    const std::string& path = chat->Log().Path();
    if (path.empty() || !platform::FileExists(path)) return;
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void PrivateChatDialog::CloseByUser() { session_.ClosePrivateChat(this); }

// Files dropped on the input line go to the partner, each through the main
// window's "Open file" dialog; drops elsewhere and on an offline partner do nothing.
void PrivateChatDialog::OnDropFiles(HDROP drop) {
    POINT at{};
    DragQueryPoint(drop, &at);
    RECT input{};
    GetWindowRect(input_.handle(), &input);
    MapWindowPoints(HWND_DESKTOP, handle(), reinterpret_cast<POINT*>(&input), 2);
    const PrivateChat* chat = session_.privateChats().FindByWindow(this);
    if (PtInRect(&input, at) && chat != nullptr && chat->peerId() > 0 && iconSource_ != nullptr) {
        const int peerId = chat->peerId();
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
            path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
            if (!path.empty()) {
                SendMessageA(iconSource_, WM_PRIVATE_SEND_FILE, static_cast<WPARAM>(peerId),
                             reinterpret_cast<LPARAM>(path.c_str()));
            }
        }
    }
    DragFinish(drop);
}

}  // namespace vorlan::client
