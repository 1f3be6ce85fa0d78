#include "skin/ui/SkinLabel.h"

#include <string>

#include "skin/ui/Skin.h"

namespace vorlan::skin {

void SkinLabel::Attach(HWND label, const Skin& skin) {
    const LONG style = GetWindowLongA(label, GWL_STYLE);
    // A left label taller than two lines of its font holds a text to wrap.
    int labelStyle = (style & SS_TYPEMASK) == SS_CENTER ? 2 : 0;
    if (labelStyle == 0) {
        RECT area{};
        GetClientRect(label, &area);
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        if (area.bottom >= 2 * metrics.tmHeight) labelStyle = 2;
    }
    TakeOver(new SkinLabel(label, skin, labelStyle));
}

LRESULT SkinLabel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_SETTEXT:
        case WM_ENABLE:
        case WM_SETFONT: {
            const LRESULT result = Original(message, wParam, lParam);
            InvalidateRect(window_, nullptr, FALSE);
            return result;
        }
        default: return Original(message, wParam, lParam);
    }
}

void SkinLabel::Paint() {
    PaintBuffered([this](HDC dc, const RECT& area) { Draw(dc, area); });
}

void SkinLabel::Draw(HDC dc, const RECT& area) const {
    HWND parent = GetParent(window_);
    RECT place{};
    GetWindowRect(window_, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    if (GetDlgCtrlID(window_) == kTopEdgeLabelId && place.top < kBackgroundCorner) {
        skin_.PaintBackground(parent, dc, ui::DialogLook{}, place.left, place.top);
    } else {
        FillRect(dc, &area, skin_.FillBrush());
    }

    const std::string text = Text();
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin_.Colour(1));
    const UINT prefix = (GetWindowLongA(window_, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    if (style_ == 2) {
        const UINT format = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | prefix;
        RECT measured = area;
        DrawTextA(dc, text.c_str(), -1, &measured, format | DT_CALCRECT);
        RECT target = area;
        const int height = measured.bottom - measured.top;
        if (height < area.bottom) target.top = (area.bottom - height) / 2;
        DrawTextA(dc, text.c_str(), -1, &target, format);
    } else {
        RECT target = area;
        DrawTextA(dc, text.c_str(), -1, &target, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | prefix);
    }
    SelectObject(dc, oldFont);
}

}  // namespace vorlan::skin
