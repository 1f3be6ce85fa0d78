#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vorlan::ui {

// A dialog's tree view control whose items carry an integer id (as lParam) and
// a text colour of their own, drawn through NM_CUSTOMDRAW. The base of every
// tree of the program: the user tree, the recently used servers tree and the
// trees of the admin and file windows to come.
class TreeControl {
public:
    TreeControl() = default;
    ~TreeControl();
    TreeControl(const TreeControl&) = delete;
    TreeControl& operator=(const TreeControl&) = delete;

    // Colours are red + 256*green + 65536*blue.
    void Attach(HWND tree, std::uint32_t backgroundColour, std::uint32_t textColour);
    HWND handle() const { return tree_; }

    // Appends an item as the last child of `parentId` (nullopt: the top level)
    // or, when `beforeId` is given, inserts it right before that sibling.
    void Insert(int id, std::optional<int> parentId, const std::string& label, std::uint32_t colour,
                std::optional<int> beforeId = std::nullopt);
    void SetLabel(int id, const std::string& label);
    void SetColour(int id, std::uint32_t colour);
    void Expand(int id);
    // Removes the item and its children.
    void Remove(int id);
    void Clear();
    bool Contains(int id) const;
    bool HasChildren(int id) const;

    std::optional<int> SelectedId() const;
    void Select(int id);
    // The item under the last message's cursor position (a click just
    // reported), selected first when `select`.
    std::optional<int> IdAtCursor(bool select);

    // NM_CUSTOMDRAW from this tree: the result for the parent, nothing for
    // other notifications and other controls.
    std::optional<LRESULT> HandleNotify(const NMHDR& header);

    // Told the row under the mouse each time it changes: a row's id, or
    // nothing when the cursor leaves the rows or the tree.
    void SetHoverHandler(std::function<void(std::optional<int>)> handler);

private:
    HTREEITEM ItemOf(int id) const;
    std::optional<int> IdOf(HTREEITEM item) const;
    void ForgetSubtree(HTREEITEM item);
    LRESULT OnCustomDraw(const NMTVCUSTOMDRAW& draw) const;
    void OnMouseMove(bool left);
    static LRESULT CALLBACK HoverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                           DWORD_PTR self);

    std::function<void(std::optional<int>)> hoverHandler_;
    bool hoverSubclassed_ = false;
    bool trackingLeave_ = false;

    HWND tree_ = nullptr;
    std::uint32_t textColour_ = 0;
    std::map<int, HTREEITEM> items_;
    std::map<int, std::uint32_t> colours_;
};

}  // namespace vorlan::ui
