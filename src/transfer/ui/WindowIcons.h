#pragma once

#include <windows.h>

#include <string>

namespace vorlan::transfer {

// Gives `to` the small and large icons that `from` shows (or its class's).
void CopyWindowIcons(HWND from, HWND to);

// The shell's icons for files named like `fileName` (by its extension, or the
// whole name without one); the caller destroys them.
struct FileIcons {
    HICON small = nullptr;
    HICON large = nullptr;
};
FileIcons ShellIconsFor(const std::string& fileName);
void DestroyFileIcons(FileIcons& icons);

}  // namespace vorlan::transfer
