#include "app/ui/PopupWindow.h"

#include "app/ui/MainDialogIds.h"

namespace vorlan::app {

namespace {

constexpr UINT_PTR kSlideUpTimer = 105;
constexpr UINT_PTR kRestTimer = 106;
constexpr UINT_PTR kSlideDownTimer = 107;
constexpr UINT_PTR kMakeRoomTimer = 108;

// The labels in pixels, whatever the template's dialog units come to.
constexpr int kTitleTop = 10;
constexpr int kTitleHeight = 14;
constexpr RECT kTextRect{16, 24, 16 + 148, 24 + 78};

HFONT MakeFont(int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

}  // namespace

PopupWindow::~PopupWindow() {
    // The window goes first (the base destroys it), then what it drew with.
    End(0);
    for (HGDIOBJ object :
         {static_cast<HGDIOBJ>(titleFont_), static_cast<HGDIOBJ>(textFont_), static_cast<HGDIOBJ>(background_)}) {
        if (object != nullptr) DeleteObject(object);
    }
}

bool PopupWindow::Create(HINSTANCE instance) { return CreateModeless(instance, IDD_POPUP, nullptr); }

bool PopupWindow::IsPopupVisible() const { return handle() != nullptr && IsWindowVisible(handle()) != FALSE; }

PopupWindow::Screen PopupWindow::CurrentScreen() {
    Screen screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), std::nullopt};
    if (HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr)) {
        RECT rect{};
        if (GetWindowRect(taskbar, &rect)) screen.taskbar = ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
    }
    return screen;
}

void PopupWindow::OnInitDialog() {
    // A caption in the template would give the window a title bar; the text
    // is only its name (no task bar button: a tool window).
    SetWindowTextA(handle(), kPopupCaption);
    SetWindowLongPtrA(handle(), GWL_EXSTYLE,
                      GetWindowLongPtrA(handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    titleFont_ = MakeFont(13, FW_BOLD);
    textFont_ = MakeFont(13, FW_NORMAL);
    background_ = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
    HWND title = GetDlgItem(handle(), IDC_POPUP_TITLE);
    HWND text = GetDlgItem(handle(), IDC_POPUP_TEXT);
    SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
    // The title is centred by its label, which spans the whole width.
    MoveWindow(title, 0, kTitleTop, kPopupWidth, kTitleHeight, FALSE);
    MoveWindow(text, kTextRect.left, kTextRect.top, kTextRect.right - kTextRect.left, kTextRect.bottom - kTextRect.top,
               FALSE);
}

void PopupWindow::ShowPopup(const PopupRequest& request) {
    if (handle() == nullptr) {
        return;
    }
    if (IsPopupVisible()) {
        // The shown one slides away first; only the last of several waits.
        pending_ = request;
        KillTimer(handle(), kSlideUpTimer);
        KillTimer(handle(), kRestTimer);
        KillTimer(handle(), kSlideDownTimer);
        SetTimer(handle(), kMakeRoomTimer, kPopupTickMs, nullptr);
        return;
    }
    Begin(request);
    ShowWindow(handle(), SW_SHOWNA);
    SetTimer(handle(), kSlideUpTimer, kPopupTickMs, nullptr);
}

void PopupWindow::Begin(const PopupRequest& request) {
    shown_ = request;
    SetDlgItemTextA(handle(), IDC_POPUP_TEXT, request.text.c_str());
    screen_ = CurrentScreen();
    // A task bar along no full edge (floating, or a shell's own tray window)
    // gives no place: the pop-up starts as without a task bar rather than
    // wherever it happened to be, at its last size.
    std::optional<PopupPlace> start = PopupStart(screen_.cx, screen_.cy, screen_.taskbar);
    if (!start) start = PopupStart(screen_.cx, screen_.cy, std::nullopt);
    MoveTo(*start);
}

void PopupWindow::MoveTo(const PopupPlace& place) {
    place_ = place;
    SetWindowPos(handle(), HWND_TOPMOST, place.x, place.y, place.width, place.height, SWP_NOACTIVATE);
}

void PopupWindow::StopTimers() {
    for (UINT_PTR id : {kSlideUpTimer, kRestTimer, kSlideDownTimer, kMakeRoomTimer}) KillTimer(handle(), id);
}

void PopupWindow::OnTimer(UINT_PTR id) {
    switch (id) {
        case kSlideUpTimer: {
            const SlideUp next = SlideUpTick(place_, screen_.cx, screen_.cy, screen_.taskbar);
            MoveTo(next.place);
            if (next.arrived) {
                KillTimer(handle(), kSlideUpTimer);
                SetTimer(handle(), kRestTimer, kPopupRestMs, nullptr);
            }
            break;
        }
        case kRestTimer:
            KillTimer(handle(), kRestTimer);
            SetTimer(handle(), kSlideDownTimer, kPopupTickMs, nullptr);
            break;
        case kSlideDownTimer:
            if (const std::optional<PopupPlace> next = SlideDownTick(place_)) {
                MoveTo(*next);
            } else {
                Dismiss();
            }
            break;
        case kMakeRoomTimer:
            if (const std::optional<PopupPlace> next = SlideDownTick(place_)) {
                MoveTo(*next);
            } else {
                KillTimer(handle(), kMakeRoomTimer);
                // The waiting request keeps its own kind: an update notice that
                // had to wait still leads to the home page.
                Begin(pending_);
                SetTimer(handle(), kSlideUpTimer, kPopupTickMs, nullptr);
            }
            break;
        default: break;
    }
}

void PopupWindow::Dismiss() {
    StopTimers();
    shown_.updateNotice = false;
    ShowWindow(handle(), SW_HIDE);
}

void PopupWindow::OnClick() {
    const PopupRequest clicked = shown_;
    if (clicked.updateNotice) {
        if (actions_.openUpdatePage) actions_.openUpdatePage();
    } else if (clicked.source == 0) {
        if (actions_.showMainWindow) actions_.showMainWindow();
    } else if (actions_.showPrivate) {
        actions_.showPrivate(clicked.source);
    }
    if (handle() != nullptr) Dismiss();
}

INT_PTR PopupWindow::OnColour(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(background_);
}

// A thin frame, since the window has no border of its own.
void PopupWindow::PaintFrame() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(handle(), &paint);
    RECT client{};
    GetClientRect(handle(), &client);
    client.bottom = client.top + kPopupHeight;  // the frame's foot shows only once fully up
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    EndPaint(handle(), &paint);
}

INT_PTR PopupWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: OnInitDialog(); return FALSE;
        case WM_TIMER: OnTimer(wParam); return TRUE;
        case WM_LBUTTONUP: OnClick(); return TRUE;
        case WM_RBUTTONUP: Dismiss(); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_POPUP_CLICK || LOWORD(wParam) == IDOK) OnClick();
            return TRUE;  // Escape and the rest do nothing: only a click or a right click ends it
        case WM_MOUSEACTIVATE: SetWindowLongPtrA(handle(), DWLP_MSGRESULT, MA_NOACTIVATE); return TRUE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC: return OnColour(reinterpret_cast<HDC>(wParam));
        case WM_PAINT: PaintFrame(); return TRUE;
        default: return FALSE;
    }
}

}  // namespace vorlan::app
