// vorlan-driver: drives Vorlan's windows from outside, as a user would, for
// the end-to-end tests under Wine. It must run in the same Wine desktop as the
// programs it drives (windows of other desktops are invisible to it).
//
//   vorlan-driver serve PORT
//
// Serves commands over one TCP connection on 127.0.0.1, so that the harness
// pays Wine's start-up once. A request is one line of words, each "w" and its
// percent-encoded bytes (so a word may be empty or hold 0xAC and line breaks);
// the answer is "OK " or "ERR " and the percent-encoded output. Options before
// the command: --pid N (only that process's windows), --with-menu 1 (only
// windows with a menu bar: a program's main window), --wait MS.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

struct Failure {
    std::string reason;
};

struct Request {
    DWORD pid = 0;
    bool withMenu = false;
    DWORD waitMs = 3000;
};

long long Number(const std::string& text) {
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0') throw Failure{"not a number: " + text};
    return value;
}

// SendMessageTimeout: a hung or busy target makes the call fail instead of blocking the driver.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
    DWORD_PTR answer = 0;
    const bool ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return ok;
}

void MustSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Send(window, message, wParam, lParam) && IsWindow(window)) throw Failure{"the window did not answer"};
}

std::string Caption(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Window text through WM_GETTEXT, which the system carries across processes.
std::string ReadText(HWND window) {
    LRESULT length = 0;
    LRESULT copied = 0;
    if (!Send(window, WM_GETTEXTLENGTH, 0, 0, &length)) throw Failure{"WM_GETTEXTLENGTH timed out"};
    std::string buffer(static_cast<size_t>(length) * 2 + 16, '\0');
    if (!Send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied)) {
        throw Failure{"WM_GETTEXT timed out"};
    }
    return buffer.c_str();
}

std::string RectText(RECT rect) {
    return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right - rect.left) +
           " " + std::to_string(rect.bottom - rect.top);
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Lower is better, -1 no match: an exact caption (or "re:" and a regular
// expression matching it whole) before a prefix, visible before hidden.
int Rank(HWND window, const Request& request, const std::string& wanted) {
    if (ProcessOf(window) == GetCurrentProcessId()) return -1;
    if (request.pid != 0 && ProcessOf(window) != request.pid) return -1;
    if (request.withMenu && GetMenu(window) == nullptr) return -1;
    const std::string caption = Caption(window);
    int rank = 2;
    if (wanted.rfind("re:", 0) == 0) {
        try {
            if (!std::regex_match(caption, std::regex(wanted.substr(3)))) return -1;
        } catch (const std::regex_error&) {
            return -1;
        }
        rank = 0;
    } else if (caption == wanted) {
        rank = 0;
    } else if (wanted.empty() || caption.compare(0, wanted.size(), wanted) != 0) {
        return -1;
    }
    return IsWindowVisible(window) ? rank : rank + 1;
}

HWND Find(const Request& request, const std::string& caption) {
    std::vector<HWND> windows;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
    HWND best = nullptr;
    int bestRank = 100;
    for (HWND window : windows) {
        const int rank = Rank(window, request, caption);
        if (rank >= 0 && rank < bestRank) {
            best = window;
            bestRank = rank;
        }
    }
    return best;
}

HWND Wait(const Request& request, const std::string& caption) {
    const ULONGLONG deadline = GetTickCount64() + request.waitMs;
    for (;;) {
        if (HWND window = Find(request, caption)) return window;
        if (GetTickCount64() >= deadline) throw Failure{"no window \"" + caption + "\""};
        Sleep(50);
    }
}

// A child control by its id, nested ones too; nullptr when there is none.
HWND ControlOf(HWND window, int id) {
    if (HWND direct = GetDlgItem(window, id)) return direct;
    std::vector<HWND> children;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

struct TreeItem {
    HTREEITEM handle;
    int depth;
    std::string label;
    bool selected;
};

HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation) {
    LRESULT result = 0;
    return Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), &result)
               ? reinterpret_cast<HTREEITEM>(result)
               : nullptr;
}

