#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "conversation/ChatView.h"

// Everything the chat client asks of windows. The client decides what is
// shown; a window implementing one of these decides only how. Colours are
// red + 256*green + 65536*blue.
namespace vorlan::client {

// ---- user tree -------------------------------------------------------------

// Group rows carry these ids in the user tree and in the remote connections tree.
inline constexpr int kAdminsGroupId = -1;
inline constexpr int kNormalGroupId = 0;
// A remote connection row for an id the client does not know sits at the top level.
inline constexpr int kTopLevel = -2;

struct UserRow {
    int id = 0;
    int level = 0;  // 0..7; 4..7 while that user's main chat is closed
    bool locallyMuted = false;
    bool serverMuted = false;
    std::string name;
    std::string status;
    std::uint32_t colour = 0;
    std::string label;  // name, "(name)", "[name]" or "[(name)]"
    int group = kNormalGroupId;
    bool operator==(const UserRow&) const = default;
};

class UserTreeView {
public:
    virtual ~UserTreeView() = default;
    // A group row ("Admins" or "Normal"), drawn in `colour` and expanded.
    virtual void AddGroupRow(int groupId, const std::string& text, std::uint32_t colour) = 0;
    virtual void RemoveGroupRow(int groupId) = 0;
    // A user row appended as the last child of row.group.
    virtual void AddUserRow(const UserRow& row) = 0;
    // The row's label, colour, status or flags changed; it stays where it is.
    virtual void UpdateUserRow(const UserRow& row) = 0;
    virtual void RemoveUserRow(int id) = 0;
    virtual void ClearRows() = 0;
    // The id of the selected row: a user id (> 0), a group id, or kTopLevel when
    // nothing is selected.
    virtual int SelectedRowId() const = 0;
};

// ---- recently used servers tree ----------------------------------------------

class RecentServersView {
public:
    virtual ~RecentServersView() = default;
    virtual void AddServerItem(int id, const std::string& label, std::uint32_t colour) = 0;
    virtual void SetServerItemLabel(int id, const std::string& label) = 0;
    virtual void SetServerItemColour(int id, std::uint32_t colour) = 0;
    virtual void RemoveServerItem(int id) = 0;
    virtual void ClearServerItems() = 0;
};

// ---- main menu -----------------------------------------------------------------

struct MenuItemState {
    std::string text;
    bool enabled = true;
    bool checked = false;  // radio mark
    bool operator==(const MenuItemState&) const = default;
};

// Mirrors the main menu model: called for every item whose state changed.
class MainMenuView {
public:
    virtual ~MainMenuView() = default;
    virtual void OnMenuItemChanged(int id, const MenuItemState& state) = 0;
};

// ---- attention, pop-ups, tray ------------------------------------------------

// Pop-ups and sounds, as the client asks for them; the application's notifier
// decides whether they show and play.
class Notifications {
public:
    virtual ~Notifications() = default;
    // force 1 shows the pop-up even when pop-ups are switched off (and plays no
    // sound); source is the user id a click on the pop-up opens a private chat
    // with (0: the main window).
    virtual void ShowPopup(const std::string& text, int force, int source) = 0;
    // A private line arrived in a window that is not in front.
    virtual void PlayMessageSound() = 0;
};

class MainWindowState {
public:
    virtual ~MainWindowState() = default;
    virtual bool IsMainWindowForeground() const = 0;
    virtual bool IsMainWindowVisible() const = 0;
};

class TrayTip {
public:
    virtual ~TrayTip() = default;
    virtual void SetTrayTip(const std::string& text) = 0;
};

// ---- info, remote lists, admin menus ------------------------------------------

inline constexpr int kInfoFieldCount = 9;

class InfoWindowView {
public:
    virtual ~InfoWindowView() = default;
    // Creates and shows the window, or restores it and brings it to the front.
    virtual void ShowInfoWindow() = 0;
    virtual void SetInfoCaption(const std::string& caption) = 0;
    virtual void SetInfoUserId(int id) = 0;
    // index 0..8: "Name:", "E-mail address:", "Country:", "Home page:",
    // "Interests:", "Gender:", "Birthday:", "Picture URL:", "Status:".
    virtual void SetInfoField(int index, const std::string& text) = 0;
};

struct RemoteConnectionRow {
    int id = 0;
    int group = kTopLevel;  // kAdminsGroupId, kNormalGroupId or kTopLevel
    std::string label;
    std::uint32_t colour = 0;
    bool locallyMuted = false;
    bool serverMuted = false;
    bool operator==(const RemoteConnectionRow&) const = default;
};

// The "Connections" window of an admin, filled from the server's list.
class RemoteConnectionsView {
public:
    virtual ~RemoteConnectionsView() = default;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    virtual void ClearRows() = 0;
    // Under its own "Admins" or "Normal" group row (created when missing), or at
    // the top level.
    virtual void AddRow(const RemoteConnectionRow& row) = 0;
};

// The "Ban list" window of an admin.
class RemoteBanListView {
public:
    virtual ~RemoteBanListView() = default;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    virtual void ClearRows() = 0;
    virtual void AddRow(int banId, const std::string& label) = 0;
};

// The "Admin" menu of the menu bar, its tray menu entries and the admin
// entries of the user menu.
class AdminMenusView {
public:
    virtual ~AdminMenusView() = default;
    virtual void InstallAdminMenus() = 0;
    virtual void RemoveAdminMenus() = 0;
};

// ---- private chat windows ----------------------------------------------------

class PrivateChatWindowView {
public:
    virtual ~PrivateChatWindowView() = default;  // destroys the window
    virtual conversation::ChatView& View() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void Flash() = 0;
    virtual void ShowMinimisedWithoutActivating() = 0;
    // Shows the window (maximized or restored) and brings it to the front.
    virtual void ShowInFront(bool maximized) = 0;
    virtual bool IsForeground() const = 0;
};

class PrivateChatWindowFactory {
public:
    virtual ~PrivateChatWindowFactory() = default;
    // A new, not yet shown window with the desktop as parent.
    virtual std::unique_ptr<PrivateChatWindowView> CreatePrivateChatWindow() = 0;
};

// ---- file transfers ----------------------------------------------------------

// Where the file transfer subsystem attaches to the client.
class Transfers {
public:
    virtual ~Transfers() = default;
    // A `FileTransferControl` message from a known user, whole, without its zero byte.
    virtual void OnFileTransferControl(const std::string& message) = 0;
    // The user left: every dialog and transfer with this user is closed or shows "Canceled".
    virtual void CancelTransfersWith(int userId) = 0;
    // The connection to the server ended: every transfer still being negotiated shows "Canceled".
    virtual void CancelAllPendingTransfers() = 0;
};

}  // namespace vorlan::client
