#pragma once

#include <windows.h>

#include "ui/ModelessDialog.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"

namespace vorlan::app {
class MainCore;
}

namespace vorlan::storage {

// "Custom" (dialog 144): a status text of one's own. "update" sets and sends
// it while connected; otherwise nothing happens and the dialog stays open.
class CustomStatusDialog : public ui::ModelessDialog {
public:
    CustomStatusDialog(HINSTANCE instance, app::MainCore& core);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void LimitField();
    void Update();

    app::MainCore& core_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl status_;
};

}  // namespace vorlan::storage
