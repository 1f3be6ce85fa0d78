#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "client/ClientViews.h"
#include "client/ControlRect.h"
#include "client/PrivateWindowGeometry.h"
#include "conversation/ChatInput.h"
#include "storage/Records.h"

// What the admin's "Connections" and "Ban list" windows do, apart from
// drawing: the requests each trigger sends, which context menu entries are
// enabled, the Add dialog's text rules and the windows' geometry. The windows
// name a row by the id it carries (a user id or a ban id), never by its place
// in the tree: a refresh rebuilds the tree, and a place may then hold another row.
namespace vorlan::client {

class ClientSession;

// ---- rights --------------------------------------------------------------------

// Whether an admin with level digit `ownLevel` may kick or ban a user shown
// with `targetLevel` (digits 0..7; anything else: unknown, never). Normal
// admins and normal users may be, super admins only by the host; the server
// applies its own rank rule in any case.
bool MayKickOrBan(int ownLevel, int targetLevel);

// ---- the Connections window -------------------------------------------------------

// The context menu for the selected row: "Kick" and "Ban" appear on user rows
// (not on the group rows), enabled as MayKickOrBan says.
struct ConnectionsMenuState {
    bool userItems = false;
    bool kickAndBan = false;
    bool operator==(const ConnectionsMenuState&) const = default;
};

class ConnectionsCommands {
public:
    ConnectionsCommands(ClientSession& session, RemoteConnectionsView& view) : session_(session), view_(view) {}

    // The window was just created: "18".
    void Opened();
    // "Refresh": the tree is emptied, then "18".
    void Refresh();
    // For the row id the tree reports as selected (kTopLevel: none).
    ConnectionsMenuState MenuFor(int selectedRowId) const;
    // "Kick" on the row of `userId`: the tree is emptied, then "16" with the id
    // and "18". Nothing when the rule greys the entry.
    void Kick(int userId);
    // "Ban": as "Kick" with "17", the id, SEP and the row's text (SEP removed;
    // the server ignores it when the user is still there).
    void Ban(int userId, std::string_view rowText);

private:
    ClientSession& session_;
    RemoteConnectionsView& view_;
};

// ---- the Ban list window and its Add dialog ------------------------------------------

// The Add dialog's fields hold at most this many characters each.
inline constexpr std::size_t kBanFieldLimit = 200;

// After every change of an Add dialog field: SEP removed at once, the text
// cut to kBanFieldLimit.
conversation::InputLimit LimitBanField(std::string_view text);

class BanListCommands {
public:
    BanListCommands(ClientSession& session, RemoteBanListView& view) : session_(session), view_(view) {}

    // The window was just created: "19".
    void Opened();
    // "Refresh": the tree is emptied, then "19".
    void Refresh();
    // "Remove" on the row of `banId`: the tree is emptied, then "20", the id
    // and "0", then "19".
    void Remove(int banId);
    // The Add dialog's "add" with its fields' texts: both are trimmed; an empty
    // address sends nothing and returns false (the dialog keeps the focus in
    // the address field). Otherwise "20", address, SEP, description and "1",
    // then "19" while the Ban list window is open; true (the dialog closes).
    bool Add(std::string_view address, std::string_view description);

private:
    ClientSession& session_;
    RemoteBanListView& view_;
};

// ---- geometry of both list windows -------------------------------------------------------

enum class AdminWindow { Connections, BanList };

// The smallest outer size either window can be dragged to.
inline constexpr int kListWindowMinWidth = 250;
inline constexpr int kListWindowMinHeight = 200;

// The tree keeps 20 pixels from every edge of the client area.
ControlRect ListTreeRect(int clientWidth, int clientHeight);

struct StoredWindowSize {
    int width = 0;
    int height = 0;
    bool maximized = false;
};
StoredWindowSize StoredSizeOf(const storage::Options& options, AdminWindow window);

// A size change of an initialised window: maximized sets the stored flag;
// restored clears it and stores the outer size; minimized changes nothing.
void RememberListWindowSize(storage::Options& options, AdminWindow window, WindowSizeKind kind, int outerWidth,
                            int outerHeight);

}  // namespace vorlan::client
