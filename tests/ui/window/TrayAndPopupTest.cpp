// The tray menu's entries in the real "Vorlan" menu, and the pop-up window
// with its real timers: where it settles, how a new request replaces it, and
// what a click and a right click lead to.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/TrayMenuModel.h"
#include "app/ui/MainDialogIds.h"
#include "app/ui/PopupWindow.h"
#include "app/ui/TrayMenuEntries.h"

namespace vorlan::app {
namespace {

// Texts by position, "-" for a separator, "*" after the default item.
std::string TextsOf(HMENU menu) {
    std::string texts;
    const UINT defaultItem = GetMenuDefaultItem(menu, FALSE, 0);  // -1: none, as a sub-menu's id
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[128] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        const bool separator = (GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) != 0;
        texts += separator ? "-" : std::string(text);
        if (!separator && defaultItem != static_cast<UINT>(-1) && GetMenuItemID(menu, position) == defaultItem) {
            texts += "*";
        }
        texts += "|";
    }
    return texts;
}

TEST(TrayMenu, EntriesGoBeforeExitWithShowVorlanBoldAndLeaveNothingBehind) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    HMENU vorlan = GetSubMenu(bar, 0);
    const std::string before = TextsOf(vorlan);
    const std::string head = before.substr(0, before.size() - std::string("Exit|").size());
    TrayMenuEntries entries;

    entries.Add(vorlan, TrayMenuItems(false));
    EXPECT_EQ(TextsOf(vorlan), head + "About Vorlan|-|Show Vorlan*|-|Exit|");
    entries.Remove();
    EXPECT_EQ(TextsOf(vorlan), before);

    entries.Add(vorlan, TrayMenuItems(true));
    EXPECT_EQ(TextsOf(vorlan), head + "Show connections|Show ban list|-|About Vorlan|-|Show Vorlan*|-|Exit|");
    EXPECT_EQ(GetMenuItemID(vorlan, GetMenuItemCount(vorlan) - 1), static_cast<UINT>(ID_EXIT));
    // An entry that arrived among them while the menu was open goes with them.
    InsertMenuA(vorlan, static_cast<UINT>(GetMenuItemCount(vorlan) - 2), MF_BYPOSITION | MF_STRING, 4242, "Late");
    entries.Remove();
    EXPECT_EQ(TextsOf(vorlan), before);
    DestroyMenu(bar);
}

class Popup : public ::testing::Test {
protected:
    std::vector<std::string> clicks;
    PopupWindow popup{{[this] { clicks.push_back("main window"); },
                       [this](int id) { clicks.push_back("private " + std::to_string(id)); },
                       [this] { clicks.push_back("update page"); }}};

    void SetUp() override {
        if (!popup.Create(GetModuleHandleA(nullptr))) GTEST_SKIP() << "no window can be created (no display)";
    }
    HWND Window() const { return FindWindowA(nullptr, "Vorlan notification"); }
    RECT Rect() const {
        RECT rect{};
        GetWindowRect(Window(), &rect);
        return rect;
    }
    std::string Text() const {
        char text[256] = {};
        GetDlgItemTextA(Window(), IDC_POPUP_TEXT, text, sizeof text);
        return text;
    }
    // Runs the timers until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
        const ULONGLONG deadline = GetTickCount64() + ms;
        while (!done()) {
            if (GetTickCount64() > deadline) return false;
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(1);
        }
        return true;
    }
    bool Settled() const { return popup.IsPopupVisible() && Rect().bottom - Rect().top == kPopupHeight; }
};

TEST_F(Popup, SlidesUpToItsPlaceBesideTheTaskBarWithoutTakingTheFocus) {
    HWND before = GetForegroundWindow();
    popup.ShowPopup({"Raw has joined the server.", 0, false});
    ASSERT_TRUE(popup.IsPopupVisible());
    EXPECT_LT(Rect().bottom - Rect().top, kPopupHeight) << "it starts low and grows";
    ASSERT_TRUE(PumpUntil([&] { return Settled(); }));
    EXPECT_EQ(Text(), "Raw has joined the server.");
    EXPECT_EQ(Rect().right - Rect().left, kPopupWidth);
    EXPECT_EQ(GetForegroundWindow(), before);
    EXPECT_EQ(GetWindowLongPtrA(Window(), GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongPtrA(Window(), GWL_STYLE) & WS_CAPTION, 0) << "no title bar";
    // Its column: beside a task bar docked on the right, else 198 from the right edge.
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RECT bar{0, cy, cx, cy};
    if (HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(taskbar, &bar);
    const std::optional<PopupPlace> start = PopupStart(cx, cy, ScreenRect{bar.left, bar.top, bar.right, bar.bottom});
    EXPECT_EQ(Rect().left, start ? start->x : cx - 198) << "a task bar along no full edge counts as none";
    SendMessageA(Window(), WM_RBUTTONUP, 0, 0);
    EXPECT_FALSE(popup.IsPopupVisible());
    EXPECT_TRUE(clicks.empty()) << "a right click only dismisses";
}

TEST_F(Popup, TheLastRequestReplacesTheShownOneAndAWaitingUpdateNoticeStillLeadsToItsPage) {
    popup.ShowPopup({"first", 0, false});
    ASSERT_TRUE(PumpUntil([&] { return Settled(); }));
    popup.ShowPopup({"second", 7, false});
    popup.ShowPopup({"Vorlan1.18 is available", 0, true});
    EXPECT_EQ(Text(), "first") << "the shown one slides away first";
    ASSERT_TRUE(PumpUntil([&] { return Text() != "first"; }));
    EXPECT_EQ(Text(), "Vorlan1.18 is available");
    ASSERT_TRUE(PumpUntil([&] { return Settled(); }));
    SendMessageA(Window(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(clicks, std::vector<std::string>{"update page"});
    EXPECT_FALSE(popup.IsPopupVisible());

    popup.ShowPopup({"Raw says: hi", 7, false});
    SendMessageA(Window(), WM_LBUTTONUP, 0, 0);
    popup.ShowPopup({"Server started.", 0, false});
    SendMessageA(Window(), WM_COMMAND, IDC_POPUP_CLICK, 0);  // the hidden default button clicks too
    EXPECT_EQ(clicks, (std::vector<std::string>{"update page", "private 7", "main window"}));
}

}  // namespace
}  // namespace vorlan::app
