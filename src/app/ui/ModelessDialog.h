#pragma once

#include <windows.h>

#include "app/ui/Dialog.h"

namespace vorlan::ui {

// A window that exists at most once (options, profile, custom status, connect,
// about, info): created on first use with the desktop as parent, afterwards
// restored and brought to the front. The owner keeps one object for the
// program's life; destroying the object destroys its window (shut-down).
//
// A derived class handles WM_INITDIALOG (fill its controls) and calls Close()
// for its own "cancel" or "close"; the close box and Escape (IDCANCEL) close
// it unless the derived class handles them first.
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

    // Called by the derived HandleMessage for what it leaves alone: the close
    // box and IDCANCEL close the window.
    INT_PTR DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void ApplyIcons() const;

    HINSTANCE instance_;
    int templateId_;
    HICON smallIcon_ = nullptr;
    HICON largeIcon_ = nullptr;
};

}  // namespace vorlan::ui
