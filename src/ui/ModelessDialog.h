#pragma once

#include <windows.h>

#include "ui/Dialog.h"

namespace vorlan::ui {

// A window that exists at most once (options, profile, custom status, connect,
// about, info): created on first use with the desktop as parent, afterwards
// restored and brought to the front. The owner keeps one object for the
// program's life; destroying the object destroys its window (shut-down).
//
// A derived class fills its controls in OnInitDialog, acts on its buttons and
// fields in OnCommand and calls Close() for its own "cancel" or "close"; the
// close box and Escape (IDCANCEL) close it unless OnCommand handles them.
class ModelessDialog : public Dialog {
public:
    ModelessDialog(HINSTANCE instance, int templateId);

    // Creates and shows the window, or restores it and brings it to the front.
    // False when the window could not be created.
    bool Show();
    // Destroys the window if it is open; the next Show creates it anew.
    void Close();
    bool IsOpen() const { return handle() != nullptr; }
    // The program's icons for the window's caption and task bar button, given
    // to the window each time it is created (null: the system's).
    void SetIcons(HICON small, HICON large) {
        smallIcon_ = small;
        largeIcon_ = large;
    }

protected:
    HINSTANCE instance() const { return instance_; }

    // WM_INITDIALOG: false when it gave a control the focus itself.
    virtual bool OnInitDialog() { return true; }
    // WM_COMMAND from a control or a menu: false for what it leaves alone.
    virtual bool OnCommand(int /*id*/, int /*notification*/) { return false; }

    // Dispatches to the two handlers above; a derived class that needs other
    // messages overrides this and passes the rest on.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // What no handler took: the close box and IDCANCEL close the window.
    INT_PTR DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void ApplyIcons() const;

    HINSTANCE instance_;
    int templateId_;
    HICON smallIcon_ = nullptr;
    HICON largeIcon_ = nullptr;
};

}  // namespace vorlan::ui
