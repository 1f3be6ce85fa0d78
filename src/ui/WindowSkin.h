#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace vorlan::ui {

// A framed area a window asks the skin to draw behind its controls.
struct SkinFrame {
    enum class Kind { Panel, Frame, FilledFrame };
    Kind kind = Kind::Panel;
    RECT rect{};
};

// How a dialog wants to be drawn; asked each time it paints.
struct DialogLook {
    bool skinned = true;     // false: the window paints itself entirely
    bool smallForm = false;  // only the background's top and bottom bands
    std::vector<SkinFrame> frames;
};

// The program's look, installed once by the main window for the whole run.
// The window bases hand it what their own windows leave undone: the dialog
// background, labels and buttons, and the painting of trees. Without one
// installed everything draws as the system's plain controls.
class WindowSkin {
public:
    virtual ~WindowSkin() = default;

    // Called once a dialog has set itself up: gives its buttons and labels the skin.
    virtual void DressDialog(HWND dialog) = 0;
    // A dialog message its own handler did not take: a value when the skin did.
    virtual std::optional<INT_PTR> DialogMessage(HWND dialog, const DialogLook& look, UINT message, WPARAM wParam,
                                                 LPARAM lParam) = 0;
    // A tree is taken into use with these colours (red + 256*green + 65536*blue).
    virtual void DressTree(HWND tree) = 0;
    // The tree's NM_CUSTOMDRAW; `itemColour` is the row's own text colour.
    virtual std::optional<LRESULT> TreeCustomDraw(const NMTVCUSTOMDRAW& draw, std::uint32_t itemColour) = 0;
};

void InstallWindowSkin(WindowSkin* skin);
WindowSkin* InstalledWindowSkin();

}  // namespace vorlan::ui
