#pragma once

#include <windows.h>

#include "app/OptionsForm.h"
#include "ui/ModelessDialog.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"

namespace vorlan::app {

class MainCore;

// "Options" (dialog 139): lines 1-16 of the options file as fourteen check
// boxes, the host and the browser path. "apply" copies them into the options
// in memory; they take effect where they are next read.
class OptionsDialog : public ui::ModelessDialog {
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

    MainCore& core_;
    conversation::TextMenuOwner menuOwner_;
    conversation::ChatTextControl host_;
    conversation::ChatTextControl browserPath_;
};

}  // namespace vorlan::app
