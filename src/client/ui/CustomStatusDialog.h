#pragma once

#include <windows.h>

#include "ui/ModelessDialog.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"

namespace vorlan::client {

class ClientSession;

// "Custom" (dialog 144): a status text of one's own. "update" sets and sends
// it while connected; otherwise nothing happens and the dialog stays open.
class CustomStatusDialog : public ui::ModelessDialog {
public:
    CustomStatusDialog(HINSTANCE instance, ClientSession& session);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void LimitField();
    void Update();

    ClientSession& session_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl status_;
};

}  // namespace vorlan::client
