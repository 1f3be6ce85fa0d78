#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// A tree view control of another process. Handle-only messages work across
// processes as they are; item texts and rectangles need a buffer in the
// target's memory, which this class allocates there for its lifetime.
class RemoteTree {
public:
    struct Item {
        HTREEITEM handle;
        int depth;
        std::string label;
        bool selected;
    };

    explicit RemoteTree(HWND tree);
    ~RemoteTree();
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    bool Usable() const { return buffer_ != nullptr; }
    std::vector<Item> Items();
    bool Select(HTREEITEM item);
    bool ItemRect(HTREEITEM item, RECT& rect);

private:
    HTREEITEM Next(HTREEITEM item, WPARAM relation);
    bool ReadItem(HTREEITEM handle, Item& item);
    void Walk(HTREEITEM first, int depth, std::vector<Item>& items);

    HWND tree_;
    HANDLE process_ = nullptr;
    char* buffer_ = nullptr;  // address in the target process
};
