#include "client/ui/BanListWindow.h"

#include "client/ClientSession.h"
#include "client/ui/AdminListIds.h"

namespace vorlan::client {
namespace {

constexpr UINT kRemovePosition = 3;  // after "Refresh", the separator and "Add"

}  // namespace

BanListWindow::BanListWindow(HINSTANCE instance, ClientSession& session)
    : AdminListWindow(instance, session, AdminWindow::BanList, IDD_BAN_LIST, IDR_BAN_LIST_MENU),
      commands_(session, *this),
      add_(instance, session, commands_) {}

void BanListWindow::Close() {
    add_.Close();
    AdminListWindow::Close();
}

void BanListWindow::AddRow(int banId, const std::string& label) {
    QueueRow({banId, std::nullopt, std::nullopt, label, session().Colour(storage::ColourIndex::TreeText), false});
}

void BanListWindow::AddRowEntries(HMENU menu, std::optional<int> rowId) {
    removeEntry_ = rowId.has_value();
    if (removeEntry_) InsertMenuA(menu, kRemovePosition, MF_BYPOSITION | MF_STRING, ID_BAN_LIST_REMOVE, "Remove");
}

void BanListWindow::RemoveRowEntries(HMENU menu) {
    if (removeEntry_) DeleteMenu(menu, ID_BAN_LIST_REMOVE, MF_BYCOMMAND);
    removeEntry_ = false;
}

bool BanListWindow::OnListCommand(int command, std::optional<int> rowId) {
    switch (command) {
        case ID_BAN_LIST_REFRESH: commands_.Refresh(); return true;
        case ID_BAN_LIST_ADD: add_.Show(); return true;
        case ID_BAN_LIST_REMOVE:
            if (rowId) commands_.Remove(*rowId);
            return true;
        default: return false;
    }
}

}  // namespace vorlan::client
