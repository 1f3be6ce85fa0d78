#include "ui/TreeControl.h"

#include <vector>

#include "ui/WindowSkin.h"

namespace vorlan::ui {

TreeControl::~TreeControl() {
    if (hoverSubclassed_ && tree_ != nullptr && IsWindow(tree_)) {
        RemoveWindowSubclass(tree_, &TreeControl::HoverProcedure, 1);
    }
}

void TreeControl::Attach(HWND tree, std::uint32_t backgroundColour, std::uint32_t textColour) {
    if (hoverSubclassed_ && tree_ != nullptr && IsWindow(tree_)) {
        RemoveWindowSubclass(tree_, &TreeControl::HoverProcedure, 1);
    }
    hoverSubclassed_ = false;
    tree_ = tree;
    textColour_ = textColour;
    items_.clear();
    colours_.clear();
    if (!tree_) return;
    SendMessageA(tree_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(backgroundColour));
    SendMessageA(tree_, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(textColour));
    if (WindowSkin* skin = InstalledWindowSkin()) skin->DressTree(tree_);
    if (hoverHandler_) SetHoverHandler(std::move(hoverHandler_));
}

void TreeControl::SetHoverHandler(std::function<void(std::optional<int>)> handler) {
    hoverHandler_ = std::move(handler);
    if (tree_ == nullptr || hoverSubclassed_) return;
    hoverSubclassed_ = SetWindowSubclass(tree_, &TreeControl::HoverProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
}

// The mouse over the tree: which row it rests on, and when it leaves.
LRESULT CALLBACK TreeControl::HoverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    auto* control = reinterpret_cast<TreeControl*>(self);
    switch (message) {
        case WM_MOUSEMOVE: control->OnMouseMove(false); break;
        case WM_MOUSELEAVE: control->OnMouseMove(true); break;
        case WM_CAPTURECHANGED:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (control->hoverHandler_) control->hoverHandler_(std::nullopt);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &TreeControl::HoverProcedure, 1);
            control->hoverSubclassed_ = false;
            break;
        default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void TreeControl::OnMouseMove(bool left) {
    if (left) {
        trackingLeave_ = false;
        if (hoverHandler_) hoverHandler_(std::nullopt);
        return;
    }
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, tree_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    std::optional<int> id;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(tree_, &cursor);
    TVHITTESTINFO hit{};
    hit.pt = cursor;
    HTREEITEM item = TreeView_HitTest(tree_, &hit);
    if (item != nullptr && (hit.flags & TVHT_ONITEM)) id = IdOf(item);
    if (hoverHandler_) hoverHandler_(id);
}

void TreeControl::Insert(int id, std::optional<int> parentId, const std::string& label, std::uint32_t colour,
                         std::optional<int> beforeId) {
    if (!tree_) return;
    if (Contains(id)) Remove(id);
    HTREEITEM parent = parentId ? ItemOf(*parentId) : nullptr;
    HTREEITEM after = TVI_LAST;
    if (HTREEITEM before = beforeId ? ItemOf(*beforeId) : nullptr) {
        HTREEITEM previous = TreeView_GetPrevSibling(tree_, before);
        after = previous ? previous : TVI_FIRST;
    }
    std::string text = label;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.lParam = id;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item) return;
    items_[id] = item;
    colours_[id] = colour;
}

void TreeControl::SetLabel(int id, const std::string& label) {
    HTREEITEM item = ItemOf(id);
    if (!item) return;
    std::string text = label;
    TVITEMA change{};
    change.mask = TVIF_TEXT;
    change.hItem = item;
    change.pszText = text.data();
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

void TreeControl::SetColour(int id, std::uint32_t colour) {
    if (!Contains(id)) return;
    colours_[id] = colour;
    RECT area{};
    if (TreeView_GetItemRect(tree_, ItemOf(id), &area, FALSE)) InvalidateRect(tree_, &area, TRUE);
}

// Marked expanded even while it has no children yet, so the first child shows.
void TreeControl::Expand(int id) {
    HTREEITEM item = ItemOf(id);
    if (!item) return;
    TreeView_SetItemState(tree_, item, TVIS_EXPANDED, TVIS_EXPANDED);
    TreeView_Expand(tree_, item, TVE_EXPAND);
}

void TreeControl::Remove(int id) {
    HTREEITEM item = ItemOf(id);
    if (!item) return;
    ForgetSubtree(item);
    TreeView_DeleteItem(tree_, item);
}

void TreeControl::Clear() {
    items_.clear();
    colours_.clear();
    if (tree_) TreeView_DeleteAllItems(tree_);
}

bool TreeControl::Contains(int id) const { return items_.count(id) != 0; }

bool TreeControl::HasChildren(int id) const {
    HTREEITEM item = ItemOf(id);
    return item && TreeView_GetChild(tree_, item) != nullptr;
}

void TreeControl::Select(int id) {
    if (HTREEITEM item = ItemOf(id)) TreeView_SelectItem(tree_, item);
}

std::optional<int> TreeControl::SelectedId() const {
    if (!tree_) return std::nullopt;
    return IdOf(TreeView_GetSelection(tree_));
}

std::optional<int> TreeControl::IdAtCursor(bool select) {
    if (!tree_) return std::nullopt;
    DWORD position = GetMessagePos();
    TVHITTESTINFO hit{};
    hit.pt = POINT{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(tree_, &hit.pt);
    HTREEITEM item = TreeView_HitTest(tree_, &hit);
    if (!item || !(hit.flags & TVHT_ONITEM)) return std::nullopt;
    if (select) TreeView_SelectItem(tree_, item);
    return IdOf(item);
}

std::optional<LRESULT> TreeControl::HandleNotify(const NMHDR& header) {
    if (!tree_ || header.hwndFrom != tree_) return std::nullopt;
    switch (header.code) {
        case NM_CUSTOMDRAW: return OnCustomDraw(reinterpret_cast<const NMTVCUSTOMDRAW&>(header));
        default: return std::nullopt;
    }
}

LRESULT TreeControl::OnCustomDraw(const NMTVCUSTOMDRAW& draw) const {
    if (WindowSkin* skin = InstalledWindowSkin()) {
        auto colour = colours_.find(static_cast<int>(draw.nmcd.lItemlParam));
        const std::uint32_t itemColour = colour != colours_.end() ? colour->second : textColour_;
        if (std::optional<LRESULT> result = skin->TreeCustomDraw(draw, itemColour)) return *result;
    }
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            auto& changeable = const_cast<NMTVCUSTOMDRAW&>(draw);
            if (draw.nmcd.uItemState & CDIS_SELECTED) {
                // Highlight colours, focused or not: the tree's own colours for an
                // unfocused selection can be its text colour on a light fill.
                changeable.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
                changeable.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
                return CDRF_DODEFAULT;
            }
            auto colour = colours_.find(static_cast<int>(draw.nmcd.lItemlParam));
            changeable.clrText = colour != colours_.end() ? colour->second : textColour_;
            return CDRF_DODEFAULT;
        }
        default: return CDRF_DODEFAULT;
    }
}

HTREEITEM TreeControl::ItemOf(int id) const {
    auto found = items_.find(id);
    return found != items_.end() ? found->second : nullptr;
}

std::optional<int> TreeControl::IdOf(HTREEITEM item) const {
    if (!item) return std::nullopt;
    TVITEMA query{};
    query.mask = TVIF_PARAM;
    query.hItem = item;
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return std::nullopt;
    int id = static_cast<int>(query.lParam);
    if (ItemOf(id) != item) return std::nullopt;
    return id;
}

void TreeControl::ForgetSubtree(HTREEITEM item) {
    std::vector<HTREEITEM> pending{item};
    while (!pending.empty()) {
        HTREEITEM current = pending.back();
        pending.pop_back();
        for (HTREEITEM child = TreeView_GetChild(tree_, current); child;
             child = TreeView_GetNextSibling(tree_, child)) {
            pending.push_back(child);
        }
        if (std::optional<int> id = IdOf(current)) {
            items_.erase(*id);
            colours_.erase(*id);
        }
    }
}

}  // namespace vorlan::ui
