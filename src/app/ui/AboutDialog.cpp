#include "app/ui/AboutDialog.h"

#include <shellapi.h>

#include "app/ui/MainDialogIds.h"
#include "conversation/BrowserLaunch.h"

namespace vorlan::app {

AboutDialog::AboutDialog(HINSTANCE instance, const storage::Options& options)
    : ModelessDialog(instance, IDD_ABOUT_DIALOG), options_(options) {}

bool AboutDialog::OnInitDialog() {
    SetDlgItemTextA(handle(), IDC_ABOUT_LINK, kHomePage);
    return true;
}

bool AboutDialog::OnCommand(int id, int /*notification*/) {
    switch (id) {
        case IDC_ABOUT_LINK:
            OpenWebPage(options_, kHomePage);
            Close();
            return true;
        case IDC_ABOUT_CLOSE:
        case IDOK: Close(); return true;
        default: return false;
    }
}

void AboutDialog::OpenWebPage(const storage::Options& options, const char* address) {
    const auto launch = conversation::BrowserLaunchFor(options, address, conversation::OpenRequest::Command);
    if (!launch) {
        return;
    }
    // A browser that cannot be started is not reported.
    ShellExecuteA(nullptr, "open", launch->program.c_str(), launch->argument.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace vorlan::app
