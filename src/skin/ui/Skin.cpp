#include "skin/ui/Skin.h"

#include <cstring>

#include "skin/ui/SkinButtonControl.h"
#include "skin/ui/SkinLabel.h"

namespace vorlan::skin {

namespace {

constexpr const char* kDressedProperty = "VorlanSkinDressed";
constexpr COLORREF kTreeLineColour = RGB(160, 170, 185);

bool ClassIs(HWND window, const char* name) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

bool IsFramedControl(HWND child) {
    return ClassIs(child, WC_TREEVIEWA) || ClassIs(child, "RichEdit20A") || ClassIs(child, "RichEdit20W");
}

// The button kinds the skin draws; nothing for group boxes and owner-drawn ones.
std::optional<ButtonKind> KindOfButton(LONG style) {
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: return (style & BS_FLAT) ? ButtonKind::Flat : ButtonKind::Push;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return ButtonKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return ButtonKind::Radio;
        default: return std::nullopt;
    }
}

bool IsTextLabel(LONG style) {
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_LEFTNOWORDWRAP:
        case SS_SIMPLE: return true;
        default: return false;
    }
}

// A frame replaces the control's own border line.
void DropBorder(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(control, GWL_EXSTYLE);
    if (!(style & WS_BORDER) && !(exStyle & WS_EX_CLIENTEDGE)) return;
    SetWindowLongA(control, GWL_STYLE, style & ~WS_BORDER);
    SetWindowLongA(control, GWL_EXSTYLE, exStyle & ~WS_EX_CLIENTEDGE);
    SetWindowPos(control, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

struct DressContext {
    Skin* skin;
    HWND dialog;
};

BOOL CALLBACK DressChild(HWND child, LPARAM context) {
    auto& dress = *reinterpret_cast<DressContext*>(context);
    if (GetParent(child) != dress.dialog || GetPropA(child, kDressedProperty) != nullptr) return TRUE;
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (ClassIs(child, "Button")) {
        if (std::optional<ButtonKind> kind = KindOfButton(style)) {
            SetPropA(child, kDressedProperty, reinterpret_cast<HANDLE>(1));
            SkinButtonControl::Attach(child, *kind, *dress.skin);
        }
    } else if (ClassIs(child, "Static")) {
        if (IsTextLabel(style)) {
            SetPropA(child, kDressedProperty, reinterpret_cast<HANDLE>(1));
            SkinLabel::Attach(child, *dress.skin);
        }
    } else if (IsFramedControl(child)) {
        SetPropA(child, kDressedProperty, reinterpret_cast<HANDLE>(1));
        DropBorder(child);
    }
    return TRUE;
}

}  // namespace

HFONT MakeSkinFont(const char* face, int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

Skin::Skin()
    : pushFont_(MakeSkinFont("Tahoma", 12, FW_BOLD)),
      checkFont_(MakeSkinFont("Tahoma", 13, FW_BOLD)),
      titleFont_(MakeSkinFont("Tahoma", 13, FW_BOLD)) {
    colours_.fill(RGB(0, 0, 0));
    fillBrush_ = CreateSolidBrush(fillColour_);
}

Skin::~Skin() {
    if (ui::InstalledWindowSkin() == this) ui::InstallWindowSkin(nullptr);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(fillBrush_), static_cast<HGDIOBJ>(pushFont_),
                           static_cast<HGDIOBJ>(checkFont_), static_cast<HGDIOBJ>(titleFont_)}) {
        if (object != nullptr) DeleteObject(object);
    }
}

void Skin::LoadImages(const std::string& programFolder) {
    images_.Load(programFolder);
    fillColour_ =
        images_.PixelOf(SkinImage::Background, kBackgroundCorner, kBackgroundCorner, GetSysColor(COLOR_BTNFACE));
    if (fillBrush_ != nullptr) DeleteObject(fillBrush_);
    fillBrush_ = CreateSolidBrush(fillColour_);
}

void Skin::SetColours(const storage::Colors& colours) {
    for (std::size_t i = 0; i < colours.size(); ++i) colours_[i] = static_cast<COLORREF>(colours[i]);
}

COLORREF Skin::Colour(int k) const {
    if (k < 1 || k > static_cast<int>(colours_.size())) return RGB(0, 0, 0);
    return colours_[static_cast<std::size_t>(k - 1)];
}

