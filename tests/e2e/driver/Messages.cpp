#include "Messages.h"

bool Messages::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DWORD_PTR answer = 0;
    const LRESULT ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &answer);
    result = static_cast<LRESULT>(answer);
    return ok != 0;
}

bool Messages::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT ignored = 0;
    return Send(window, message, wParam, lParam, ignored);
}
