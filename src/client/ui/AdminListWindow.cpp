#include "client/ui/AdminListWindow.h"

#include <algorithm>
#include <chrono>

#include "client/ClientSession.h"
#include "client/ui/AdminListIds.h"

namespace vorlan::client {
namespace {

constexpr UINT_PTR kFillTimer = 1;
constexpr UINT kFillIntervalMs = 10;
// How long one batch may hold the thread: short enough that typing and the
// chat go on between batches, long enough that a full list is in within
// a few seconds.
constexpr auto kBatchBudget = std::chrono::milliseconds(30);

WindowSizeKind SizeKind(WPARAM kind) {
    if (kind == SIZE_MAXIMIZED) return WindowSizeKind::Maximized;
    if (kind == SIZE_MINIMIZED) return WindowSizeKind::Minimized;
    return WindowSizeKind::Restored;
}

}  // namespace

AdminListWindow::AdminListWindow(HINSTANCE instance, ClientSession& session, AdminWindow which, int templateId,
                                 int menuId)
    : ModelessDialog(instance, templateId),
      session_(session),
      which_(which),
      templateId_(templateId),
      menuId_(menuId) {}

AdminListWindow::~AdminListWindow() {
    if (menuResource_ != nullptr) DestroyMenu(menuResource_);
}

void AdminListWindow::ShowList() {
    const bool maximized = StoredSizeOf(session_.options(), which_).maximized;
    if (!IsOpen() && !CreateModeless(instance(), templateId_, nullptr)) return;
    ShowWindow(handle(), maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow(handle());
}

INT_PTR AdminListWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: OnInit(); return TRUE;
        case WM_SIZE: OnSize(wParam, LOWORD(lParam), HIWORD(lParam)); return TRUE;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kListWindowMinWidth, kListWindowMinHeight};
            return TRUE;
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            // The keyboard's menu key (a position of -1): the menu opens at the selected row.
            if (reinterpret_cast<HWND>(wParam) == tree_.handle() && lParam == -1) {
                RECT area{};
                GetWindowRect(tree_.handle(), &area);
                ShowContextMenu(tree_.SelectedId(), {area.left + 20, area.top + 20});
                return TRUE;
            }
            return FALSE;
        case WM_TIMER:
            if (wParam != kFillTimer) return FALSE;
            FillBatch();
            return TRUE;
        case WM_COMMAND:
            // A command sent to the window directly acts on the selected row.
            if (OnListCommand(LOWORD(wParam), tree_.SelectedId())) return TRUE;
            break;
        case WM_NCDESTROY: OnClosed(); return FALSE;
        default: break;
    }
    return DefaultHandling(message, wParam, lParam);
}

// ---- opening and closing ----------------------------------------------------------

void AdminListWindow::OnInit() {
    if (smallIcon_ != nullptr) SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    if (largeIcon_ != nullptr) SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    tree_.Attach(GetDlgItem(handle(), IDC_ADMIN_LIST_TREE), session_.Colour(storage::ColourIndex::TreeBackground),
                 session_.Colour(storage::ColourIndex::TreeText));
    ApplyStoredSize();
    initialised_ = true;
    if (menuResource_ == nullptr) menuResource_ = LoadMenuA(instance(), MAKEINTRESOURCEA(menuId_));
    SendOpeningRequest();
}

// The stored size at the window's place; a window that opens maximized is
// centred first, so that it restores to the middle of the screen.
void AdminListWindow::ApplyStoredSize() {
    const StoredWindowSize stored = StoredSizeOf(session_.options(), which_);
    RECT frame{};
    GetWindowRect(handle(), &frame);
    int left = frame.left;
    int top = frame.top;
    const int width = stored.width > 0 ? stored.width : frame.right - frame.left;
    const int height = stored.height > 0 ? stored.height : frame.bottom - frame.top;
    if (stored.maximized) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        left = work.left + (work.right - work.left - width) / 2;
        top = work.top + (work.bottom - work.top - height) / 2;
    }
    SetWindowPos(handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(handle(), &client);
    const ControlRect rect = ListTreeRect(client.right, client.bottom);
    MoveWindow(tree_.handle(), rect.x, rect.y, rect.width, rect.height, TRUE);
}

