#pragma once

#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

// Messages of the hidden window that carries the event loop's notifications.
inline constexpr UINT kSocketMessage = WM_APP + 0x100;    // wParam: SOCKET, lParam: event and error
inline constexpr UINT kDeferredMessage = WM_APP + 0x101;  // run the scheduled deferred tasks
inline constexpr UINT kWakeMessage = WM_APP + 0x102;      // only wakes a waiting loop

// A hidden message-only window per thread, created on first use. Winsock
// notifications, timers and deferred tasks are all delivered to it, so they
// arrive through the thread's ordinary message queue: a modal dialog's loop
// serves them just like EventLoop does.
class MessageWindow {
public:
    // nullptr when the window cannot be created.
    static HWND Handle();

private:
    static HWND Create();
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace vorlan::platform
