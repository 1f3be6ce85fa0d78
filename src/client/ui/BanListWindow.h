#pragma once

#include <windows.h>

#include <string>

#include "client/AdminLists.h"
#include "client/ClientViews.h"
#include "client/ui/AddBanDialog.h"
#include "client/ui/AdminListWindow.h"

namespace vorlan::client {

// "Ban list" (dialog 146): the server's bans, one row each, "address -
// description". Its context menu (148) holds "Refresh" and "Add", and
// "Remove" while a row is selected. It owns the "Add" dialog.
class BanListWindow : public AdminListWindow, public RemoteBanListView {
public:
    BanListWindow(HINSTANCE instance, ClientSession& session);

    // The Add dialog takes the same icons.
    void SetWindowIcons(HICON small, HICON large) {
        AdminListWindow::SetWindowIcons(small, large);
        add_.SetIcons(small, large);
    }
    void CloseAddDialog() { add_.Close(); }

    // RemoteBanListView. The client closes the window when the admin loses
    // its rights or the connection: the Add dialog goes with it.
    bool IsOpen() const override { return AdminListWindow::IsOpen(); }
    void Close() override;
    void ClearRows() override { ClearTree(); }
    void AddRow(int banId, const std::string& label) override;

protected:
    void SendOpeningRequest() override { commands_.Opened(); }
    void AddRowEntries(HMENU menu, std::optional<int> rowId) override;
    void RemoveRowEntries(HMENU menu) override;
    bool OnListCommand(int command, std::optional<int> rowId) override;

private:
    BanListCommands commands_;
    AddBanDialog add_;
    bool removeEntry_ = false;
};

}  // namespace vorlan::client
