#pragma once

#include <windows.h>

#include <memory>

#include "app/OptionsForm.h"
#include "transfer/ui/BrowseDialog.h"
#include "ui/ModelessDialog.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"

namespace vorlan::app {

class MainCore;

// "Options" (dialog 139): lines 1-16 of the options file as fourteen check
// boxes, the host and the browser path. "apply" copies them into the options
// in memory; they take effect where they are next read.
class OptionsDialog : public ui::ModelessDialog, private transfer::BrowseOwner {
public:
    OptionsDialog(HINSTANCE instance, MainCore& core);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    void Fill(const OptionsForm& form);
    OptionsForm Read() const;
    void OnBrowserChoice(int id);
    void Apply();
    // "...": the "Browse" dialog picks the browser program.
    void OpenBrowse();
    void TakeBrowseChoice(const transfer::BrowseChoice& choice) override;

    MainCore& core_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl host_;
    conversation::ChatTextControl browserPath_;
    std::unique_ptr<transfer::BrowseDialog> browse_;
};

}  // namespace vorlan::app