void Skin::PaintBackground(HWND window, HDC dc, const ui::DialogLook& look, int dx, int dy) const {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, fillBrush_);
    const Rect area{-dx, -dy, client.right, client.bottom};
    if (look.smallForm) {
        images_.Draw(dc, SkinImage::Background, kBackgroundCorner, TopBottomBands(kBackgroundCorner, kSmallBand, area));
    } else {
        images_.Draw(dc, SkinImage::Background, kBackgroundCorner, NineSlice(kBackgroundCorner, area, true));
    }
    const auto shifted = [&](RECT r) {
        OffsetRect(&r, -dx, -dy);
        return r;
    };
    for (const ui::SkinFrame& frame : look.frames) {
        switch (frame.kind) {
            case ui::SkinFrame::Kind::Panel:
                images_.DrawNineSlice(dc, SkinImage::Border, kPanelCorner, shifted(frame.rect), false);
                break;
            case ui::SkinFrame::Kind::Frame:
                images_.DrawNineSlice(dc, SkinImage::Border2, kFrameCorner, shifted(frame.rect), false);
                break;
            case ui::SkinFrame::Kind::FilledFrame:
                images_.DrawNineSlice(dc, SkinImage::Border3, kFrameCorner, shifted(frame.rect), true);
                break;
        }
    }
    // Every tree and text control sits in a thin frame of its own.
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || !IsFramedControl(child)) continue;
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        InflateRect(&place, kFrameOutset, kFrameOutset);
        images_.DrawNineSlice(dc, SkinImage::Border2, kFrameCorner, shifted(place), false);
    }
}

void Skin::DrawDottedRectangle(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    for (int x = rect.left; x < rect.right; x += 2) {
        SetPixel(dc, x, rect.top, colour);
        SetPixel(dc, x, rect.bottom - 1, colour);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        SetPixel(dc, rect.left, y, colour);
        SetPixel(dc, rect.right - 1, y, colour);
    }
}

void Skin::DressDialog(HWND dialog) {
    DressContext context{this, dialog};
    EnumChildWindows(dialog, &DressChild, reinterpret_cast<LPARAM>(&context));
}

std::optional<INT_PTR> Skin::DialogMessage(HWND dialog, const ui::DialogLook& look, UINT message, WPARAM wParam,
                                           LPARAM) {
    switch (message) {
        case WM_ERASEBKGND:
            if (IsIconic(dialog)) return std::nullopt;
            PaintBackground(dialog, reinterpret_cast<HDC>(wParam), look);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
            return TRUE;
        case WM_PAINT:
            if (!IsIconic(dialog)) return std::nullopt;
            PaintIcon(dialog);
            return TRUE;
        case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(fillBrush_);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, Colour(1));
            SetBkColor(dc, fillColour_);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(fillBrush_);
        }
        case WM_SIZE: InvalidateRect(dialog, nullptr, TRUE); return std::nullopt;
        default: return std::nullopt;
    }
}

// A minimised window shows its 32-pixel icon in the middle.
void Skin::PaintIcon(HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, fillBrush_);
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (icon == nullptr) icon = icon_;
    if (icon != nullptr) {
        DrawIconEx(dc, (client.right - 32) / 2, (client.bottom - 32) / 2, icon, 32, 32, 0, nullptr, DI_NORMAL);
    }
    EndPaint(window, &paint);
}

// The tree paints into a bitmap that goes to the screen in one piece, so its
// rows never flicker through their background.
static LRESULT CALLBACK DoubleBufferedTree(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            if (wParam != 0) break;  // already into a given DC
            PAINTSTRUCT paint{};
            HDC screen = BeginPaint(tree, &paint);
            RECT client{};
            GetClientRect(tree, &client);
            HDC memory = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
            if (memory == nullptr || bitmap == nullptr) {
                if (bitmap != nullptr) DeleteObject(bitmap);
                if (memory != nullptr) DeleteDC(memory);
                EndPaint(tree, &paint);
                InvalidateRect(tree, nullptr, FALSE);
                return DefSubclassProc(tree, WM_PAINT, 0, 0);
            }
            HGDIOBJ old = SelectObject(memory, bitmap);
            auto background = static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0));
            if (background == CLR_INVALID) background = GetSysColor(COLOR_WINDOW);
            HBRUSH brush = CreateSolidBrush(background);
            FillRect(memory, &client, brush);
            DeleteObject(brush);
            DefSubclassProc(tree, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
            BitBlt(screen, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
                   paint.rcPaint.bottom - paint.rcPaint.top, memory, paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(tree, &paint);
            return 0;
        }
        case WM_NCDESTROY: RemoveWindowSubclass(tree, &DoubleBufferedTree, 1); break;
        default: break;
    }
    return DefSubclassProc(tree, message, wParam, lParam);
}

