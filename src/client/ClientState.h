#pragma once

#include "client/MenuIds.h"

namespace vorlan::client {

enum class ConnectionState { Idle, Connecting, Connected, WaitingToReconnect };

// What the client knows about itself and its own server. The session changes
// these fields; the main menu and the status title are derived from them.
struct ClientState {
    ConnectionState connection = ConnectionState::Idle;
    int ownId = 0;         // > 0 once the server said which user we are
    bool isAdmin = false;  // the admin menus are installed
    bool mainChatOpen = true;
    bool ownServerRunning = false;
    bool listening = true;                       // the own server accepts new connections
    int checkedStatus = menu::kStatusAvailable;  // the status item with the radio mark

    bool connected() const { return connection == ConnectionState::Connected; }
    // A connection or an attempt at one exists ("End connection" can end it).
    bool hasConnectionOrAttempt() const {
        return connection == ConnectionState::Connecting || connection == ConnectionState::Connected;
    }
    bool operator==(const ClientState&) const = default;
};

}  // namespace vorlan::client
