#pragma once

#include <windows.h>

// Window messages to other processes that never block the driver for long:
// a hung or busy target makes the call fail instead.
class Messages {
public:
    static constexpr UINT kTimeoutMs = 5000;

    // SendMessageTimeout; false when it timed out or the window is gone.
    static bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
