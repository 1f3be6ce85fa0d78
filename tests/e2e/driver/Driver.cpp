#include "Driver.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "Messages.h"
#include "RemoteTree.h"
#include "WindowFinder.h"

namespace {

bool Number(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 0);
    return end != nullptr && *end == '\0';
}

std::string Hex(const void* handle) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)));
    return text;
}

std::string RectText(const RECT& rect) {
    return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           " " + std::to_string(rect.bottom - rect.top);
}

// A rectangle of a child in its parent's client coordinates.
RECT RectInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Usage(const char* text, std::string& out) {
    out = std::string("usage: ") + text;
    return false;
}

// Window text through WM_GETTEXT, which the system carries across processes.
bool ReadText(HWND window, std::string& text) {
    LRESULT length = 0;
    if (!Messages::Send(window, WM_GETTEXTLENGTH, 0, 0, length)) return false;
    std::string buffer(static_cast<size_t>(length) * 2 + 16, '\0');
    LRESULT copied = 0;
    if (!Messages::Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), copied)) return false;
    buffer.resize(static_cast<size_t>(copied) <= buffer.size() ? static_cast<size_t>(copied) : buffer.size());
    text = buffer.c_str();
    return true;
}

struct ChildList {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
    reinterpret_cast<ChildList*>(context)->windows.push_back(window);
    return TRUE;
}

}  // namespace

bool Driver::Run(std::vector<std::string> words, std::string& out) {
    pid_ = 0;
    withMenu_ = false;
    waitMs_ = 3000;
    size_t next = 0;
    while (next + 1 < words.size() && words[next].rfind("--", 0) == 0) {
        long long value = 0;
        if (!Number(words[next + 1], value)) return Usage("--pid N | --wait MS | --with-menu 1 before the command", out);
        if (words[next] == "--pid") {
            pid_ = static_cast<DWORD>(value);
        } else if (words[next] == "--with-menu") {
            withMenu_ = value != 0;
        } else if (words[next] == "--wait") {
            waitMs_ = static_cast<DWORD>(value);
        } else {
            out = "unknown option " + words[next];
            return false;
        }
        next += 2;
    }
    if (next >= words.size()) return Usage("vorlan-driver [--pid N] [--wait MS] COMMAND ARGS...", out);
    const std::string command = words[next];
    std::vector<std::string> args(words.begin() + static_cast<long>(next) + 1, words.end());
    return Dispatch(command, args, out);
}

bool Driver::Dispatch(const std::string& command, const std::vector<std::string>& args, std::string& out) {
    if (command == "launch") return Launch(args, out);
    if (command == "wait-window") return WaitWindow(args, out);
    if (command == "wait-gone") return WaitGone(args, out);
    if (command == "exists") return Exists(args, out);
    if (command == "has-control") return HasControl(args, out);
    if (command == "set-text") return SetText(args, out);
    if (command == "press") return Press(args, out);
    if (command == "click") return Click(args, out);
    if (command == "key") return Key(args, out);
    if (command == "type-chars") return TypeChars(args, out);
    if (command == "end-session") return EndSession(args, out);
    if (command == "menu") return Menu(args, out);
    if (command == "menu-item") return MenuItem(args, out);
    if (command == "get-text") return GetText(args, out);
    if (command == "get-check") return GetCheck(args, out);
    if (command == "tree-items") return TreeItems(args, out);
    if (command == "tree-select") return TreeSelect(args, out, false);
    if (command == "tree-dblclick") return TreeSelect(args, out, true);
    if (command == "close") return Close(args, out, false);
    if (command == "sys-close") return Close(args, out, true);
    if (command == "is-visible") return IsVisible(args, out);
    if (command == "list-windows") return ListWindows(out);
    if (command == "foreground") return Foreground(out);
    if (command == "activate") return Activate(args, out);
    if (command == "children") return Children(args, out);
    if (command == "rect") return Rect(args, out);
    if (command == "move") return Move(args, out);
    if (command == "resize") return Resize(args, out);
    if (command == "syscommand") return SysCommand(args, out);
    if (command == "wait-exit") return WaitExit(args, out);
    if (command == "kill") return Kill(args, out);
    if (command == "has-resource") return HasResource(args, out);
    out = "unknown command " + command;
    return false;
}

bool Driver::Window(const std::string& caption, HWND& window, std::string& out) {
    window = WindowFinder::Wait({caption, pid_, withMenu_}, waitMs_);
    if (window == nullptr) {
        out = "no window \"" + caption + "\"" + (pid_ != 0 ? " of process " + std::to_string(pid_) : "");
        return false;
    }
    return true;
}

