#include "app/ui/MainDialog.h"

#include "app/ui/MainDialogIds.h"

namespace vorlan::app {

namespace {
// The outer size of the window until the options give one.
constexpr int kDefaultWidth = 700;
constexpr int kDefaultHeight = 500;
}  // namespace

MainDialog::MainDialog(HINSTANCE instance) : instance_(instance) {}

INT_PTR MainDialog::Run() {
    return RunModal(instance_, IDD_MAIN_DIALOG, nullptr);
}

INT_PTR MainDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        End(0);
        return TRUE;
    default:
        return FALSE;
    }
}

void MainDialog::OnInitDialog() {
    PlaceAtDefaultSize();
}

void MainDialog::OnCommand(int commandId) {
    switch (commandId) {
    case IDCANCEL:  // the Escape key
    case ID_EXIT:
        End(0);
        break;
    default:
        break;
    }
}

// Centred on the work area of the primary monitor.
void MainDialog::PlaceAtDefaultSize() {
    RECT workArea{0, 0, kDefaultWidth, kDefaultHeight};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const int left = workArea.left + (workArea.right - workArea.left - kDefaultWidth) / 2;
    const int top = workArea.top + (workArea.bottom - workArea.top - kDefaultHeight) / 2;
    SetWindowPos(handle(), nullptr, left > 0 ? left : 0, top > 0 ? top : 0, kDefaultWidth, kDefaultHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vorlan::app
