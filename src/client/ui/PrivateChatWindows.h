#pragma once

#include <windows.h>

#include <memory>

#include "client/ClientViews.h"

namespace vorlan::client {

class ClientSession;

// Makes the private chat windows the client session asks for. The main window
// hands it to the core among the views before the core exists, and binds it to
// the core's session (and itself, for the icons) right after.
class PrivateChatWindows : public PrivateChatWindowFactory {
public:
    explicit PrivateChatWindows(HINSTANCE instance) : instance_(instance) {}

    void Bind(ClientSession& session, HWND mainWindow);

    std::unique_ptr<PrivateChatWindowView> CreatePrivateChatWindow() override;

private:
    HINSTANCE instance_;
    ClientSession* session_ = nullptr;
    HWND mainWindow_ = nullptr;
};

}  // namespace vorlan::client
