#pragma once

#include <windows.h>

#include <vector>

namespace vorlan::ui {

// Keyboard navigation (Tab, Enter, Escape, mnemonics) for modeless dialogs.
// The program's only message loop is the main window's modal one, which calls
// IsDialogMessage for the main window alone; a message hook on this thread
// does the same for every modeless dialog that is open.
class ModelessKeyboard {
public:
    static void Add(HWND dialog);
    static void Remove(HWND dialog);

private:
    static ModelessKeyboard& ForThisThread();
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    bool Translate(MSG& message) const;

    std::vector<HWND> dialogs_;
    HHOOK hook_ = nullptr;
};

}  // namespace vorlan::ui
