#pragma once

#include <windows.h>

#include <array>

#include "ui/ModelessDialog.h"
#include "conversation/ui/ChatTextControl.h"
#include "conversation/ui/TextMenuOwner.h"
#include "storage/Records.h"

namespace vorlan::client {

class ClientSession;

// "Edit profile" (dialog 140): the eight profile fields. "update" makes them
// the profile and tells the server the name while connected.
class EditProfileDialog : public ui::ModelessDialog {
public:
    EditProfileDialog(HINSTANCE instance, ClientSession& session);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notification) override;

private:
    static constexpr std::size_t kFieldCount = 8;

    void LimitField(std::size_t index);
    void Update();

    ClientSession& session_;
    conversation::TextMenuOwner menuOwner_;
    std::array<conversation::ChatTextControl, kFieldCount> fields_;
};

}  // namespace vorlan::client
