#pragma once

#include <windows.h>

#include <memory>

#include "client/ClientViews.h"

namespace vorlan::client {
class ClientSession;
}

namespace vorlan::conversation {

// Makes the private chat windows the client session asks for. The main window
// hands it to the core among the views before the core exists, and binds it to
// the core's session (and itself, for the icons) right after.
class PrivateChatWindows : public client::PrivateChatWindowFactory {
public:
    explicit PrivateChatWindows(HINSTANCE instance) : instance_(instance) {}

    void Bind(client::ClientSession& session, HWND mainWindow);

    std::unique_ptr<client::PrivateChatWindowView> CreatePrivateChatWindow() override;

private:
    HINSTANCE instance_;
    client::ClientSession* session_ = nullptr;
    HWND mainWindow_ = nullptr;
};

}  // namespace vorlan::conversation