bool Driver::ControlOf(const std::string& caption, const std::string& id, HWND& window, HWND& control,
                       std::string& out) {
    long long number = 0;
    if (!Number(id, number)) {
        out = "control id must be a number: " + id;
        return false;
    }
    if (!Window(caption, window, out)) return false;
    control = WindowFinder::Control(window, static_cast<int>(number));
    if (control == nullptr) {
        out = "no control " + id + " in \"" + caption + "\"";
        return false;
    }
    return true;
}

bool Driver::Launch(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("launch FOLDER [PROGRAM.exe]", out);
    const std::string folder = args[0];
    const std::string program = folder + "\\" + (args.size() > 1 ? args[1] : "Vorlan.exe");
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        out = "cannot start " + program + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    out = std::to_string(process.dwProcessId);
    return true;
}

bool Driver::WaitWindow(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("wait-window CAPTION [TIMEOUT_MS]", out);
    long long timeout = 0;
    if (args.size() > 1 && Number(args[1], timeout)) waitMs_ = static_cast<DWORD>(timeout);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    out = Hex(window) + "\t" + std::to_string(WindowFinder::ProcessOf(window)) + "\t" + WindowFinder::Caption(window);
    return true;
}

bool Driver::WaitGone(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("wait-gone CAPTION [TIMEOUT_MS]", out);
    long long timeout = waitMs_;
    if (args.size() > 1) Number(args[1], timeout);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout);
    while (WindowFinder::Find({args[0], pid_, withMenu_}) != nullptr) {
        if (GetTickCount64() >= deadline) {
            out = "window \"" + args[0] + "\" still exists";
            return false;
        }
        Sleep(50);
    }
    out = "gone";
    return true;
}

bool Driver::Exists(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("exists CAPTION", out);
    HWND window = WindowFinder::Wait({args[0], pid_, withMenu_}, waitMs_);
    out = window != nullptr ? "yes\t" + WindowFinder::Caption(window) : "no";
    return true;
}

bool Driver::HasControl(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("has-control CAPTION ID", out);
    HWND window = nullptr;
    HWND control = nullptr;
    std::string reason;
    const bool found = ControlOf(args[0], args[1], window, control, reason);
    out = found ? "yes\t" + WindowFinder::ClassName(control) : "no";
    return true;
}

bool Driver::SetText(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 3) return Usage("set-text CAPTION ID TEXT", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    if (!Messages::Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str()))) {
        out = "WM_SETTEXT timed out";
        return false;
    }
    // As after typing: the owner filters the text on its change notification.
    const int id = GetDlgCtrlID(control);
    Messages::Send(GetParent(control), WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(control));
    std::string now;
    ReadText(control, now);
    out = now;
    return true;
}