// Item texts need a buffer in the tree's own process: TVM_GETITEM fills it there.
void WalkTree(HWND tree, HANDLE process, char* buffer, HTREEITEM first, int depth, std::vector<TreeItem>& items) {
    constexpr int kTextCapacity = 4096;
    for (HTREEITEM handle = first; handle != nullptr && items.size() < 5000;
         handle = NextItem(tree, handle, TVGN_NEXT)) {
        TVITEMA request{};
        request.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
        request.hItem = handle;
        request.stateMask = TVIS_SELECTED;
        request.pszText = buffer + sizeof(TVITEMA);
        request.cchTextMax = kTextCapacity;
        char text[kTextCapacity + 1] = {};
        TVITEMA answer{};
        LRESULT ok = 0;
        WriteProcessMemory(process, buffer, &request, sizeof request, nullptr);
        WriteProcessMemory(process, request.pszText, text, 1, nullptr);
        if (Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer), &ok) && ok != 0 &&
            ReadProcessMemory(process, buffer, &answer, sizeof answer, nullptr)) {
            // The control may point pszText at its own storage instead of filling ours.
            ReadProcessMemory(process, answer.pszText, text, kTextCapacity, nullptr);
        }
        items.push_back({handle, depth, text, (answer.state & TVIS_SELECTED) != 0});
        WalkTree(tree, process, buffer, NextItem(tree, handle, TVGN_CHILD), depth + 1, items);
    }
}

std::vector<TreeItem> TreeItems(HWND tree) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                                 FALSE, ProcessOf(tree));
    char* buffer =
        process == nullptr
            ? nullptr
            : static_cast<char*>(VirtualAllocEx(process, nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (buffer == nullptr) throw Failure{"cannot reach the memory of the tree's process"};
    std::vector<TreeItem> items;
    WalkTree(tree, process, buffer, NextItem(tree, nullptr, TVGN_ROOT), 0, items);
    VirtualFreeEx(process, buffer, 0, MEM_RELEASE);
    CloseHandle(process);
    return items;
}

// Moves the real mouse cursor onto the item's text, as a user resting the
// mouse there; the item's rectangle comes from a buffer in the tree's process.
std::string PointAtItem(HWND tree, const std::string& label) {
    for (const TreeItem& item : TreeItems(tree)) {
        if (item.label.rfind(label, 0) != 0) continue;
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(tree));
        void* buffer = process == nullptr
                           ? nullptr
                           : VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (buffer == nullptr) throw Failure{"cannot reach the memory of the tree's process"};
        // TVM_GETITEMRECT takes the item's handle where the rectangle goes.
        RECT rect{};
        WriteProcessMemory(process, buffer, &item.handle, sizeof item.handle, nullptr);
        LRESULT ok = 0;
        const bool sent = Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer), &ok);
        ReadProcessMemory(process, buffer, &rect, sizeof rect, nullptr);
        VirtualFreeEx(process, buffer, 0, MEM_RELEASE);
        CloseHandle(process);
        if (!sent || ok == 0) throw Failure{"the item \"" + label + "\" is not shown"};
        POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(tree, &middle);
        SetCursorPos(middle.x, middle.y);
        return std::to_string(middle.x) + " " + std::to_string(middle.y);
    }
    throw Failure{"no item \"" + label + "\""};
}

// Commands that name a process rather than a window.
bool RunProcessCommand(const std::string& command, const Words& args, std::string& out) {
    if (command == "cursor-to") {  // X Y: the real mouse cursor to that point of the screen
        SetCursorPos(static_cast<int>(Number(args.at(0))), static_cast<int>(Number(args.at(1))));
        return true;
    }
    if (command == "launch") {  // FOLDER PROGRAM.exe
        const std::string program = args.at(0) + "\\" + args.at(1);
        std::string commandLine = "\"" + program + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, args[0].c_str(),
                            &startup, &process)) {
            throw Failure{"cannot start " + program + " (error " + std::to_string(GetLastError()) + ")"};
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        out = std::to_string(process.dwProcessId);
    } else if (command == "find-process") {  // PROGRAM.exe: the id of a process started from outside
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            if (lstrcmpiA(entry.szExeFile, args.at(0).c_str()) == 0) out = std::to_string(entry.th32ProcessID);
        }
        CloseHandle(snapshot);
        if (out.empty()) throw Failure{"no process " + args[0]};
    } else if (command == "kill") {  // PID
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(Number(args.at(0))));
        if (process != nullptr) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
        out = "killed";
    } else if (command == "wait-exit") {  // PID TIMEOUT_MS
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(Number(args.at(0))));
        if (process == nullptr) return true;  // already gone
        const DWORD waited = WaitForSingleObject(process, static_cast<DWORD>(Number(args.at(1))));
        CloseHandle(process);
        if (waited != WAIT_OBJECT_0) throw Failure{"still running"};
    } else {
        return false;
    }
    return true;
}