void Skin::DressTree(HWND tree) {
    if (GetPropA(tree, kDressedProperty) == nullptr) SetWindowSubclass(tree, &DoubleBufferedTree, 1, 0);
    SendMessageA(tree, TVM_SETINDENT, 19, 0);
    SendMessageA(tree, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(kTreeLineColour));
    DropBorder(tree);
    SetPropA(tree, kDressedProperty, reinterpret_cast<HANDLE>(1));
}

std::optional<LRESULT> Skin::TreeCustomDraw(const NMTVCUSTOMDRAW& draw, std::uint32_t itemColour) {
    auto& changeable = const_cast<NMTVCUSTOMDRAW&>(draw);
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            changeable.clrText = static_cast<COLORREF>(itemColour);
            changeable.clrTextBk =
                (draw.nmcd.uItemState & CDIS_SELECTED)
                    ? Colour(10)
                    : static_cast<COLORREF>(SendMessageA(draw.nmcd.hdr.hwndFrom, TVM_GETBKCOLOR, 0, 0));
            // The focus is shown by the frame drawn afterwards, not the system's dotted one.
            changeable.nmcd.uItemState &= ~CDIS_FOCUS;
            return CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPOSTPAINT: DrawTreeColumn(draw); return CDRF_DODEFAULT;
        default: return CDRF_DODEFAULT;
    }
}

// The expand or collapse glyph of a row with children in its own column, with
// the dotted lines through that column, and the focus frame round the row's text.
void Skin::DrawTreeColumn(const NMTVCUSTOMDRAW& draw) {
    HWND tree = draw.nmcd.hdr.hwndFrom;
    auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    HDC dc = draw.nmcd.hdc;
    const LONG style = GetWindowLongA(tree, GWL_STYLE);
    RECT text{};
    const bool hasText = TreeView_GetItemRect(tree, item, &text, TRUE) != FALSE;

    const HTREEITEM parent = TreeView_GetParent(tree, item);
    const TreeGlyph glyph = TreeGlyphFor(TreeView_GetChild(tree, item) != nullptr,
                                         (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0);
    if ((style & TVS_HASBUTTONS) && glyph != TreeGlyph::None && (parent != nullptr || (style & TVS_LINESATROOT))) {
        int depth = 0;
        for (HTREEITEM up = parent; up != nullptr; up = TreeView_GetParent(tree, up)) ++depth;
        if (!(style & TVS_LINESATROOT)) --depth;
        const int indent = static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
        const int left = depth * indent - GetScrollPos(tree, SB_HORZ);
        const RECT column{left, draw.nmcd.rc.top, left + indent, draw.nmcd.rc.bottom};
        HBRUSH background = CreateSolidBrush(static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)));
        FillRect(dc, &column, background);
        DeleteObject(background);
        const int centreX = left + kTreeGlyphLeft + kTreeGlyphSize / 2;
        const int centreY = (column.top + column.bottom) / 2;
        if (style & TVS_HASLINES) {
            const bool above = parent != nullptr || TreeView_GetPrevSibling(tree, item) != nullptr;
            const bool below = TreeView_GetNextSibling(tree, item) != nullptr;
            for (int x = centreX; x < column.right; x += 2) SetPixel(dc, x, centreY, kTreeLineColour);
            for (int y = above ? column.top : centreY; y < (below ? column.bottom : centreY + 1); y += 2) {
                SetPixel(dc, centreX, y, kTreeLineColour);
            }
        }
        images_.DrawWhole(dc, glyph == TreeGlyph::Collapse ? SkinImage::Collapse : SkinImage::Expand,
                          left + kTreeGlyphLeft, centreY - kTreeGlyphSize / 2);
    }
    if (hasText && GetFocus() == tree && TreeView_GetSelection(tree) == item) {
        RECT frame = text;
        if (style & TVS_FULLROWSELECT) {
            frame.left = draw.nmcd.rc.left;
            frame.right = draw.nmcd.rc.right;
        }
        HBRUSH focus = CreateSolidBrush(Colour(11));
        FrameRect(dc, &frame, focus);
        DeleteObject(focus);
    }
}

}  // namespace vorlan::skin
