#pragma once

#include <string_view>

namespace vorlan::server {

// What the chat server tells its owner (the main window, or the headless tool).
class ServerObserver {
public:
    // A notice line such as "Server started." for the chat view and the log.
    virtual void OnServerNotice(std::string_view text) = 0;
    // The server started or stopped, or its listening was switched; the owner
    // updates its menu ("Start server", "Stop listening"/"Start listening").
    virtual void OnServerStateChanged(bool running, bool listening) = 0;
    // Starting the server or its listening failed; the owner shows a pop-up with
    // `text` when its window is not in front.
    virtual void OnServerPopupRequest(std::string_view text) = 0;

protected:
    ~ServerObserver() = default;
};

}  // namespace vorlan::server
