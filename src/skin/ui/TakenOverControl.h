#pragma once

#include <windows.h>

#include <string>

namespace vorlan::skin {

// A system control whose window procedure an object of ours takes over. The
// window owns the object: it is deleted at WM_NCDESTROY, once the control's
// own procedure is back in place. Derived names its window property
// (kProperty) and handles messages in Handle, passing on what it leaves to
// Original.
template <typename Derived>
class TakenOverControl {
protected:
    explicit TakenOverControl(HWND window) : window_(window) {}

    static void TakeOver(Derived* control) {
        SetPropA(control->window_, Derived::kProperty, control);
        control->original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control->window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
        InvalidateRect(control->window_, nullptr, TRUE);
    }

    LRESULT Original(UINT message, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcA(original_, window_, message, wParam, lParam);
    }

    // Paints through an off-screen bitmap, so that the control never flickers
    // through its parts; draw(dc, clientArea) does the drawing.
    template <typename Draw>
    void PaintBuffered(Draw&& draw) const {
        PAINTSTRUCT paint{};
        HDC screen = BeginPaint(window_, &paint);
        RECT area{};
        GetClientRect(window_, &area);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
        if (memory != nullptr && bitmap != nullptr) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            draw(memory, area);
            BitBlt(screen, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
        } else {
            draw(screen, area);
        }
        if (bitmap != nullptr) DeleteObject(bitmap);
        if (memory != nullptr) DeleteDC(memory);
        EndPaint(window_, &paint);
    }

    std::string Text() const {
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window_)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(window_, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    HWND window_;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* control = static_cast<Derived*>(GetPropA(window, Derived::kProperty));
        if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            const WNDPROC original = control->original_;
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            RemovePropA(window, Derived::kProperty);
            delete control;
            return CallWindowProcA(original, window, message, wParam, lParam);
        }
        return control->Handle(message, wParam, lParam);
    }

    WNDPROC original_ = nullptr;
};

}  // namespace vorlan::skin