bool Driver::Press(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("press CAPTION ID", out);
    long long id = 0;
    if (!Number(args[1], id)) return Usage("press CAPTION ID", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    HWND control = WindowFinder::Control(window, static_cast<int>(id));
    HWND owner = control != nullptr ? GetParent(control) : window;
    if (!Messages::Send(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                        reinterpret_cast<LPARAM>(control))) {
        out = "WM_COMMAND timed out";
        return false;
    }
    out = control != nullptr ? "pressed" : "pressed (no such control; command sent to the window)";
    return true;
}

bool Driver::Click(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("click CAPTION ID", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    if (!Messages::Send(control, BM_CLICK, 0, 0)) {
        out = "BM_CLICK timed out";
        return false;
    }
    out = "clicked";
    return true;
}

bool Driver::Key(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 3) return Usage("key CAPTION ID VIRTUAL_KEY", out);
    long long key = 0;
    if (!Number(args[2], key)) return Usage("key CAPTION ID VIRTUAL_KEY", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    // Posted, not sent: the target's message loop sees it as keyboard input
    // and its dialog handling (Enter, Escape) runs as for a real key.
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageA(control, WM_KEYDOWN, static_cast<WPARAM>(key), 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageA(control, WM_KEYUP, static_cast<WPARAM>(key),
                 1 | (static_cast<LPARAM>(scan) << 16) | (static_cast<LPARAM>(3) << 30));
    out = "posted";
    return true;
}

bool Driver::TypeChars(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 3) return Usage("type-chars CAPTION ID TEXT", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    // One posted character at a time, as the keyboard delivers them: the
    // control applies its length limit and notifies every change.
    for (unsigned char c : args[2]) {
        if (!PostMessageA(control, WM_CHAR, c, 1)) {
            out = "PostMessage failed";
            return false;
        }
    }
    out = "posted";  // the target handles them in its own time
    return true;
}

bool Driver::EndSession(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("end-session CAPTION", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    LRESULT agreed = 0;
    Messages::Send(window, WM_QUERYENDSESSION, 0, 0, agreed);
    Messages::Send(window, WM_ENDSESSION, TRUE, 0);
    out = agreed != 0 ? "ended (the window agreed)" : "ended (the window refused the query)";
    return true;
}

bool Driver::Menu(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("menu CAPTION COMMAND_ID", out);
    long long id = 0;
    if (!Number(args[1], id)) return Usage("menu CAPTION COMMAND_ID", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    if (!Messages::Send(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0)) {
        // The window may have ended the program while handling the command.
        out = IsWindow(window) ? "WM_COMMAND timed out" : "sent; the window is gone";
        return !IsWindow(window);
    }
    out = "sent";
    return true;
}

bool Driver::MenuItem(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("menu-item CAPTION COMMAND_ID", out);
    long long id = 0;
    if (!Number(args[1], id)) return Usage("menu-item CAPTION COMMAND_ID", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    HMENU menu = GetMenu(window);
    if (menu == nullptr) {
        out = "the window has no menu";
        return false;
    }
    char text[256] = {};
    if (GetMenuStringA(menu, static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND) == 0 &&
        GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) == static_cast<UINT>(-1)) {
        out = "no menu item " + args[1];
        return false;
    }
    const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
    out = std::string(text) + "\t" + ((state & MF_GRAYED) != 0 ? "grey" : "enabled") +
          ((state & MF_CHECKED) != 0 ? "\tchecked" : "");
    return true;
}

bool Driver::GetText(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("get-text CAPTION ID (0: the caption)", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (args[1] == "0") {
        if (!Window(args[0], window, out)) return false;
        out = WindowFinder::Caption(window);
        return true;
    }
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    if (!ReadText(control, out)) {
        out = "WM_GETTEXT timed out";
        return false;
    }
    return true;
}

bool Driver::GetCheck(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("get-check CAPTION ID", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    LRESULT state = 0;
    if (!Messages::Send(control, BM_GETCHECK, 0, 0, state)) {
        out = "BM_GETCHECK timed out";
        return false;
    }
    out = std::to_string(state);
    return true;
}

bool Driver::TreeItems(const std::vector<std::string>& args, std::string& out) {
    if (args.size() < 2) return Usage("tree-items CAPTION ID", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    RemoteTree tree(control);
    if (!tree.Usable()) {
        out = "cannot reach the memory of the tree's process";
        return false;
    }
    out.clear();
    for (const RemoteTree::Item& item : tree.Items()) {
        out += std::to_string(item.depth) + "\t" + item.label + (item.selected ? "\tselected" : "") + "\n";
    }
    return true;
}

bool Driver::TreeSelect(const std::vector<std::string>& args, std::string& out, bool doubleClick) {
    if (args.size() < 3) return Usage("tree-select|tree-dblclick CAPTION ID LABEL", out);
    HWND window = nullptr;
    HWND control = nullptr;
    if (!ControlOf(args[0], args[1], window, control, out)) return false;
    RemoteTree tree(control);
    const std::string& label = args[2];
    for (const RemoteTree::Item& item : tree.Items()) {
        if (item.label != label && item.label.rfind(label, 0) != 0) continue;
        if (!tree.Select(item.handle)) {
            out = "TVM_SELECTITEM failed";
            return false;
        }
        if (doubleClick) {
            RECT rect{};
            if (!tree.ItemRect(item.handle, rect)) {
                out = "TVM_GETITEMRECT failed";
                return false;
            }
            const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
            PostMessageA(control, WM_LBUTTONUP, 0, point);
            PostMessageA(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
            PostMessageA(control, WM_LBUTTONUP, 0, point);
        }
        out = item.label;
        return true;
    }
    out = "no item \"" + label + "\"";
    return false;
}

bool Driver::Close(const std::vector<std::string>& args, std::string& out, bool systemCommand) {
    if (args.empty()) return Usage("close CAPTION", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    const bool sent = systemCommand ? Messages::Send(window, WM_SYSCOMMAND, SC_CLOSE, 0)
                                    : Messages::Send(window, WM_CLOSE, 0, 0);
    if (!sent && IsWindow(window)) {
        out = "close timed out";
        return false;
    }
    out = "closed";
    return true;
}

bool Driver::IsVisible(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("is-visible CAPTION", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    out = !IsWindowVisible(window) ? "hidden" : IsIconic(window) ? "minimized" : IsZoomed(window) ? "maximized" : "visible";
    return true;
}

bool Driver::ListWindows(std::string& out) {
    out.clear();
    for (HWND window : WindowFinder::AllTopLevel()) {
        if (pid_ != 0 && WindowFinder::ProcessOf(window) != pid_) continue;
        RECT rect{};
        GetWindowRect(window, &rect);
        out += Hex(window) + "\t" + std::to_string(WindowFinder::ProcessOf(window)) + "\t" +
               (IsWindowVisible(window) ? "visible" : "hidden") + "\t" + WindowFinder::ClassName(window) + "\t" +
               RectText(rect) + "\t" + WindowFinder::Caption(window) + "\n";
    }
    return true;
}

bool Driver::Foreground(std::string& out) {
    HWND window = GetForegroundWindow();
    out = window == nullptr ? "none"
                            : Hex(window) + "\t" + std::to_string(WindowFinder::ProcessOf(window)) + "\t" +
                                  WindowFinder::Caption(window);
    return true;
}

bool Driver::Activate(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("activate CAPTION", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    if (IsIconic(window)) Messages::Send(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(window);
    const ULONGLONG deadline = GetTickCount64() + waitMs_;
    while (GetForegroundWindow() != window) {
        if (GetTickCount64() >= deadline) {
            out = "the window did not come to the front";
            return false;
        }
        Sleep(20);
    }
    out = "active";
    return true;
}

bool Driver::Children(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("children CAPTION", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    ChildList list;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&list));
    out.clear();
    for (HWND child : list.windows) {
        const std::string className = WindowFinder::ClassName(child);
        std::string text;
        ReadText(child, text);
        // Chat views can be long: enough to recognise a field, on one line.
        if (text.size() > 200) text.resize(200);
        for (char& c : text) {
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        }
        out += std::to_string(GetDlgCtrlID(child)) + "\t" + className + "\t" +
               (IsWindowVisible(child) ? "visible" : "hidden") + "\t" + (IsWindowEnabled(child) ? "enabled" : "disabled") +
               "\t" + RectText(RectInParent(child)) + "\t" + text + "\n";
    }
    return true;
}

bool Driver::Move(const std::vector<std::string>& args, std::string& out) {
    long long x = 0;
    long long y = 0;
    if (args.size() < 3 || !Number(args[1], x) || !Number(args[2], y)) return Usage("move CAPTION X Y", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    if (!SetWindowPos(window, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        out = "SetWindowPos failed";
        return false;
    }
    out = "moved";
    return true;
}

bool Driver::Resize(const std::vector<std::string>& args, std::string& out) {
    long long width = 0;
    long long height = 0;
    if (args.size() < 3 || !Number(args[1], width) || !Number(args[2], height)) {
        return Usage("resize CAPTION WIDTH HEIGHT", out);
    }
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    // Sent to the window's own thread, as a user's sizing would arrive.
    if (!SetWindowPos(window, nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        out = "SetWindowPos failed";
        return false;
    }
    out = "resized";
    return true;
}

bool Driver::SysCommand(const std::vector<std::string>& args, std::string& out) {
    long long command = 0;
    if (args.size() < 2 || !Number(args[1], command)) return Usage("syscommand CAPTION SC_CODE", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    if (!Messages::Send(window, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0) && IsWindow(window)) {
        out = "WM_SYSCOMMAND timed out";
        return false;
    }
    out = "sent";
    return true;
}

bool Driver::Rect(const std::vector<std::string>& args, std::string& out) {
    if (args.empty()) return Usage("rect CAPTION", out);
    HWND window = nullptr;
    if (!Window(args[0], window, out)) return false;
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    out = RectText(outer) + "\t" + RectText(client);
    return true;
}

bool Driver::WaitExit(const std::vector<std::string>& args, std::string& out) {
    long long pid = 0;
    long long timeout = 10000;
    if (args.empty() || !Number(args[0], pid)) return Usage("wait-exit PID [TIMEOUT_MS]", out);
    if (args.size() > 1) Number(args[1], timeout);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        out = "exited";
        return true;
    }
    const DWORD waited = WaitForSingleObject(process, static_cast<DWORD>(timeout));
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) {
        out = "still running";
        return false;
    }
    out = "exited " + std::to_string(code);
    return true;
}

bool Driver::HasResource(const std::vector<std::string>& args, std::string& out) {
    long long id = 0;
    if (args.size() < 3 || !Number(args[2], id) || (args[1] != "dialog" && args[1] != "menu")) {
        return Usage("has-resource PROGRAM.exe dialog|menu ID", out);
    }
    HMODULE module = LoadLibraryExA(args[0].c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        out = "cannot read " + args[0];
        return false;
    }
    const LPCSTR type = args[1] == "dialog" ? MAKEINTRESOURCEA(5) : MAKEINTRESOURCEA(4);  // RT_DIALOG, RT_MENU
    const bool found = FindResourceA(module, MAKEINTRESOURCEA(id), type) != nullptr;
    FreeLibrary(module);
    out = found ? "yes" : "no";
    return true;
}

bool Driver::Kill(const std::vector<std::string>& args, std::string& out) {
    long long pid = 0;
    if (args.empty() || !Number(args[0], pid)) return Usage("kill PID", out);
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        out = "no such process";
        return true;
    }
    TerminateProcess(process, 1);
    CloseHandle(process);
    out = "killed";
    return true;
}
