#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "client/AdminLists.h"
#include "client/ClientViews.h"
#include "client/ui/AdminListWindow.h"

namespace vorlan::client {

// "Connections" (dialog 145): the server's connections as the admin's client
// knows them, users under "Admins" and "Normal", other connections by number.
// Its context menu (147) holds "Refresh", and "Kick" and "Ban" while a user
// row is selected.
class ConnectionsWindow : public AdminListWindow, public RemoteConnectionsView {
public:
    ConnectionsWindow(HINSTANCE instance, ClientSession& session);

    // RemoteConnectionsView
    bool IsOpen() const override { return AdminListWindow::IsOpen(); }
    void Close() override { AdminListWindow::Close(); }
    void ClearRows() override;
    void AddRow(const RemoteConnectionRow& row) override;

protected:
    void SendOpeningRequest() override { commands_.Opened(); }
    void AddRowEntries(HMENU menu, std::optional<int> rowId) override;
    void RemoveRowEntries(HMENU menu) override;
    bool OnListCommand(int command, std::optional<int> rowId) override;

private:
    ConnectionsCommands commands_;
    std::set<int> groups_;               // group rows already queued
    std::map<int, std::string> labels_;  // user id -> the row's text
    int addedEntries_ = 0;
};

}  // namespace vorlan::client
