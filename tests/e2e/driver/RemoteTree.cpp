#include "RemoteTree.h"

#include <cstring>

#include "Messages.h"

namespace {

constexpr SIZE_T kBufferSize = 8192;
constexpr int kTextCapacity = 4096;
constexpr int kMaxItems = 5000;  // a bound on the walk, whatever the target holds

}  // namespace

RemoteTree::RemoteTree(HWND tree) : tree_(tree) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (process_ == nullptr) return;
    buffer_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, kBufferSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteTree::~RemoteTree() {
    if (buffer_ != nullptr) VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
}

HTREEITEM RemoteTree::Next(HTREEITEM item, WPARAM relation) {
    LRESULT result = 0;
    if (!Messages::Send(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), result)) return nullptr;
    return reinterpret_cast<HTREEITEM>(result);
}

bool RemoteTree::ReadItem(HTREEITEM handle, Item& item) {
    TVITEMA request{};
    request.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
    request.hItem = handle;
    request.stateMask = TVIS_SELECTED;
    request.pszText = buffer_ + sizeof(TVITEMA);
    request.cchTextMax = kTextCapacity;
    char empty = 0;
    if (!WriteProcessMemory(process_, buffer_, &request, sizeof request, nullptr)) return false;
    if (!WriteProcessMemory(process_, request.pszText, &empty, 1, nullptr)) return false;
    LRESULT result = 0;
    if (!Messages::Send(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer_), result) || result == 0) return false;
    TVITEMA answer{};
    if (!ReadProcessMemory(process_, buffer_, &answer, sizeof answer, nullptr)) return false;
    // The control may point pszText at its own storage instead of filling ours.
    char text[kTextCapacity + 1] = {};
    if (!ReadProcessMemory(process_, answer.pszText, text, kTextCapacity, nullptr)) return false;
    item.handle = handle;
    item.label = text;
    item.selected = (answer.state & TVIS_SELECTED) != 0;
    return true;
}

void RemoteTree::Walk(HTREEITEM first, int depth, std::vector<Item>& items) {
    for (HTREEITEM handle = first; handle != nullptr && items.size() < kMaxItems; handle = Next(handle, TVGN_NEXT)) {
        Item item{};
        item.depth = depth;
        if (!ReadItem(handle, item)) item.handle = handle;
        items.push_back(item);
        Walk(Next(handle, TVGN_CHILD), depth + 1, items);
    }
}

std::vector<RemoteTree::Item> RemoteTree::Items() {
    std::vector<Item> items;
    if (Usable()) Walk(Next(nullptr, TVGN_ROOT), 0, items);
    return items;
}

bool RemoteTree::Select(HTREEITEM item) {
    LRESULT result = 0;
    return Messages::Send(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), result) && result != 0;
}

bool RemoteTree::ItemRect(HTREEITEM item, RECT& rect) {
    // TVM_GETITEMRECT takes the item handle in the RECT it fills.
    RECT request{};
    static_assert(sizeof(HTREEITEM) <= sizeof(RECT));
    std::memcpy(&request, &item, sizeof item);
    if (!WriteProcessMemory(process_, buffer_, &request, sizeof request, nullptr)) return false;
    LRESULT result = 0;
    if (!Messages::Send(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer_), result) || result == 0) return false;
    return ReadProcessMemory(process_, buffer_, &rect, sizeof rect, nullptr) != 0;
}
