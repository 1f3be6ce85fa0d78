#pragma once

#include <windows.h>

#include "conversation/ui/ChatTextControl.h"
#include "storage/Records.h"

namespace vorlan::conversation {

// The owner of the text controls of one window other than the main window (a
// private chat window, a settings dialog): their context menus send their
// commands to that window, which hands them back here for the control that
// opened the menu. Links open as the current options say.
class TextMenuOwner : public ChatTextOwner {
public:
    explicit TextMenuOwner(const storage::Options& options) : options_(options) {}

    // The window that receives the menus' commands; set when it is created.
    void SetWindow(HWND window) { window_ = window; }

    const storage::Options* LinkOptions() const override { return &options_; }
    void SetMenuTarget(ChatTextControl* control) override { target_ = control; }
    HWND CommandWindow() const override { return window_; }

    // The control whose menu is open, or null.
    ChatTextControl* MenuTarget() const { return target_; }
    // Runs "Navigate", "Cut", "Copy", "Paste", "Select all" or "Clear all" on the
    // menu's control; false for any other command.
    bool HandleCommand(int command);

private:
    const storage::Options& options_;
    HWND window_ = nullptr;
    ChatTextControl* target_ = nullptr;
};

}  // namespace vorlan::conversation
