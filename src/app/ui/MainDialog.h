#pragma once

#include <windows.h>

#include "app/ui/Dialog.h"

namespace vorlan::app {

// The main window (dialog 102 with the main menu 130). The program's whole
// life is this modal dialog: when it ends, the program ends.
class MainDialog : public ui::Dialog {
public:
    explicit MainDialog(HINSTANCE instance);

    // Shows the window and returns when it has closed.
    INT_PTR Run();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    void OnCommand(int commandId);
    void PlaceAtDefaultSize();

    HINSTANCE instance_;
};

}  // namespace vorlan::app
