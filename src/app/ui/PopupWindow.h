#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "app/Notifier.h"
#include "app/PopupMotion.h"
#include "ui/Dialog.h"

namespace vorlan::app {

// What a click on the pop-up leads to; the main window supplies them.
struct PopupActions {
    std::function<void()> showMainWindow;         // a pop-up about the main chat
    std::function<void(int userId)> showPrivate;  // a pop-up about a private conversation
    std::function<void()> openUpdatePage;         // the update notice
};

// The notification pop-up (dialog 137): borderless, top-most, never
// activated. It slides up from the task bar by PopupMotion's ticks (timer 105),
// rests 10 seconds (106), slides down and hides (107); a new request while it
// is visible slides the shown one down first (108). The core has decided
// already whether it shows and which sound plays.
class PopupWindow : public ui::Dialog, public PopupView {
public:
    static constexpr const char* kPopupCaption = "Vorlan notification";  // never shown

    explicit PopupWindow(PopupActions actions) : actions_(std::move(actions)) {}
    ~PopupWindow() override;

    // Created hidden at start-up with the desktop as parent.
    bool Create(HINSTANCE instance);
    void Destroy() { End(0); }

    bool IsPopupVisible() const override;
    void ShowPopup(const PopupRequest& request) override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A small window: only the background's top and bottom bands.
    ui::DialogLook Look() const override { return {true, true, {}}; }

private:
    struct Screen {
        int cx = 0, cy = 0;
        std::optional<ScreenRect> taskbar;
    };
    static Screen CurrentScreen();

    void OnInitDialog();
    void OnTimer(UINT_PTR id);
    void OnClick();
    void Dismiss();
    // Puts `request` into the labels and the window at its start position.
    void Begin(const PopupRequest& request);
    void MoveTo(const PopupPlace& place);
    void StopTimers();
    INT_PTR OnColour(HDC dc);
    void PaintFrame();

    PopupActions actions_;
    PopupRequest shown_;
    PopupRequest pending_;
    PopupPlace place_;
    Screen screen_;
    HFONT titleFont_ = nullptr;
    HFONT textFont_ = nullptr;
    HBRUSH background_ = nullptr;
};

}  // namespace vorlan::app
