#include "app/ui/AboutDialog.h"

#include <shellapi.h>

#include <utility>

#include "app/ui/MainDialogIds.h"

namespace vorlan::app {

AboutDialog::AboutDialog(HINSTANCE instance, std::string homePage, std::function<std::string()> browserProgram)
    : ModelessDialog(instance, IDD_ABOUT_DIALOG),
      homePage_(std::move(homePage)),
      browserProgram_(std::move(browserProgram)) {}

bool AboutDialog::OnInitDialog() {
    SetDlgItemTextA(handle(), IDC_ABOUT_LINK, homePage_.c_str());
    return true;
}

bool AboutDialog::OnCommand(int id, int /*notification*/) {
    switch (id) {
        case IDC_ABOUT_LINK:
            OpenHomePage();
            Close();
            return true;
        case IDC_ABOUT_CLOSE:
        case IDOK: Close(); return true;
        default: return false;
    }
}

void AboutDialog::OpenHomePage() const {
    const std::string program = browserProgram_ ? browserProgram_() : std::string();
    if (program.empty()) {
        return;
    }
    // A browser that cannot be started is not reported.
    ShellExecuteA(nullptr, "open", program.c_str(), homePage_.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace vorlan::app
