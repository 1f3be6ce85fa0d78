#include "app/ui/OptionsDialog.h"

#include <array>

#include "app/MainCore.h"
#include "app/ui/OptionsDialogIds.h"

namespace vorlan::app {
namespace {

struct CheckBox {
    int id;
    bool OptionsForm::*flag;
};

// The fourteen check boxes and the option each one shows.
constexpr std::array<CheckBox, 14> kCheckBoxes{{
    {IDC_OPTIONS_CHECK_NEW_VERSION, &OptionsForm::checkForNewVersion},
    {IDC_OPTIONS_START_SERVER, &OptionsForm::startServer},
    {IDC_OPTIONS_CONNECT_TO_HOST, &OptionsForm::connectToHost},
    {IDC_OPTIONS_RECONNECT, &OptionsForm::reconnect},
    {IDC_OPTIONS_ENABLE_POPUP, &OptionsForm::enablePopup},
    {IDC_OPTIONS_POPUP_SOUND, &OptionsForm::enablePopupSound},
    {IDC_OPTIONS_MAIN_CHAT_LOGGING, &OptionsForm::mainChatLogging},
    {IDC_OPTIONS_MESSAGE_SOUND, &OptionsForm::messageSound},
    {IDC_OPTIONS_PRIVATE_CHAT_LOGGING, &OptionsForm::privateChatLogging},
    {IDC_OPTIONS_TIMESTAMPS, &OptionsForm::timestamps},
    {IDC_OPTIONS_OPEN_LINKS, &OptionsForm::openLinksOnClick},
    {IDC_OPTIONS_CLOSE_WHEN_COMPLETE, &OptionsForm::closeWhenComplete},
    {IDC_OPTIONS_SPECIFIED_BROWSER, &OptionsForm::useSpecifiedBrowser},
    {IDC_OPTIONS_INTERNET_EXPLORER, &OptionsForm::useInternetExplorer},
}};

}  // namespace

OptionsDialog::OptionsDialog(HINSTANCE instance, MainCore& core)
    : ModelessDialog(instance, IDD_OPTIONS), core_(core), menuOwner_(core.Options()) {}

bool OptionsDialog::OnInitDialog() {
    menuOwner_.SetWindow(handle());
    const conversation::ChatTextColours colours = conversation::ChatTextColoursFrom(core_.Colors());
    host_.Attach(GetDlgItem(handle(), IDC_OPTIONS_HOST), menuOwner_, colours);
    browserPath_.Attach(GetDlgItem(handle(), IDC_OPTIONS_BROWSER_PATH), menuOwner_, colours);
    Fill(OptionsFormFrom(core_.Options()));
    return true;
}

bool OptionsDialog::OnCommand(int id, int notification) {
    if (id == IDCANCEL) return false;
    // Clicks and menu commands; the text fields' change notifications need nothing.
    if (notification != BN_CLICKED || menuOwner_.HandleCommand(id)) return true;
    switch (id) {
        case IDC_OPTIONS_SPECIFIED_BROWSER:
        case IDC_OPTIONS_INTERNET_EXPLORER: OnBrowserChoice(id); break;
        case IDC_OPTIONS_BROWSE: OpenBrowse(); break;
        case IDC_OPTIONS_APPLY: Apply(); break;
        case IDC_OPTIONS_CANCEL: Close(); break;
        default: break;
    }
    return true;
}

void OptionsDialog::Fill(const OptionsForm& form) {
    for (const CheckBox& box : kCheckBoxes) {
        CheckDlgButton(handle(), box.id, form.*box.flag ? BST_CHECKED : BST_UNCHECKED);
    }
    host_.SetText(form.host);
    browserPath_.SetText(form.browserPath);
}

OptionsForm OptionsDialog::Read() const {
    OptionsForm form;
    for (const CheckBox& box : kCheckBoxes) {
        form.*box.flag = IsDlgButtonChecked(handle(), box.id) == BST_CHECKED;
    }
    form.host = host_.Text();
    form.browserPath = browserPath_.Text();
    return form;
}

void OptionsDialog::OnBrowserChoice(int id) {
    OptionsForm form = Read();
    if (id == IDC_OPTIONS_SPECIFIED_BROWSER) {
        ClickSpecifiedBrowser(form);
    } else {
        ClickInternetExplorer(form);
    }
    CheckDlgButton(handle(), IDC_OPTIONS_SPECIFIED_BROWSER, form.useSpecifiedBrowser ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(handle(), IDC_OPTIONS_INTERNET_EXPLORER, form.useInternetExplorer ? BST_CHECKED : BST_UNCHECKED);
}

void OptionsDialog::Apply() {
    ApplyOptionsForm(Read(), core_.Options());
    Close();
}

void OptionsDialog::OpenBrowse() {
    if (!browse_) {
        browse_ = std::make_unique<transfer::BrowseDialog>(instance(), core_.Options(), core_.Colors(),
                                                           static_cast<transfer::BrowseOwner&>(*this),
                                                           transfer::BrowseOwnerKind::Options, handle());
    }
    browse_->Open(transfer::BrowserPathFolder(browserPath_.Text()));
}

void OptionsDialog::TakeBrowseChoice(const transfer::BrowseChoice& choice) {
    if (IsOpen()) browserPath_.SetText(choice.target);
}

}  // namespace vorlan::app
