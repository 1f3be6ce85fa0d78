#pragma once

#include <windows.h>

#include "skin/ui/TakenOverControl.h"

namespace vorlan::skin {

class Skin;

// A dialog's text label drawn by the skin: its area in the window fill and its
// text, in colour 1 and the font its creator gave it. Left-aligned labels of
// one line draw their line at the top left (styles 0 and 1); centred and
// taller labels word-wrap, centred both ways (style 2). Lives as long as its window.
class SkinLabel : private TakenOverControl<SkinLabel> {
public:
    static void Attach(HWND label, const Skin& skin);

    // The control id of a label that repeats its window's top edge behind itself.
    static constexpr int kTopEdgeLabelId = 1010;

private:
    friend class TakenOverControl<SkinLabel>;
    static constexpr const char* kProperty = "VorlanSkinLabel";

    SkinLabel(HWND label, const Skin& skin, int style) : TakenOverControl(label), skin_(skin), style_(style) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Draw(HDC dc, const RECT& area) const;

    const Skin& skin_;
    int style_;
};

}  // namespace vorlan::skin
