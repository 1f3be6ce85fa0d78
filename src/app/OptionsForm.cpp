#include "app/OptionsForm.h"

#include <string_view>

#include "protocol/Text.h"

namespace vorlan::app {
namespace {

// `clicked` and `other` are the two browser choices.
void ClickBrowserChoice(bool& clicked, bool& other) {
    if (clicked) return;
    clicked = true;
    other = false;
}

}  // namespace

OptionsForm OptionsFormFrom(const storage::Options& options) {
    OptionsForm form;
    form.checkForNewVersion = options.checkForNewVersion;
    form.startServer = options.startServer;
    form.connectToHost = options.connectToHost;
    form.host = options.host;
    form.reconnect = options.reconnect;
    form.enablePopup = options.enablePopup;
    form.enablePopupSound = options.enablePopupSound;
    form.mainChatLogging = options.mainChatLogging;
    form.messageSound = options.messageSound;
    form.privateChatLogging = options.privateChatLogging;
    form.timestamps = options.timestamps;
    form.openLinksOnClick = options.openLinksOnClick;
    form.closeWhenComplete = options.closeWhenComplete;
    form.useSpecifiedBrowser = options.useSpecifiedBrowser;
    form.browserPath = options.browserPath;
    form.useInternetExplorer = options.useInternetExplorer;
    return form;
}

void ApplyOptionsForm(const OptionsForm& form, storage::Options& options) {
    options.checkForNewVersion = form.checkForNewVersion;
    options.startServer = form.startServer;
    options.connectToHost = form.connectToHost;
    options.host = protocol::Trim(form.host);
    options.reconnect = form.reconnect;
    options.enablePopup = form.enablePopup;
    options.enablePopupSound = form.enablePopupSound;
    options.mainChatLogging = form.mainChatLogging;
    options.messageSound = form.messageSound;
    options.privateChatLogging = form.privateChatLogging;
    options.timestamps = form.timestamps;
    options.openLinksOnClick = form.openLinksOnClick;
    options.closeWhenComplete = form.closeWhenComplete;
    options.useSpecifiedBrowser = form.useSpecifiedBrowser;
    options.browserPath = protocol::Trim(form.browserPath);
    options.useInternetExplorer = form.useInternetExplorer;
}

void ClickSpecifiedBrowser(OptionsForm& form) {
    ClickBrowserChoice(form.useSpecifiedBrowser, form.useInternetExplorer);
}

void ClickInternetExplorer(OptionsForm& form) {
    ClickBrowserChoice(form.useInternetExplorer, form.useSpecifiedBrowser);
}

}  // namespace vorlan::app
