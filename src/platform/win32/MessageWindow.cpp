#include "platform/win32/MessageWindow.h"

#include "platform/win32/DeferredQueue.h"
#include "platform/win32/SocketBackend.h"
#include "platform/win32/TimerQueue.h"

namespace vorlan::platform {

namespace {
constexpr const char* kClassName = "VorlanEventWindow";
}

HWND MessageWindow::Handle() {
    thread_local HWND window = Create();
    return window;
}

HWND MessageWindow::Create() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &MessageWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    // A second thread finds the class registered already; that is fine.
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kSocketMessage: SocketBackend::Dispatch(static_cast<SOCKET>(wParam), lParam); return 0;
        case WM_TIMER: TimerQueue::ForThisThread().Dispatch(wParam); return 0;
        case kDeferredMessage: DeferredQueue::ForThisThread().RunScheduled(); return 0;
        case kWakeMessage: return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace vorlan::platform