// Commands on a window: CAPTION first.
bool RunWindowCommand(Request& request, const std::string& command, const Words& args, std::string& out) {
    static const std::string kCommands =
        " wait-gone wait-window is-visible menu press close syscommand end-session "
        "activate move resize rect children post ";
    if (kCommands.find(" " + command + " ") == std::string::npos) return false;
    const std::string& caption = args.at(0);
    if (command == "wait-gone") {  // CAPTION TIMEOUT_MS
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(Number(args.at(1)));
        while (Find(request, caption) != nullptr) {
            if (GetTickCount64() >= deadline) throw Failure{"window \"" + caption + "\" still exists"};
            Sleep(50);
        }
        return true;
    }
    if (command == "wait-window") request.waitMs = static_cast<DWORD>(Number(args.at(1)));  // CAPTION TIMEOUT_MS
    HWND window = Wait(request, caption);
    if (command == "wait-window") {
        out = Caption(window);
    } else if (command == "is-visible") {
        out = !IsWindowVisible(window) ? "hidden"
              : IsIconic(window)       ? "minimized"
              : IsZoomed(window)       ? "maximized"
                                       : "visible";
    } else if (command == "menu" || command == "press") {  // COMMAND_ID: as a menu or a button would send it
        const int id = static_cast<int>(Number(args.at(1)));
        HWND control = command == "press" ? ControlOf(window, id) : nullptr;
        MustSend(control != nullptr ? GetParent(control) : window, WM_COMMAND,
                 MAKEWPARAM(id, control != nullptr ? BN_CLICKED : 0), reinterpret_cast<LPARAM>(control));
    } else if (command == "post") {  // MESSAGE WPARAM LPARAM: as the mouse or the shell would post it
        if (!PostMessageA(window, static_cast<UINT>(Number(args.at(1))), static_cast<WPARAM>(Number(args.at(2))),
                          static_cast<LPARAM>(Number(args.at(3))))) {
            throw Failure{"PostMessage failed"};
        }
    } else if (command == "close") {
        MustSend(window, WM_CLOSE, 0, 0);
    } else if (command == "syscommand") {  // SC_CODE
        MustSend(window, WM_SYSCOMMAND, static_cast<WPARAM>(Number(args.at(1))), 0);
    } else if (command == "end-session") {
        Send(window, WM_QUERYENDSESSION, 0, 0);
        Send(window, WM_ENDSESSION, TRUE, 0);
    } else if (command == "activate") {
        if (IsIconic(window)) Send(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(window);
        const ULONGLONG deadline = GetTickCount64() + request.waitMs;
        while (GetForegroundWindow() != window) {
            if (GetTickCount64() >= deadline) throw Failure{"the window did not come to the front"};
            Sleep(20);
        }
    } else if (command == "move" || command == "resize") {  // X Y or WIDTH HEIGHT
        const int a = static_cast<int>(Number(args.at(1)));
        const int b = static_cast<int>(Number(args.at(2)));
        const UINT keep = command == "move" ? SWP_NOSIZE : SWP_NOMOVE;
        if (!SetWindowPos(window, nullptr, a, b, a, b, keep | SWP_NOZORDER | SWP_NOACTIVATE)) {
            throw Failure{"SetWindowPos failed"};
        }
    } else if (command == "rect") {  // outer rectangle, then the client rectangle
        RECT outer{};
        RECT client{};
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        out = RectText(outer) + "\t" + RectText(client);
    } else if (command == "children") {  // a line per child: id, visible, rectangle, text
        std::vector<HWND> children;
        EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            RECT rect{};
            GetWindowRect(child, &rect);
            MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
            std::string text = ReadText(child).substr(0, 200);
            for (char& c : text) c = (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
            out += std::to_string(GetDlgCtrlID(child)) + "\t" + (IsWindowVisible(child) ? "visible" : "hidden") + "\t" +
                   RectText(rect) + "\t" + text + "\n";
        }
    } else {
        return false;
    }
    return true;
}

// Posts COMMAND to the tree's window (a "Refresh") and waits until the tree
// has been emptied and holds `count` items again. Meanwhile it keeps asking
// the program's main window (the same thread) for an answer: the longest wait
// for one is the longest stall of the program's message loop. Prints the time
// to the last item, the longest stall and the number of probes, in ms.
std::string FillWatch(const Request& request, HWND tree, int command, long long count, ULONGLONG timeoutMs) {
    Request mainRequest = request;
    mainRequest.withMenu = true;
    HWND main = Find(mainRequest, "Vorlan");
    if (main == nullptr) throw Failure{"no main window"};
    auto probe = [](HWND window, UINT message, LRESULT* result, ULONGLONG& longest) {
        LARGE_INTEGER frequency, before, after;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&before);
        DWORD_PTR answer = 0;
        const bool ok = SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
        QueryPerformanceCounter(&after);
        const auto ms = static_cast<ULONGLONG>((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart);
        if (ms > longest) longest = ms;
        if (result != nullptr) *result = static_cast<LRESULT>(answer);
        return ok;
    };
    const ULONGLONG start = GetTickCount64();
    // The window may put a new tree in the old one's place: it is looked up by its id each time.
    HWND list = GetParent(tree);
    const int treeId = GetDlgCtrlID(tree);
    PostMessageA(list, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    ULONGLONG longest = 0;
    long long probes = 0;
    bool emptied = false;
    for (;;) {
        LRESULT items = 0;
        tree = GetDlgItem(list, treeId);
        if (!probe(main, WM_NULL, nullptr, longest) || !probe(tree, TVM_GETCOUNT, &items, longest)) {
            throw Failure{"the program did not answer within 60 s"};
        }
        ++probes;
        if (items < count) emptied = true;
        if (emptied && items >= count) break;
        if (GetTickCount64() - start > timeoutMs) {
            throw Failure{"only " + std::to_string(items) + " items after " + std::to_string(timeoutMs) + " ms"};
        }
        Sleep(5);
    }
    return std::to_string(GetTickCount64() - start) + " " + std::to_string(longest) + " " + std::to_string(probes);
}

// Commands on a control: CAPTION ID first.
bool RunControlCommand(Request& request, const std::string& command, const Words& args, std::string& out) {
    HWND control = ControlOf(Wait(request, args.at(0)), static_cast<int>(Number(args.at(1))));
    if (control == nullptr) throw Failure{"no control " + args[1] + " in \"" + args[0] + "\""};
    if (command == "get-text") {
        out = ReadText(control);
    } else if (command == "set-text") {  // TEXT
        MustSend(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.at(2).c_str()));
        // As after typing: the owner filters the text on its change notification.
        Send(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), EN_CHANGE),
             reinterpret_cast<LPARAM>(control));
    } else if (command == "type-chars") {  // TEXT, a posted character at a time as the keyboard sends them
        for (unsigned char c : args.at(2)) PostMessageA(control, WM_CHAR, c, 1);
    } else if (command == "key") {  // VIRTUAL_KEY
        // Posted, not sent: the target's message loop sees keyboard input and
        // its dialog handling (Enter, Escape) runs as for a real key.
        const WPARAM key = static_cast<WPARAM>(Number(args.at(2)));
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
        PostMessageA(control, WM_KEYDOWN, key, 1 | scan);
        PostMessageA(control, WM_KEYUP, key, 1 | scan | (static_cast<LPARAM>(3) << 30));
    } else if (command == "click") {
        MustSend(control, BM_CLICK, 0, 0);
    } else if (command == "get-check") {
        LRESULT state = 0;
        if (!Send(control, BM_GETCHECK, 0, 0, &state)) throw Failure{"BM_GETCHECK timed out"};
        out = std::to_string(state);
    } else if (command == "tree-items") {  // a line per item: depth, label, "selected"
        for (const TreeItem& item : TreeItems(control)) {
            out += std::to_string(item.depth) + "\t" + item.label + (item.selected ? "\tselected" : "") + "\n";
        }
    } else if (command == "tree-count") {  // the number of items, without reading them
        LRESULT count = 0;
        if (!Send(control, TVM_GETCOUNT, 0, 0, &count)) throw Failure{"TVM_GETCOUNT timed out"};
        out = std::to_string(count);
    } else if (command == "fill-watch") {  // COMMAND COUNT TIMEOUT_MS: timing of a list refill
        out = FillWatch(request, control, static_cast<int>(Number(args.at(2))), Number(args.at(3)),
                        static_cast<ULONGLONG>(Number(args.at(4))));
    } else if (command == "point-at-item") {  // LABEL: the mouse cursor onto the middle of that item's text
        out = PointAtItem(control, args.at(2));
    } else if (command == "tree-select") {  // LABEL: the first item with that label or a label starting so
        for (const TreeItem& item : TreeItems(control)) {
            if (item.label.rfind(args.at(2), 0) != 0) continue;
            LRESULT selected = 0;
            if (!Send(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item.handle), &selected) ||
                selected == 0) {
                throw Failure{"TVM_SELECTITEM failed"};
            }
            out = item.label;
            return true;
        }
        throw Failure{"no item \"" + args[2] + "\""};
    } else {
        return false;
    }
    return true;
}

