#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "client/ClientViews.h"

namespace vorlan::client {

// Level digits as the server sends them; 4 is added while a user's main chat is closed.
inline constexpr int kLevelHost = 0;
inline constexpr int kLevelSuperAdmin = 1;
inline constexpr int kLevelNormalAdmin = 2;
inline constexpr int kLevelNormalUser = 3;
inline constexpr int kMainChatClosedOffset = 4;
inline constexpr int kUnknownLevel = -2;

// The client's picture of the server's users, in the groups "Admins" and
// "Normal", mirrored row by row into a UserTreeView.
class UserTree {
public:
    // levelColours: colours 13..16 ("Host", "Super admin", "Normal admin",
    // "Normal user"); groupColour: the tree's normal item colour.
    UserTree(UserTreeView& view, const std::array<std::uint32_t, 4>& levelColours, std::uint32_t groupColour);

    void AddUser(int id, int level, bool locallyMuted, bool serverMuted, const std::string& name,
                 const std::string& status);
    void RenameUser(int id, const std::string& name);
    void SetUserStatus(int id, const std::string& status);
    // The row keeps its group; only the level digit and the label change.
    void SetUserLevel(int id, int level);
    void SetServerMuted(int id, bool muted);
    void SetLocallyMuted(int id, bool muted);
    // Re-adds the user under the group of `level` (keeping name, status and both
    // flags) and removes a group row that this leaves empty.
    void MoveUser(int id, int level);
    void RemoveUser(int id);
    void ClearUsers();

    bool HasUser(int id) const { return Find(id) != nullptr; }
    std::string UserName(int id) const;
    int UserLevel(int id) const;
    std::uint32_t UserColour(int id) const;
    const UserRow* Find(int id) const;
    // The selected user, or 0 when no user row is selected.
    int SelectedUserId() const;
    std::vector<int> UserIds() const;
    const std::vector<UserRow>& Rows() const { return rows_; }

    std::uint32_t LevelColour(int level) const { return levelColours_[static_cast<std::size_t>(level % 4)]; }
    static bool IsAdminLevel(int level) { return level % 4 != kLevelNormalUser; }
    static int GroupFor(int level) { return IsAdminLevel(level) ? kAdminsGroupId : kNormalGroupId; }
    static std::string Label(int level, bool serverMuted, const std::string& name);

private:
    UserRow* FindRow(int id);
    UserRow MakeRow(int id, int level, bool locallyMuted, bool serverMuted, const std::string& name,
                    const std::string& status) const;
    void EnsureGroup(int groupId);
    bool GroupHasUsers(int groupId) const;
    void RemoveEmptiedGroup();
    void Relabel(UserRow& row);

    UserTreeView& view_;
    std::array<std::uint32_t, 4> levelColours_;
    std::uint32_t groupColour_;
    std::vector<UserRow> rows_;
    bool hasAdminsGroup_ = false;
    bool hasNormalGroup_ = false;
};

}  // namespace vorlan::client
