#include "platform/win32/MessageWindow.h"

#include "platform/win32/DeferredQueue.h"
#include "platform/win32/SocketBackend.h"
#include "platform/win32/TimerQueue.h"

namespace vorlan::platform {

namespace {

constexpr const char* kClassName = "VorlanEventWindow";

// Socket notifications handled in one turn at most (about one per client of a
// full server), so that a flood cannot hold timers and deferred tasks back.
constexpr int kMaxNotificationsPerTurn = 1024;

bool& TurnInProgress() {
    thread_local bool inProgress = false;
    return inProgress;
}

// Ends a turn of the loop the way the POSIX loop ends a round: the socket
// notifications that are already waiting are handled first, then the timers
// that are due, then the deferred tasks. Work produced by a burst on many
// sockets therefore leaves in one flush, and timers keep their time while the
// queue never empties (Windows only makes WM_TIMER when nothing is posted).
// A handler that runs a loop of its own gets its timers and tasks from their
// messages; the outer turn ends the usual way when the handler returns.
void FinishTurn(HWND window) {
    bool& inProgress = TurnInProgress();
    if (inProgress) {
        return;
    }
    inProgress = true;
    MSG message;
    for (int handled = 0; handled < kMaxNotificationsPerTurn &&
                          PeekMessageA(&message, window, kSocketMessage, kSocketMessage, PM_REMOVE | PM_NOYIELD);
         ++handled) {
        SocketBackend::Dispatch(static_cast<SOCKET>(message.wParam), message.lParam);
    }
    TimerQueue::ForThisThread().RunDue();
    DeferredQueue::ForThisThread().RunScheduled();
    inProgress = false;
}

}  // namespace

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
        case kSocketMessage:
            SocketBackend::Dispatch(static_cast<SOCKET>(wParam), lParam);
            FinishTurn(window);
            return 0;
        case WM_TIMER:
            TimerQueue::ForThisThread().Check(wParam);
            TurnInProgress() ? TimerQueue::ForThisThread().RunDue() : FinishTurn(window);
            return 0;
        case kDeferredMessage:
            DeferredQueue::ForThisThread().NotePostedMessageTaken();
            TurnInProgress() ? DeferredQueue::ForThisThread().RunScheduled() : FinishTurn(window);
            return 0;
        case kWakeMessage: return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace vorlan::platform
