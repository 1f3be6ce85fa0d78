#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace vorlan::transfer {

// The height a dialog's optional row ("Port range:") takes, in pixels.
inline constexpr int kOptionalRowHeight = 26;

// Shows or hides the controls `rowIds` of `dialog`; on a change, every control
// below the row moves up or down by the row's height and the dialog shrinks
// or grows with it. `shown` is the row's current state, updated.
void ShowDialogRow(HWND dialog, std::initializer_list<int> rowIds, bool visible, bool& shown);

// A window's top-level shell operation: opens a folder or file with its program.
void OpenInShell(const std::string& path);

}  // namespace vorlan::transfer
