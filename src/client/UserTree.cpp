#include "client/UserTree.h"

#include <algorithm>

namespace vorlan::client {

UserTree::UserTree(UserTreeView& view, const std::array<std::uint32_t, 4>& levelColours, std::uint32_t groupColour)
    : view_(view), levelColours_(levelColours), groupColour_(groupColour) {}

std::string UserTree::Label(int level, bool serverMuted, const std::string& name) {
    std::string label = level >= kMainChatClosedOffset ? "(" + name + ")" : name;
    return serverMuted ? "[" + label + "]" : label;
}

UserRow UserTree::MakeRow(int id, int level, bool locallyMuted, bool serverMuted, const std::string& name,
                          const std::string& status) const {
    UserRow row;
    row.id = id;
    row.level = level;
    row.locallyMuted = locallyMuted;
    row.serverMuted = serverMuted;
    row.name = name;
    row.status = status;
    row.colour = LevelColour(level);
    row.label = Label(level, serverMuted, name);
    row.group = GroupFor(level);
    return row;
}

UserRow* UserTree::FindRow(int id) {
    auto found = std::find_if(rows_.begin(), rows_.end(), [&](const UserRow& r) { return r.id == id; });
    return found == rows_.end() ? nullptr : &*found;
}

const UserRow* UserTree::Find(int id) const { return const_cast<UserTree*>(this)->FindRow(id); }

void UserTree::EnsureGroup(int groupId) {
    bool& exists = groupId == kAdminsGroupId ? hasAdminsGroup_ : hasNormalGroup_;
    if (exists) return;
    exists = true;
    view_.AddGroupRow(groupId, groupId == kAdminsGroupId ? "Admins" : "Normal", groupColour_);
}

bool UserTree::GroupHasUsers(int groupId) const {
    return std::any_of(rows_.begin(), rows_.end(), [&](const UserRow& r) { return r.group == groupId; });
}

void UserTree::RemoveEmptiedGroup() {
    if (hasAdminsGroup_ && !GroupHasUsers(kAdminsGroupId)) {
        hasAdminsGroup_ = false;
        view_.RemoveGroupRow(kAdminsGroupId);
    } else if (hasNormalGroup_ && !GroupHasUsers(kNormalGroupId)) {
        hasNormalGroup_ = false;
        view_.RemoveGroupRow(kNormalGroupId);
    }
}

void UserTree::AddUser(int id, int level, bool locallyMuted, bool serverMuted, const std::string& name,
                       const std::string& status) {
    // A repeated entry for a known id replaces the old row instead of doubling it.
    if (HasUser(id)) RemoveUser(id);
    UserRow row = MakeRow(id, level, locallyMuted, serverMuted, name, status);
    EnsureGroup(row.group);
    rows_.push_back(row);
    view_.AddUserRow(row);
}

void UserTree::Relabel(UserRow& row) {
    row.label = Label(row.level, row.serverMuted, row.name);
    view_.UpdateUserRow(row);
}

void UserTree::RenameUser(int id, const std::string& name) {
    if (UserRow* row = FindRow(id)) {
        row->name = name;
        Relabel(*row);
    }
}

void UserTree::SetUserStatus(int id, const std::string& status) {
    if (UserRow* row = FindRow(id)) {
        row->status = status;
        view_.UpdateUserRow(*row);
    }
}

void UserTree::SetUserLevel(int id, int level) {
    if (UserRow* row = FindRow(id)) {
        row->level = level;
        Relabel(*row);
    }
}

void UserTree::SetServerMuted(int id, bool muted) {
    if (UserRow* row = FindRow(id)) {
        row->serverMuted = muted;
        Relabel(*row);
    }
}

void UserTree::SetLocallyMuted(int id, bool muted) {
    if (UserRow* row = FindRow(id)) {
        row->locallyMuted = muted;
        view_.UpdateUserRow(*row);
    }
}

void UserTree::MoveUser(int id, int level) {
    UserRow* old = FindRow(id);
    if (old == nullptr) return;
    UserRow moved = MakeRow(id, level, old->locallyMuted, old->serverMuted, old->name, old->status);
    EnsureGroup(moved.group);
    view_.RemoveUserRow(id);
    *old = moved;
    // Keep the model's order as the tree shows it: the moved row is now last.
    std::rotate(rows_.begin() + (old - rows_.data()), rows_.begin() + (old - rows_.data()) + 1, rows_.end());
    view_.AddUserRow(moved);
    RemoveEmptiedGroup();
}

void UserTree::RemoveUser(int id) {
    auto found = std::find_if(rows_.begin(), rows_.end(), [&](const UserRow& r) { return r.id == id; });
    if (found == rows_.end()) return;
    rows_.erase(found);
    view_.RemoveUserRow(id);
    RemoveEmptiedGroup();
}

void UserTree::ClearUsers() {
    rows_.clear();
    hasAdminsGroup_ = false;
    hasNormalGroup_ = false;
    view_.ClearRows();
}

std::string UserTree::UserName(int id) const {
    const UserRow* row = Find(id);
    return row ? row->name : std::string();
}

int UserTree::UserLevel(int id) const {
    const UserRow* row = Find(id);
    return row ? row->level : kUnknownLevel;
}

std::uint32_t UserTree::UserColour(int id) const {
    const UserRow* row = Find(id);
    return row ? row->colour : 0;
}

int UserTree::SelectedUserId() const {
    int id = view_.SelectedRowId();
    return id > 0 && HasUser(id) ? id : 0;
}

std::vector<int> UserTree::UserIds() const {
    std::vector<int> ids;
    ids.reserve(rows_.size());
    for (const UserRow& row : rows_) ids.push_back(row.id);
    return ids;
}

}  // namespace vorlan::client
