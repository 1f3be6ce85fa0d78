#pragma once

#include <windows.h>

#include "skin/SkinButton.h"
#include "skin/ui/TakenOverControl.h"

namespace vorlan::skin {

class Skin;

// A dialog's button drawn by the skin in one of its four kinds. It takes the
// system button's window over (the button keeps its id, text, font and
// styles), follows ButtonState's rules for the mouse and the keyboard and
// keeps the check state itself; a click is a BN_CLICKED command posted to
// the parent. Lives as long as its window.
class SkinButtonControl : private TakenOverControl<SkinButtonControl> {
public:
    static void Attach(HWND button, ButtonKind kind, const Skin& skin);

private:
    friend class TakenOverControl<SkinButtonControl>;
    static constexpr const char* kProperty = "VorlanSkinButton";

    SkinButtonControl(HWND button, ButtonKind kind, const Skin& skin);

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Apply(const ButtonReaction& reaction);
    void Click();
    void CheckRadioInGroup();
    bool CursorInside(LPARAM lParam) const;
    void Paint();
    void Draw(HDC dc, const RECT& area) const;

    const Skin& skin_;
    ButtonState state_;
    UINT checked_ = BST_UNCHECKED;
    bool trackingLeave_ = false;
};

}  // namespace vorlan::skin
