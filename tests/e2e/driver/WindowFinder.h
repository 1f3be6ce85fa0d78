#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Finds the top-level windows of the desktop by caption, optionally only those
// of one process. Several Vorlan instances share the caption "Vorlan", so the
// process id tells them apart.
class WindowFinder {
public:
    struct Query {
        // Exact caption, or a prefix when no caption matches exactly;
        // "re:" followed by a regular expression that the whole caption matches.
        std::string caption;
        DWORD pid = 0;        // 0: any process
        bool withMenu = false;  // only windows with a menu bar (a program's main window)
    };

    // Every top-level window of the desktop (the driver's own excluded).
    static std::vector<HWND> AllTopLevel();

    // The best match: exact captions before prefixes, visible before hidden.
    static HWND Find(const Query& query);

    // Find, retried until the window exists or timeoutMs has passed.
    static HWND Wait(const Query& query, DWORD timeoutMs);

    // A child control by its id (also nested ones), or nullptr.
    static HWND Control(HWND window, int controlId);

    static std::string Caption(HWND window);
    static std::string ClassName(HWND window);
    static DWORD ProcessOf(HWND window);
};
