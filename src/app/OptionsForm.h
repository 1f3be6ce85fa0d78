#pragma once

#include <string>

#include "storage/Records.h"

namespace vorlan::app {

// What the options dialog edits: lines 1-16 of the options file, as its
// fourteen check boxes and two text fields show them.
struct OptionsForm {
    bool checkForNewVersion = false;
    bool startServer = false;
    bool connectToHost = false;
    std::string host;
    bool reconnect = false;
    bool enablePopup = false;
    bool enablePopupSound = false;
    bool mainChatLogging = false;
    bool messageSound = false;
    bool privateChatLogging = false;
    bool timestamps = false;
    bool openLinksOnClick = false;
    bool closeWhenComplete = false;
    bool useSpecifiedBrowser = false;
    std::string browserPath;
    bool useInternetExplorer = false;
};

// The form filled from the current options when the dialog opens.
OptionsForm OptionsFormFrom(const storage::Options& options);

// "apply": the flags as they are, the host and the browser path with leading
// and trailing white space removed. Nothing else in `options` changes.
void ApplyOptionsForm(const OptionsForm& form, storage::Options& options);

// "Use specified browser" and "Use Internet Explorer" act as a pair of radio
// buttons that may both be off: a click on an unchecked one checks it and
// unchecks the other; a click on a checked one changes nothing.
void ClickSpecifiedBrowser(OptionsForm& form);
void ClickInternetExplorer(OptionsForm& form);

}  // namespace vorlan::app
