#pragma once

#include <windows.h>

#include "skin/HoverCard.h"
#include "ui/Dialog.h"

namespace vorlan::skin {

class Skin;

// The hover card (dialog 159): a borderless top-most window, created hidden at
// start-up and reused for the whole run. Armed with a text, it waits 500 ms
// (timer 105), then shows under the cursor without taking the activation.
class HoverCardWindow : public ui::Dialog {
public:
    static constexpr const char* kCaption = "Vorlan hover card";  // never shown

    explicit HoverCardWindow(const Skin& skin) : skin_(skin) {}
    ~HoverCardWindow() override;

    bool Create(HINSTANCE instance);
    void Destroy() { End(0); }

    // Fills the card and starts its timer.
    void Arm(const HoverCardText& text);
    // Stops the timer and hides the card.
    void Disarm();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::DialogLook Look() const override { return {false, false, {}}; }

private:
    void ShowNow();
    Size Measure() const;
    static CursorShape CurrentCursor();
    void Paint();

    const Skin& skin_;
    HoverCardText text_;
    HFONT captionFont_ = nullptr;
    HFONT valueFont_ = nullptr;
};

}  // namespace vorlan::skin
