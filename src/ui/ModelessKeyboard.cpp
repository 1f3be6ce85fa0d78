#include "ui/ModelessKeyboard.h"

#include <algorithm>

namespace vorlan::ui {

ModelessKeyboard& ModelessKeyboard::ForThisThread() {
    thread_local ModelessKeyboard keyboard;
    return keyboard;
}

void ModelessKeyboard::Add(HWND dialog) {
    ModelessKeyboard& keyboard = ForThisThread();
    keyboard.dialogs_.push_back(dialog);
    if (keyboard.hook_ == nullptr) {
        keyboard.hook_ = SetWindowsHookExA(WH_GETMESSAGE, &ModelessKeyboard::Hook, nullptr, GetCurrentThreadId());
    }
}

void ModelessKeyboard::Remove(HWND dialog) {
    ModelessKeyboard& keyboard = ForThisThread();
    auto& dialogs = keyboard.dialogs_;
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
    if (dialogs.empty() && keyboard.hook_ != nullptr) {
        UnhookWindowsHookEx(keyboard.hook_);
        keyboard.hook_ = nullptr;
    }
}

bool ModelessKeyboard::Translate(MSG& message) const {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    for (HWND dialog : dialogs_) {
        if ((message.hwnd == dialog || IsChild(dialog, message.hwnd)) && IsDialogMessageA(dialog, &message)) {
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK ModelessKeyboard::Hook(int code, WPARAM wParam, LPARAM lParam) {
    ModelessKeyboard& keyboard = ForThisThread();
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        auto& message = *reinterpret_cast<MSG*>(lParam);
        if (keyboard.Translate(message)) {
            // Handled: the loop that fetched it now sees a message that does nothing.
            message.message = WM_NULL;
            message.wParam = 0;
            message.lParam = 0;
        }
    }
    return CallNextHookEx(keyboard.hook_, code, wParam, lParam);
}

}  // namespace vorlan::ui
