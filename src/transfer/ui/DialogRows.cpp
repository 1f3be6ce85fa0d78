#include "transfer/ui/DialogRows.h"

#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace vorlan::transfer {
namespace {

RECT ChildRect(HWND dialog, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void ShowDialogRow(HWND dialog, std::initializer_list<int> rowIds, bool visible, bool& shown) {
    if (dialog == nullptr || visible == shown) return;
    // The row keeps its place while hidden; what lies below it moves.
    int rowTop = INT_MAX;
    std::vector<HWND> row;
    for (int id : rowIds) {
        HWND control = GetDlgItem(dialog, id);
        if (control == nullptr) continue;
        row.push_back(control);
        rowTop = std::min(rowTop, static_cast<int>(ChildRect(dialog, control).top));
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    }
    const int shift = visible ? kOptionalRowHeight : -kOptionalRowHeight;
    std::vector<HWND> below;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (std::find(row.begin(), row.end(), child) != row.end()) continue;
        if (ChildRect(dialog, child).top >= rowTop) below.push_back(child);
    }
    for (HWND child : below) {
        const RECT rect = ChildRect(dialog, child);
        SetWindowPos(child, nullptr, rect.left, rect.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame{};
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + shift,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    shown = visible;
}

void OpenInShell(const std::string& path) {
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vorlan::transfer
