#include "skin/ui/SkinButtonControl.h"

#include <string>

#include "skin/ui/Skin.h"

namespace vorlan::skin {

namespace {

constexpr COLORREF kDisabledText = RGB(150, 155, 165);

}  // namespace

SkinButtonControl::SkinButtonControl(HWND button, ButtonKind kind, const Skin& skin)
    : TakenOverControl(button), skin_(skin), state_(kind) {}

void SkinButtonControl::Attach(HWND button, ButtonKind kind, const Skin& skin) {
    auto* control = new SkinButtonControl(button, kind, skin);
    control->checked_ = static_cast<UINT>(SendMessageA(button, BM_GETCHECK, 0, 0));
    TakeOver(control);
}

bool SkinButtonControl::CursorInside(LPARAM lParam) const {
    RECT client{};
    GetClientRect(window_, &client);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, point) != FALSE;
}

LRESULT SkinButtonControl::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEMOVE:
            if (!trackingLeave_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
                trackingLeave_ = TrackMouseEvent(&track) != FALSE;
            }
            Apply(state_.MouseMove(CursorInside(lParam)));
            return 0;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            if (!state_.holding()) Apply(state_.MouseLeft());
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetFocus() != window_) SetFocus(window_);
            Apply(state_.LeftDown(CursorInside(lParam)));
            return 0;
        case WM_LBUTTONUP: Apply(state_.LeftUp(CursorInside(lParam))); return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window_) Apply(state_.CaptureLost());
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) return 0;
            break;
        case WM_KEYUP:
            if (wParam == VK_SPACE) {
                Apply(state_.SpaceUp());
                return 0;
            }
            break;
        case WM_SETFOCUS: Apply(state_.FocusGained()); return 0;
        case WM_KILLFOCUS: Apply(state_.FocusLost()); return 0;
        case BM_GETCHECK: return checked_;
        case BM_SETCHECK:
            if (checked_ != static_cast<UINT>(wParam)) {
                checked_ = static_cast<UINT>(wParam);
                InvalidateRect(window_, nullptr, FALSE);
            }
            return 0;
        case BM_GETSTATE:
            return checked_ | (state_.pressed() ? BST_PUSHED : 0) | (state_.focused() ? BST_FOCUS : 0) |
                   (state_.hot() ? BST_HOT : 0);
        case BM_SETSTATE: InvalidateRect(window_, nullptr, FALSE); return 0;
        case BM_CLICK: Click(); return 0;
        case WM_SETTEXT:
        case WM_ENABLE:
        case BM_SETSTYLE:
        case WM_SETFONT:
        case WM_UPDATEUISTATE: {
            // The system button may draw itself right away; the skin draws over it.
            const LRESULT result = Original(message, wParam, lParam);
            InvalidateRect(window_, nullptr, FALSE);
            return result;
        }
        default: break;
    }
    return Original(message, wParam, lParam);
}

void SkinButtonControl::Apply(const ButtonReaction& reaction) {
    if (reaction.capture) SetCapture(window_);
    if (reaction.releaseCapture && GetCapture() == window_) ReleaseCapture();
    if (reaction.makeDefault) {
        SendMessageA(GetParent(window_), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(window_)), 0);
    }
    if (reaction.repaint) InvalidateRect(window_, nullptr, FALSE);
    if (reaction.command) Click();
}

// An automatic check box or radio button changes itself, as the system's
// would; every kind then tells its parent.
void SkinButtonControl::Click() {
    if (!IsWindowEnabled(window_)) return;
    const LONG type = GetWindowLongA(window_, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE) {
        SendMessageA(window_, BM_SETCHECK, checked_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    } else if (type == BS_AUTORADIOBUTTON) {
        CheckRadioInGroup();
    }
    PostMessageA(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_));
}

void SkinButtonControl::CheckRadioInGroup() {
    HWND dialog = GetParent(window_);
    HWND first = GetNextDlgGroupItem(dialog, window_, FALSE);
    for (HWND other = first; other != nullptr;) {
        if (other != window_ && (GetWindowLongA(other, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
            SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        other = GetNextDlgGroupItem(dialog, other, FALSE);
        if (other == first) break;
    }
    SendMessageA(window_, BM_SETCHECK, BST_CHECKED, 0);
}

void SkinButtonControl::Paint() {
    PaintBuffered([this](HDC dc, const RECT& area) { Draw(dc, area); });
}

void SkinButtonControl::Draw(HDC dc, const RECT& area) const {
    const ButtonKind kind = state_.kind();
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const COLORREF text =
        enabled ? skin_.Colour(ButtonTextColour(kind, state_.hot(), state_.focused())) : kDisabledText;
    const std::string caption = Text();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    FillRect(dc, &area, skin_.FillBrush());

    if (kind == ButtonKind::Push) {
        // The parent's fill shows round the image's rounded corners.
        skin_.images().DrawNineSlice(dc, state_.hot() && enabled ? SkinImage::Button2 : SkinImage::Button,
                                     kButtonCorner, area, true);
        HGDIOBJ oldFont = SelectObject(dc, skin_.PushButtonFont());
        RECT textArea = area;
        if (state_.pressed()) OffsetRect(&textArea, kPressedShiftX, kPressedShiftY);
        DrawTextA(dc, caption.c_str(), -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        return;
    }

    HGDIOBJ oldFont = SelectObject(dc, skin_.CheckButtonFont());
    RECT textArea = area;
    if (kind != ButtonKind::Flat) {
        const int image = GlyphImage(checked_ == BST_CHECKED, state_.pressed());
        const SkinImage first = kind == ButtonKind::CheckBox ? SkinImage::CheckBox1 : SkinImage::Radio1;
        skin_.images().DrawWhole(dc, static_cast<SkinImage>(static_cast<int>(first) + image - 1), 0,
                                 (area.bottom - kGlyphSize) / 2);
        textArea.left += kGlyphSize + 5;
    }
    DrawTextA(dc, caption.c_str(), -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    if (state_.focused()) Skin::DrawDottedRectangle(dc, area, skin_.Colour(kFocusRectangleColour));
}

}  // namespace vorlan::skin
