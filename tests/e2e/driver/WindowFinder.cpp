#include "WindowFinder.h"

#include <regex>

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

struct ChildSearch {
    int controlId;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    if (GetDlgCtrlID(window) == search->controlId) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Rank of a candidate: lower is better; -1 means no match.
int Rank(HWND window, const WindowFinder::Query& query) {
    if (query.pid != 0 && WindowFinder::ProcessOf(window) != query.pid) return -1;
    if (query.withMenu && GetMenu(window) == nullptr) return -1;
    const std::string caption = WindowFinder::Caption(window);
    int rank;
    if (query.caption.rfind("re:", 0) == 0) {
        try {
            if (!std::regex_match(caption, std::regex(query.caption.substr(3)))) return -1;
        } catch (const std::regex_error&) {
            return -1;
        }
        rank = 0;
    } else if (caption == query.caption) {
        rank = 0;
    } else if (!query.caption.empty() && caption.compare(0, query.caption.size(), query.caption) == 0) {
        rank = 2;
    } else {
        return -1;
    }
    if (!IsWindowVisible(window)) rank += 1;
    return rank;
}

}  // namespace

std::vector<HWND> WindowFinder::AllTopLevel() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::vector<HWND> others;
    const DWORD self = GetCurrentProcessId();
    for (HWND window : windows) {
        if (ProcessOf(window) != self) others.push_back(window);
    }
    return others;
}

HWND WindowFinder::Find(const Query& query) {
    HWND best = nullptr;
    int bestRank = 100;
    for (HWND window : AllTopLevel()) {
        const int rank = Rank(window, query);
        if (rank >= 0 && rank < bestRank) {
            best = window;
            bestRank = rank;
        }
    }
    return best;
}

HWND WindowFinder::Wait(const Query& query, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = Find(query)) return window;
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(50);
    }
}

HWND WindowFinder::Control(HWND window, int controlId) {
    if (HWND direct = GetDlgItem(window, controlId)) return direct;
    ChildSearch search{controlId, nullptr};
    EnumChildWindows(window, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowFinder::Caption(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string WindowFinder::ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

DWORD WindowFinder::ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}
