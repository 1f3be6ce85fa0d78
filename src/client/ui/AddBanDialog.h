#pragma once

#include <windows.h>

#include "client/AdminLists.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"
#include "ui/ModelessDialog.h"

namespace vorlan::client {

class ClientSession;

// "Add" (dialog 150), owned by the Ban list window: an address and a
// description of at most 200 characters each, never holding SEP. "add" sends
// the entry and closes, unless the address is blank: then the focus goes back
// into it.
class AddBanDialog : public ui::ModelessDialog {
public:
    AddBanDialog(HINSTANCE instance, ClientSession& session, BanListCommands& commands);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void Add();

    ClientSession& session_;
    BanListCommands& commands_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl address_;
    conversation::ChatTextControl description_;
};

}  // namespace vorlan::client
