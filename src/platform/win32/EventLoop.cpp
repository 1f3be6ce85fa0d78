#include "platform/EventLoop.h"

#include <algorithm>

#include "platform/win32/MessageWindow.h"
#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

namespace {

// Messages handled by one RunOnce at most, so that work that keeps posting
// more work still returns control to the caller.
constexpr int kMaxMessagesPerRun = 512;
// RunUntil looks at its condition at least this often, for conditions that
// change without a message (another thread, a child process).
constexpr int kRunUntilPollMs = 20;

bool& QuitRequested() {
    thread_local bool requested = false;
    return requested;
}

void DispatchWaitingMessages() {
    MSG message;
    for (int handled = 0; handled < kMaxMessagesPerRun && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (message.message == WM_QUIT) {
            // Meant for an outer message loop (a dialog's): leave it there.
            QuitRequested() = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

void EventLoop::RunOnce(int timeoutMs) {
    MessageWindow::Handle();
    const DWORD wait = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    DispatchWaitingMessages();
}

// A Quit made before Run (by a handler of an earlier RunOnce) ends it at once.
void EventLoop::Run() {
    while (!QuitRequested()) {
        RunOnce(-1);
    }
    QuitRequested() = false;
}

void EventLoop::Quit() {
    QuitRequested() = true;
    if (const HWND window = MessageWindow::Handle()) {
        PostMessageA(window, kWakeMessage, 0, 0);
    }
}

bool EventLoop::RunUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return done();
        }
        RunOnce(static_cast<int>(std::min<ULONGLONG>(deadline - now, kRunUntilPollMs)));
    }
    return true;
}

}  // namespace vorlan::platform
