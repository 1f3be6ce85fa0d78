#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "ui/ModelessDialog.h"
#include "client/ClientViews.h"
#include "conversation/ui/ChatTextControl.h"

namespace vorlan::client {

// The info window (dialog 143): a user's nine profile and status fields, with
// the user's name in the caption and a "private chat" button.
class InfoDialog : public ui::ModelessDialog, public InfoWindowView {
public:
    // The "private chat" action returns true when the chat opened (the user is
    // still online); the window then closes.
    InfoDialog(HINSTANCE instance, conversation::ChatTextOwner& owner);
    // Before the window is first shown: the fields' colours, and what
    // "private chat" runs.
    void SetColours(const conversation::ChatTextColours& colours) { colours_ = colours; }
    void SetPrivateChatAction(std::function<bool()> openPrivateChat) { openPrivateChat_ = std::move(openPrivateChat); }

    // InfoWindowView
    void ShowInfoWindow() override;
    void SetInfoCaption(const std::string& caption) override;
    void SetInfoUserId(int id) override { userId_ = id; }
    void SetInfoField(int index, const std::string& text) override;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    conversation::ChatTextOwner& owner_;
    conversation::ChatTextColours colours_;
    std::function<bool()> openPrivateChat_;
    std::array<conversation::ChatTextControl, kInfoFieldCount> fields_;
    int userId_ = 0;
};

}  // namespace vorlan::client
