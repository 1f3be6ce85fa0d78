#include "skin/ui/HoverCardWindow.h"

#include <vector>

#include "skin/ui/Skin.h"
#include "skin/ui/SkinIds.h"

namespace vorlan::skin {

namespace {

constexpr int kFontHeight = 13;

int TextWidth(HDC dc, HFONT font, const std::string& text) {
    if (text.empty()) return 0;
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

int LineHeight(HDC dc, HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    return metrics.tmHeight;
}

// The bits of a 1-bit-per-pixel mask bitmap, row by row, set where white.
std::vector<bool> MaskBits(HBITMAP mask, int width, int height) {
    std::vector<bool> bits;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return bits;
    HGDIOBJ old = SelectObject(dc, mask);
    bits.reserve(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) bits.push_back(GetPixel(dc, x, y) != RGB(0, 0, 0));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bits;
}

}  // namespace

HoverCardWindow::~HoverCardWindow() {
    if (captionFont_ != nullptr) DeleteObject(captionFont_);
    if (valueFont_ != nullptr) DeleteObject(valueFont_);
}

bool HoverCardWindow::Create(HINSTANCE instance) {
    if (captionFont_ == nullptr) captionFont_ = MakeSkinFont("Tahoma", kFontHeight, 700);
    if (valueFont_ == nullptr) valueFont_ = MakeSkinFont("Tahoma", kFontHeight, 500);
    return CreateModeless(instance, IDD_HOVER_CARD, nullptr);
}

void HoverCardWindow::Arm(const HoverCardText& text) {
    if (handle() == nullptr) return;
    text_ = text;
    KillTimer(handle(), kHoverTimerId);
    SetTimer(handle(), kHoverTimerId, kHoverDelayMs, nullptr);
}

void HoverCardWindow::Disarm() {
    if (handle() == nullptr) return;
    KillTimer(handle(), kHoverTimerId);
    ShowWindow(handle(), SW_HIDE);
}

Size HoverCardWindow::Measure() const {
    HDC dc = GetDC(handle());
    std::vector<int> widths;
    for (const HoverRow& row : HoverRows(text_)) {
        widths.push_back(TextWidth(dc, captionFont_, row.caption) + TextWidth(dc, valueFont_, row.value));
    }
    const int lineHeight = LineHeight(dc, valueFont_);
    ReleaseDC(handle(), dc);
    return HoverCardSize(text_.mode, widths, lineHeight);
}

// The cursor's position and the lowest row of its image that shows anything.
CursorShape HoverCardWindow::CurrentCursor() {
    CursorShape shape;
    CURSORINFO info{};
    info.cbSize = sizeof info;
    POINT position{};
    GetCursorPos(&position);
    shape.x = position.x;
    shape.y = position.y;
    if (!GetCursorInfo(&info) || info.hCursor == nullptr) return shape;
    ICONINFO icon{};
    if (!GetIconInfo(info.hCursor, &icon)) return shape;
    shape.hotspotX = static_cast<int>(icon.xHotspot);
    shape.hotspotY = static_cast<int>(icon.yHotspot);
    BITMAP mask{};
    if (icon.hbmMask != nullptr && GetObjectA(icon.hbmMask, sizeof mask, &mask) != 0) {
        const int width = mask.bmWidth;
        if (icon.hbmColor == nullptr) {
            // Monochrome: the AND mask above the XOR mask in one bitmap.
            const int height = mask.bmHeight / 2;
            const std::vector<bool> both = MaskBits(icon.hbmMask, width, 2 * height);
            const auto half = static_cast<std::ptrdiff_t>(width * height);
            const std::vector<bool> andBits(both.begin(), both.begin() + half);
            const std::vector<bool> xorBits(both.begin() + half, both.end());
            shape.visibleBottom = LowestVisibleRow(andBits, &xorBits, width, height);
        } else {
            const std::vector<bool> andBits = MaskBits(icon.hbmMask, width, mask.bmHeight);
            shape.visibleBottom = LowestVisibleRow(andBits, nullptr, width, mask.bmHeight);
        }
    }
    if (icon.hbmMask != nullptr) DeleteObject(icon.hbmMask);
    if (icon.hbmColor != nullptr) DeleteObject(icon.hbmColor);
    return shape;
}

void HoverCardWindow::ShowNow() {
    KillTimer(handle(), kHoverTimerId);
    const Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const Rect place = PlaceHoverCard(Measure(), CurrentCursor(), screen);
    SetWindowPos(handle(), HWND_TOPMOST, place.x, place.y, place.width, place.height, SWP_NOACTIVATE);
    ShowWindow(handle(), SW_SHOWNA);
    InvalidateRect(handle(), nullptr, TRUE);
}

void HoverCardWindow::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle(), &paint);
    RECT area{};
    GetClientRect(handle(), &area);
    FillRect(dc, &area, skin_.FillBrush());
    skin_.images().DrawNineSlice(dc, SkinImage::Border3, kFrameCorner, area, true);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin_.Colour(1));
    const int lineHeight = LineHeight(dc, valueFont_);
    int y = kHoverPadding;
    for (const HoverRow& row : HoverRows(text_)) {
        int x = kHoverPadding;
        if (!row.caption.empty()) {
            HGDIOBJ old = SelectObject(dc, captionFont_);
            TextOutA(dc, x, y, row.caption.c_str(), static_cast<int>(row.caption.size()));
            SelectObject(dc, old);
            x += TextWidth(dc, captionFont_, row.caption);
        }
        HGDIOBJ old = SelectObject(dc, valueFont_);
        TextOutA(dc, x, y, row.value.c_str(), static_cast<int>(row.value.size()));
        SelectObject(dc, old);
        // The three rows share the 10 extra pixels of the card's height.
        y += lineHeight + (text_.mode == 1 ? 5 : 0);
    }
    EndPaint(handle(), &paint);
}

INT_PTR HoverCardWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: SetWindowTextA(handle(), kCaption); return FALSE;
        case WM_TIMER:
            if (wParam == kHoverTimerId) ShowNow();
            return TRUE;
        case WM_ERASEBKGND: SetWindowLongPtrA(handle(), DWLP_MSGRESULT, 1); return TRUE;
        case WM_PAINT: Paint(); return TRUE;
        case WM_MOUSEACTIVATE: SetWindowLongPtrA(handle(), DWLP_MSGRESULT, MA_NOACTIVATE); return TRUE;
        default: return FALSE;
    }
}

}  // namespace vorlan::skin
