#include "client/ui/AddBanDialog.h"

#include "client/ClientSession.h"
#include "client/ui/AdminListIds.h"

namespace vorlan::client {

AddBanDialog::AddBanDialog(HINSTANCE instance, ClientSession& session, BanListCommands& commands)
    : ModelessDialog(instance, IDD_ADD_BAN), session_(session), commands_(commands), menuOwner_(session.options()) {}

bool AddBanDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const conversation::ChatTextColours colours{session_.Colour(storage::ColourIndex::TextBackground),
                                                session_.Colour(storage::ColourIndex::TextDefault)};
    address_.Attach(GetDlgItem(handle(), IDC_ADD_BAN_ADDRESS), menuOwner_, colours);
    description_.Attach(GetDlgItem(handle(), IDC_ADD_BAN_DESCRIPTION), menuOwner_, colours);
    address_.ApplyInputLimit(LimitBanField(""));
    description_.ApplyInputLimit(LimitBanField(""));
    return true;
}

bool AddBanDialog::OnCommand(int id, int notification) {
    if (id == IDCANCEL) return false;
    if (notification == EN_CHANGE) {
        if (id == IDC_ADD_BAN_ADDRESS) address_.ApplyInputLimit(LimitBanField(address_.Text()));
        if (id == IDC_ADD_BAN_DESCRIPTION) description_.ApplyInputLimit(LimitBanField(description_.Text()));
        return true;
    }
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return true;
    if (id == IDC_ADD_BAN_ADD) {
        Add();
    } else if (id == IDC_ADD_BAN_CANCEL) {
        Close();
    }
    return true;
}

void AddBanDialog::Add() {
    if (commands_.Add(address_.Text(), description_.Text())) {
        Close();
    } else {
        SetFocus(address_.handle());
    }
}

}  // namespace vorlan::client
