#include "client/ui/ConnectionsWindow.h"

#include "client/ClientSession.h"
#include "client/ui/AdminListIds.h"

namespace vorlan::client {

ConnectionsWindow::ConnectionsWindow(HINSTANCE instance, ClientSession& session)
    : AdminListWindow(instance, session, AdminWindow::Connections, IDD_CONNECTIONS, IDR_CONNECTIONS_MENU),
      commands_(session, *this) {}

void ConnectionsWindow::ClearRows() {
    groups_.clear();
    labels_.clear();
    ClearTree();
}

void ConnectionsWindow::AddRow(const RemoteConnectionRow& row) {
    if (!IsOpen()) return;
    std::optional<int> parent;
    if (row.group == kAdminsGroupId || row.group == kNormalGroupId) {
        parent = row.group;
        if (groups_.insert(row.group).second) {
            // "Admins" above "Normal", whichever came first.
            Row group;
            group.id = row.group;
            group.label = row.group == kAdminsGroupId ? "Admins" : "Normal";
            group.colour = session().Colour(storage::ColourIndex::TreeText);
            group.expand = true;
            if (row.group == kAdminsGroupId && groups_.count(kNormalGroupId) != 0) group.before = kNormalGroupId;
            QueueRow(std::move(group));
        }
    }
    labels_[row.id] = row.label;
    QueueRow({row.id, parent, std::nullopt, row.label, row.colour, false});
}

void ConnectionsWindow::AddRowEntries(HMENU menu, std::optional<int> rowId) {
    const ConnectionsMenuState state = commands_.MenuFor(rowId.value_or(kTopLevel));
    addedEntries_ = 0;
    if (!state.userItems) return;
    const UINT enabled = state.kickAndBan ? MF_ENABLED : MF_GRAYED;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | enabled, ID_CONNECTIONS_KICK, "Kick");
    AppendMenuA(menu, MF_STRING | enabled, ID_CONNECTIONS_BAN, "Ban");
    addedEntries_ = 3;
}

void ConnectionsWindow::RemoveRowEntries(HMENU menu) {
    for (; addedEntries_ > 0; --addedEntries_) DeleteMenu(menu, GetMenuItemCount(menu) - 1, MF_BYPOSITION);
}

bool ConnectionsWindow::OnListCommand(int command, std::optional<int> rowId) {
    switch (command) {
        case ID_CONNECTIONS_REFRESH: commands_.Refresh(); return true;
        case ID_CONNECTIONS_KICK:
            if (rowId) commands_.Kick(*rowId);
            return true;
        case ID_CONNECTIONS_BAN:
            if (rowId) {
                auto label = labels_.find(*rowId);
                commands_.Ban(*rowId, label != labels_.end() ? label->second : std::string());
            }
            return true;
        default: return false;
    }
}

}  // namespace vorlan::client