std::string Run(Words words) {
    Request request;
    size_t next = 0;
    for (; next + 1 < words.size() && words[next].rfind("--", 0) == 0; next += 2) {
        const DWORD value = static_cast<DWORD>(Number(words[next + 1]));
        if (words[next] == "--pid")
            request.pid = value;
        else if (words[next] == "--with-menu")
            request.withMenu = value != 0;
        else if (words[next] == "--wait")
            request.waitMs = value;
        else
            throw Failure{"unknown option " + words[next]};
    }
    if (next >= words.size()) throw Failure{"no command"};
    const std::string command = words[next];
    const Words args(words.begin() + static_cast<long>(next) + 1, words.end());
    std::string out;
    if (RunProcessCommand(command, args, out) || RunWindowCommand(request, command, args, out) ||
        RunControlCommand(request, command, args, out)) {
        return out;
    }
    throw Failure{"unknown command " + command};
}

std::string Encode(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", c);
        text += std::isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(escaped);
    }
    return text;
}

std::string Decode(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            bytes.push_back(static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16)));
            i += 2;
        } else {
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

// One answer line for one request line; quit is set by "quit".
std::string Answer(const std::string& line, bool& quit) {
    Words words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;) words.push_back(Decode(word.substr(1)));
    quit = words.size() == 1 && words[0] == "quit";
    if (quit) return "OK bye";
    try {
        return "OK " + Encode(Run(words));
    } catch (const Failure& failure) {
        return "ERR " + Encode(failure.reason);
    } catch (const std::out_of_range&) {
        return "ERR " + Encode("too few words: " + line);
    }
}

