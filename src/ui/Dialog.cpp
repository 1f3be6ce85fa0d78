#include "ui/Dialog.h"

#include "ui/ModelessKeyboard.h"

namespace vorlan::ui {

// The window may outlive the object only as a modeless dialog; it is let go
// first, so that its last messages no longer reach this half-destroyed object.
Dialog::~Dialog() {
    if (handle_ != nullptr && !modal_) {
        SetWindowLongPtrA(handle_, DWLP_USER, 0);
        ModelessKeyboard::Remove(handle_);
        DestroyWindow(handle_);
    }
}

INT_PTR Dialog::RunModal(HINSTANCE instance, int templateId, HWND parent) {
    modal_ = true;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HINSTANCE instance, int templateId, HWND parent) {
    modal_ = false;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, &Dialog::Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
    if (handle_ == nullptr) {
        return;
    }
    if (modal_) {
        EndDialog(handle_, result);
    } else {
        DestroyWindow(handle_);
    }
}

Dialog* Dialog::FromWindow(HWND window) { return reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER)); }

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        dialog->handle_ = window;
        if (!dialog->modal_) {
            ModelessKeyboard::Add(window);
        }
        const INT_PTR result = dialog->HandleMessage(message, wParam, lParam);
        if (WindowSkin* skin = InstalledWindowSkin(); skin != nullptr && dialog->Look().skinned) {
            skin->DressDialog(window);
        }
        return result;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, ...) get the default handling.
    Dialog* dialog = FromWindow(window);
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        if (!dialog->modal_) {
            ModelessKeyboard::Remove(window);
        }
        dialog->HandleMessage(message, wParam, lParam);
        dialog->handle_ = nullptr;
        dialog->OnDestroyed();
        return FALSE;
    }
    return dialog->Dispatch(message, wParam, lParam);
}

// What the window's own handler leaves to the default, the skin may draw.
INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const INT_PTR result = HandleMessage(message, wParam, lParam);
    WindowSkin* skin = InstalledWindowSkin();
    if (skin == nullptr || handle_ == nullptr) {
        return result;
    }
    switch (message) {
        case WM_SIZE: break;  // whatever the window did, the stretched background is redrawn
        case WM_ERASEBKGND:
        case WM_PAINT:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (result != FALSE) return result;
            break;
        default: return result;
    }
    const DialogLook look = Look();
    if (!look.skinned) {
        return result;
    }
    const std::optional<INT_PTR> skinned = skin->DialogMessage(handle_, look, message, wParam, lParam);
    return message == WM_SIZE ? result : skinned.value_or(result);
}

}  // namespace vorlan::ui
