#pragma once

#include <windows.h>

#include "ui/WindowSkin.h"

namespace vorlan::ui {

// Base of every dialog window built from a resource template. The static
// dialog procedure keeps `this` with the window from WM_INITDIALOG on and
// hands each message to HandleMessage of the derived class.
class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns the value given to End (-1: not created).
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND parent);
    // Creates the dialog modelessly (hidden unless its template says WS_VISIBLE);
    // Tab, Enter and Escape work in it as in a modal one.
    bool CreateModeless(HINSTANCE instance, int templateId, HWND parent);

    HWND handle() const { return handle_; }
    bool IsModal() const { return modal_; }

protected:
    // Returns TRUE when the message was handled (see DialogProc), FALSE for the default handling.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Called once the window is gone (WM_NCDESTROY); handle() is null by then.
    virtual void OnDestroyed() {}
    // How the skin draws this window: its panels and frames at the places the
    // window gives, or nothing when it paints itself.
    virtual DialogLook Look() const { return {}; }

    // Ends a modal dialog with `result`, or destroys a modeless one.
    void End(INT_PTR result);

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static Dialog* FromWindow(HWND window);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    bool modal_ = false;
};

}  // namespace vorlan::ui