// Requests in, answers out, until "quit" (true) or the peer leaves (false).
bool ServeConnection(SOCKET connection) {
    std::string pending;
    char chunk[4096];
    for (int n; (n = recv(connection, chunk, sizeof chunk, 0)) > 0;) {
        pending.append(chunk, static_cast<size_t>(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            bool quit = false;
            const std::string answer = Answer(pending.substr(0, end), quit) + "\n";
            pending.erase(0, end + 1);
            if (send(connection, answer.data(), static_cast<int>(answer.size()), 0) !=
                static_cast<int>(answer.size())) {
                return false;
            }
            if (quit) return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    WSADATA data;
    if (argc != 3 || std::string(argv[1]) != "serve" || WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::fprintf(stderr, "usage: vorlan-driver serve PORT\n");
        return 1;
    }
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::atoi(argv[2])));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 2) != 0) {
        std::fprintf(stderr, "vorlan-driver: cannot listen on 127.0.0.1:%s\n", argv[2]);
        return 1;
    }
    for (SOCKET connection; (connection = accept(listener, nullptr, nullptr)) != INVALID_SOCKET;) {
        const bool quit = ServeConnection(connection);
        closesocket(connection);
        if (quit) break;
    }
    closesocket(listener);
    WSACleanup();
    return 0;
}
