#pragma once

#include <windows.h>

#include "ui/ModelessDialog.h"
#include "client/ClientSession.h"
#include "conversation/ui/ChatTextControl.h"

namespace vorlan::client {

// "Connect to server" (dialog 131): a "Host:" field and three ways to connect.
// Each closes the dialog and leaves the connecting to the session; an empty
// host puts the focus back into the field.
class ConnectDialog : public ui::ModelessDialog {
public:
    ConnectDialog(HINSTANCE instance, ClientSession& session, conversation::ChatTextOwner& owner,
                  const conversation::ChatTextColours& colours);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void OnConnect();
    void OnMainServer(int which);

    ClientSession& session_;
    conversation::ChatTextOwner& owner_;
    conversation::ChatTextColours colours_;
    conversation::ChatTextControl host_;
};

}  // namespace vorlan::client
