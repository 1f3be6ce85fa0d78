#include "client/ui/UserTreeControl.h"

namespace vorlan::client {

void UserTreeControl::Attach(HWND tree, std::uint32_t backgroundColour, std::uint32_t textColour) {
    tree_.Attach(tree, backgroundColour, textColour);
}

void UserTreeControl::SetHoverHandler(std::function<void(const std::optional<HoverEntry>&)> handler) {
    hoverHandler_ = std::move(handler);
    tree_.SetHoverHandler([this](std::optional<int> id) {
        std::optional<HoverEntry> entry;
        if (id) {
            auto found = entries_.find(*id);
            if (found != entries_.end()) entry = found->second;
        }
        hovered_ = entry ? std::optional<int>(entry->id) : std::nullopt;
        if (hoverHandler_) hoverHandler_(entry);
    });
}

void UserTreeControl::ForgetHovered(int id) {
    if (hovered_ != id) return;
    hovered_.reset();
    if (hoverHandler_) hoverHandler_(std::nullopt);
}

// "Admins" always sits above "Normal", whichever was created first.
void UserTreeControl::AddGroupRow(int groupId, const std::string& text, std::uint32_t colour) {
    entries_[groupId] = HoverEntry{groupId, -1, text, "", ""};
    if (tree_.Contains(groupId)) {
        // Already there: keep its users.
        tree_.SetLabel(groupId, text);
        tree_.SetColour(groupId, colour);
        if (folded_.count(groupId) == 0) tree_.Expand(groupId);
        return;
    }
    std::optional<int> before;
    if (groupId == kAdminsGroupId && tree_.Contains(kNormalGroupId)) before = kNormalGroupId;
    tree_.Insert(groupId, std::nullopt, text, colour, before);
    folded_.erase(groupId);
    tree_.Expand(groupId);
}

void UserTreeControl::RemoveGroupRow(int groupId) {
    folded_.erase(groupId);
    entries_.erase(groupId);
    ForgetHovered(groupId);
    tree_.Remove(groupId);
}

void UserTreeControl::AddUserRow(const UserRow& row) {
    std::optional<int> parent;
    if (tree_.Contains(row.group)) parent = row.group;
    tree_.Insert(row.id, parent, row.label, row.colour);
    entries_[row.id] = HoverEntry{row.id, row.level, row.label, row.name, row.status};
    // The tree may drop a group's expanded state with its last row; a new
    // first row opens it again, unless the user folded it.
    if (parent && folded_.count(*parent) == 0) tree_.Expand(*parent);
    if (row.id == reselectId_) tree_.Select(row.id);
    reselectId_ = 0;
}

void UserTreeControl::UpdateUserRow(const UserRow& row) {
    tree_.SetLabel(row.id, row.label);
    tree_.SetColour(row.id, row.colour);
    if (tree_.Contains(row.id)) entries_[row.id] = HoverEntry{row.id, row.level, row.label, row.name, row.status};
}

void UserTreeControl::RemoveUserRow(int id) {
    reselectId_ = tree_.SelectedId() == id ? id : 0;
    entries_.erase(id);
    ForgetHovered(id);
    tree_.Remove(id);
}

void UserTreeControl::ClearRows() {
    reselectId_ = 0;
    folded_.clear();
    entries_.clear();
    if (hovered_) ForgetHovered(*hovered_);
    tree_.Clear();
}

// Only the user folds a group (the program itself only expands them), so every
// collapse reported here is the user's.
std::optional<LRESULT> UserTreeControl::HandleNotify(const NMHDR& header) {
    if (header.hwndFrom == tree_.handle() && (header.code == TVN_ITEMEXPANDEDA || header.code == TVN_ITEMEXPANDEDW)) {
        // The item's id and the action sit alike in the ANSI and wide forms.
        const auto& expanded = reinterpret_cast<const NMTREEVIEWA&>(header);
        const int id = static_cast<int>(expanded.itemNew.lParam);
        if (expanded.action & TVE_COLLAPSE) {
            folded_.insert(id);
        } else if (expanded.action & TVE_EXPAND) {
            folded_.erase(id);
        }
        return 0;
    }
    return tree_.HandleNotify(header);
}

int UserTreeControl::SelectedRowId() const { return tree_.SelectedId().value_or(kTopLevel); }

int UserTreeControl::SelectRowAtCursor() { return tree_.IdAtCursor(true).value_or(kTopLevel); }

int UserTreeControl::UserIdAtCursor() {
    int id = tree_.IdAtCursor(false).value_or(0);
    return id > 0 ? id : 0;
}

}  // namespace vorlan::client
