#include "client/AdminLists.h"

#include <algorithm>

#include "client/ClientSession.h"
#include "client/ProfileEdit.h"
#include "protocol/Framing.h"
#include "protocol/Text.h"

namespace vorlan::client {

bool MayKickOrBan(int ownLevel, int targetLevel) {
    if (targetLevel < 0 || targetLevel > 7) return false;
    const int target = targetLevel % 4;
    if (target == kLevelNormalAdmin || target == kLevelNormalUser) return true;
    return target == kLevelSuperAdmin && ownLevel >= 0 && ownLevel <= 7 && ownLevel % 4 == kLevelHost;
}

// ---- Connections ------------------------------------------------------------------

void ConnectionsCommands::Opened() { session_.RequestConnections(); }

void ConnectionsCommands::Refresh() {
    view_.ClearRows();
    session_.RequestConnections();
}

ConnectionsMenuState ConnectionsCommands::MenuFor(int selectedRowId) const {
    ConnectionsMenuState state;
    if (selectedRowId <= 0) return state;  // a group row, or none
    state.userItems = true;
    // The levels as the client knows them now: a level changed since the list
    // came is the one the server will judge by.
    const UserTree& users = session_.userTree();
    state.kickAndBan = MayKickOrBan(users.UserLevel(session_.ownId()), users.UserLevel(selectedRowId));
    return state;
}

void ConnectionsCommands::Kick(int userId) {
    if (!MenuFor(userId).kickAndBan) return;
    view_.ClearRows();
    session_.Kick(userId);
    session_.RequestConnections();
}

void ConnectionsCommands::Ban(int userId, std::string_view rowText) {
    if (!MenuFor(userId).kickAndBan) return;
    std::string text(rowText);
    std::erase(text, protocol::kSep);
    view_.ClearRows();
    session_.Ban(userId, text);
    session_.RequestConnections();
}

// ---- Ban list ---------------------------------------------------------------------

conversation::InputLimit LimitBanField(std::string_view text) { return LimitDialogField(text, kBanFieldLimit); }

void BanListCommands::Opened() { session_.RequestBanList(); }

void BanListCommands::Refresh() {
    view_.ClearRows();
    session_.RequestBanList();
}

void BanListCommands::Remove(int banId) {
    view_.ClearRows();
    session_.RemoveBan(banId);
    session_.RequestBanList();
}

bool BanListCommands::Add(std::string_view address, std::string_view description) {
    // The fields never hold SEP; text set by other means is held to the same rules.
    const std::string trimmedAddress = protocol::Trim(LimitBanField(address).text);
    if (trimmedAddress.empty()) return false;
    session_.AddBan(trimmedAddress, protocol::Trim(LimitBanField(description).text));
    if (view_.IsOpen()) session_.RequestBanList();
    return true;
}

// ---- geometry -----------------------------------------------------------------------

ControlRect ListTreeRect(int clientWidth, int clientHeight) {
    // A window squeezed below its minimum by a program gets an empty tree
    // rather than a negative size.
    return {20, 20, std::max(0, clientWidth - 40), std::max(0, clientHeight - 40)};
}

StoredWindowSize StoredSizeOf(const storage::Options& options, AdminWindow window) {
    if (window == AdminWindow::Connections)
        return {options.connectionsWidth, options.connectionsHeight, options.connectionsMaximized};
    return {options.banListWidth, options.banListHeight, options.banListMaximized};
}

void RememberListWindowSize(storage::Options& options, AdminWindow window, WindowSizeKind kind, int outerWidth,
                            int outerHeight) {
    const bool connections = window == AdminWindow::Connections;
    int& width = connections ? options.connectionsWidth : options.banListWidth;
    int& height = connections ? options.connectionsHeight : options.banListHeight;
    bool& maximized = connections ? options.connectionsMaximized : options.banListMaximized;
    switch (kind) {
        case WindowSizeKind::Minimized: return;
        case WindowSizeKind::Maximized: maximized = true; return;
        case WindowSizeKind::Restored:
            maximized = false;
            width = outerWidth;
            height = outerHeight;
            return;
    }
}

}  // namespace vorlan::client
