#include "client/ui/AdminListWindow.h"

#include <algorithm>
#include <chrono>

#include "client/ClientSession.h"
#include "client/ui/AdminListIds.h"

namespace vorlan::client {
namespace {

constexpr UINT_PTR kFillTimer = 1;
constexpr UINT kFillIntervalMs = 10;
// How long one batch may hold the thread, the tree's own work when its
// redrawing resumes included: short enough that typing and the chat go on
// between batches, long enough that a full list is in within a few seconds.
// The tree measures the text of every new row when redrawing resumes, and
// that takes longer than putting the rows in: a batch is sized by what the
// last one cost as a whole, not by a clock inside it.
constexpr double kBatchBudgetMs = 120;
constexpr std::size_t kFirstBatch = 256;
constexpr std::size_t kSmallestBatch = 32;
constexpr std::size_t kLargestBatch = 8192;
// Trees up to this many rows are emptied at once; larger ones are swapped.
constexpr std::size_t kClearAtOnce = 2000;
constexpr auto kRetireSliceMs = std::chrono::milliseconds(40);

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
            OnTimer();
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
    StopTimer();
    retired_.clear();  // destroyed with the window
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
    StartTimer();
}

// Emptying a tree of tens of thousands of rows holds the thread for about as
// long as filling it (the control removes its rows one by one). A large tree
// is therefore swapped for a new, empty one at once, and the old one, hidden,
// is emptied a little at a time once the new rows are in.
void AdminListWindow::ClearTree() {
    pending_.clear();
    next_ = 0;
    expandable_.clear();
    batchSize_ = kFirstBatch;
    HWND old = tree_.handle();
    if (old == nullptr) return;
    if (SendMessageA(old, TVM_GETCOUNT, 0, 0) <= static_cast<LRESULT>(kClearAtOnce) || !ReplaceTree()) {
        SendMessageA(old, WM_SETREDRAW, FALSE, 0);
        tree_.Clear();
        SendMessageA(old, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(old, nullptr, TRUE);
        return;
    }
    SendMessageA(old, WM_SETREDRAW, FALSE, 0);
    ShowWindow(old, SW_HIDE);
    SetWindowLongPtrA(old, GWLP_ID, 0);
    retired_.push_back(old);
    StartTimer();
}

// A tree like the old one, in its place, under its id.
bool AdminListWindow::ReplaceTree() {
    HWND old = tree_.handle();
    RECT place{};
    GetWindowRect(old, &place);
    MapWindowPoints(HWND_DESKTOP, handle(), reinterpret_cast<POINT*>(&place), 2);
    HWND fresh =
        CreateWindowExA(static_cast<DWORD>(GetWindowLongPtrA(old, GWL_EXSTYLE)), WC_TREEVIEWA, "",
                        static_cast<DWORD>(GetWindowLongPtrA(old, GWL_STYLE)), place.left, place.top,
                        place.right - place.left, place.bottom - place.top, handle(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ADMIN_LIST_TREE)), instance(), nullptr);
    if (fresh == nullptr) return false;
    SendMessageA(fresh, WM_SETFONT, static_cast<WPARAM>(SendMessageA(old, WM_GETFONT, 0, 0)), FALSE);
    SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = GetFocus() == old;
    tree_.Attach(fresh, session_.Colour(storage::ColourIndex::TreeBackground),
                 session_.Colour(storage::ColourIndex::TreeText));
    if (focused) SetFocus(fresh);
    return true;
}

void AdminListWindow::OnTimer() {
    if (next_ < pending_.size()) {
        FillBatch();
    } else if (!retired_.empty()) {
        EmptyRetiredTree();
    }
    if (next_ >= pending_.size() && retired_.empty()) StopTimer();
}

void AdminListWindow::FillBatch() {
    if (tree_.handle() == nullptr) return;
    const auto start = std::chrono::steady_clock::now();
    const std::size_t end = std::min(pending_.size(), next_ + batchSize_);
    const std::size_t count = end - next_;
    SendMessageA(tree_.handle(), WM_SETREDRAW, FALSE, 0);
    for (; next_ < end; ++next_) {
        const Row& row = pending_[next_];
        tree_.Insert(row.id, row.parent, row.label, row.colour, row.before);
    }
    // A group row opens once it has children to show.
    for (int id : expandable_) tree_.Expand(id);
    SendMessageA(tree_.handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_.handle(), nullptr, TRUE);
    const double spentMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double scaled = static_cast<double>(count) * kBatchBudgetMs / std::max(spentMs, 1.0);
    batchSize_ = std::clamp(static_cast<std::size_t>(scaled), kSmallestBatch, kLargestBatch);
    if (next_ >= pending_.size()) {
        pending_.clear();
        next_ = 0;
    }
}

// Removes the first rows of the oldest hidden tree for a while; an empty one is destroyed.
void AdminListWindow::EmptyRetiredTree() {
    HWND tree = retired_.front();
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < kRetireSliceMs) {
        const auto first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        if (first == nullptr) {
            DestroyWindow(tree);
            retired_.erase(retired_.begin());
            return;
        }
        for (int i = 0; i < 64; ++i) {
            const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            if (item == nullptr) break;
            SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        }
    }
}

void AdminListWindow::StartTimer() {
    if (!timerRunning_ && handle() != nullptr) {
        timerRunning_ = SetTimer(handle(), kFillTimer, kFillIntervalMs, nullptr) != 0;
    }
}

void AdminListWindow::StopTimer() {
    if (timerRunning_ && handle() != nullptr) KillTimer(handle(), kFillTimer);
    timerRunning_ = false;
}

}  // namespace vorlan::client