void AdminListWindow::OnClosed() {
    initialised_ = false;
    StopFilling();
    pending_.clear();
    next_ = 0;
    expandable_.clear();
    tree_.Attach(nullptr, 0, 0);
    if (menuResource_ != nullptr) {
        DestroyMenu(menuResource_);
        menuResource_ = nullptr;
    }
}

// ---- size ---------------------------------------------------------------------------

void AdminListWindow::OnSize(WPARAM kind, int clientWidth, int clientHeight) {
    if (kind == SIZE_MAXSHOW || kind == SIZE_MAXHIDE || kind == SIZE_MINIMIZED) return;
    // Size events before the window is set up are its own creation's.
    if (initialised_) {
        RECT outer{};
        GetWindowRect(handle(), &outer);
        RememberListWindowSize(session_.options(), which_, SizeKind(kind), outer.right - outer.left,
                               outer.bottom - outer.top);
    }
    const ControlRect rect = ListTreeRect(clientWidth, clientHeight);
    MoveWindow(tree_.handle(), rect.x, rect.y, rect.width, rect.height, TRUE);
}

// ---- context menu ----------------------------------------------------------------------

INT_PTR AdminListWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != tree_.handle()) return FALSE;
    if (header.code == NM_RCLICK) {
        // A click on a row selects it; a click beside the rows keeps the selection.
        std::optional<int> rowId = tree_.IdAtCursor(true);
        if (!rowId) rowId = tree_.SelectedId();
        const DWORD position = GetMessagePos();
        ShowContextMenu(rowId, {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))});
        SetWindowLongPtrA(handle(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    if (std::optional<LRESULT> drawn = tree_.HandleNotify(header)) {
        SetWindowLongPtrA(handle(), DWLP_MSGRESULT, *drawn);
        return TRUE;
    }
    return FALSE;
}

// The command is taken back from the menu rather than posted: by the time it
// would arrive a refresh may have rebuilt the tree, and the row the admin
// chose is the one that was selected when the menu opened.
void AdminListWindow::ShowContextMenu(std::optional<int> rowId, POINT at) {
    HMENU menu = menuResource_ != nullptr ? GetSubMenu(menuResource_, 0) : nullptr;
    if (menu == nullptr) return;
    AddRowEntries(menu, rowId);
    const auto command = static_cast<int>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, handle(), nullptr));
    RemoveRowEntries(menu);
    if (command != 0 && IsOpen()) OnListCommand(command, rowId);
}

// ---- rows -------------------------------------------------------------------------------

void AdminListWindow::QueueRow(Row row) {
    if (!IsOpen()) return;
    if (row.expand) expandable_.push_back(row.id);
    pending_.push_back(std::move(row));
    if (!filling_) {
        filling_ = SetTimer(handle(), kFillTimer, kFillIntervalMs, nullptr) != 0;
    }
}

void AdminListWindow::ClearTree() {
    StopFilling();
    pending_.clear();
    next_ = 0;
    expandable_.clear();
    if (tree_.handle() == nullptr) return;
    SendMessageA(tree_.handle(), WM_SETREDRAW, FALSE, 0);
    tree_.Clear();
    SendMessageA(tree_.handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_.handle(), nullptr, TRUE);
}

void AdminListWindow::FillBatch() {
    if (tree_.handle() == nullptr || next_ >= pending_.size()) {
        StopFilling();
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    SendMessageA(tree_.handle(), WM_SETREDRAW, FALSE, 0);
    do {
        const std::size_t end = std::min(pending_.size(), next_ + 64);
        for (; next_ < end; ++next_) {
            const Row& row = pending_[next_];
            tree_.Insert(row.id, row.parent, row.label, row.colour, row.before);
        }
    } while (next_ < pending_.size() && std::chrono::steady_clock::now() - start < kBatchBudget);
    // A group row opens once it has children to show.
    for (int id : expandable_) tree_.Expand(id);
    SendMessageA(tree_.handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_.handle(), nullptr, TRUE);
    if (next_ >= pending_.size()) {
        StopFilling();
        pending_.clear();
        next_ = 0;
    }
}

void AdminListWindow::StopFilling() {
    if (filling_ && handle() != nullptr) KillTimer(handle(), kFillTimer);
    filling_ = false;
}

}  // namespace vorlan::client
