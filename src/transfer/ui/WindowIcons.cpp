#include "transfer/ui/WindowIcons.h"

#include <shellapi.h>

namespace vorlan::transfer {

void CopyWindowIcons(HWND from, HWND to) {
    if (from == nullptr || to == nullptr) return;
    auto icon = [&](WPARAM kind, int classIndex) {
        auto shown = reinterpret_cast<HICON>(SendMessageA(from, WM_GETICON, kind, 0));
        return shown != nullptr ? shown : reinterpret_cast<HICON>(GetClassLongPtrA(from, classIndex));
    };
    if (HICON small = icon(ICON_SMALL, GCLP_HICONSM))
        SendMessageA(to, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (HICON large = icon(ICON_BIG, GCLP_HICON))
        SendMessageA(to, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
}

// The file need not exist: the shell answers from the name alone.
FileIcons ShellIconsFor(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::string pattern = dot == std::string::npos ? fileName : "x" + fileName.substr(dot);
    FileIcons icons;
    SHFILEINFOA info{};
    if (SHGetFileInfoA(pattern.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) != 0) {
        icons.small = info.hIcon;
    }
    info = {};
    if (SHGetFileInfoA(pattern.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES) != 0) {
        icons.large = info.hIcon;
    }
    return icons;
}

void DestroyFileIcons(FileIcons& icons) {
    if (icons.small != nullptr) DestroyIcon(icons.small);
    if (icons.large != nullptr) DestroyIcon(icons.large);
    icons = {};
}

}  // namespace vorlan::transfer
