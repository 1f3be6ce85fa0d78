#pragma once

#include <string_view>

#include "storage/Records.h"

namespace vorlan::server {

class ServerConnection;

// What happens to connections and to the ban list, for an owner that keeps a
// record of it (the headless server's log). Every operation does nothing unless
// overridden, and the server calls them only when an owner asked for them, so
// the main window sees no change. Connections passed in are valid only during
// the call.
class ServerEvents {
public:
    enum class Refusal {
        Banned,  // closed at accept, its address is on the ban list
        Full,    // left in the backlog while 1000 clients are connected
    };
    enum class Removal {
        Left,           // the peer closed the connection
        Lost,           // the connection broke
        WrongPassword,  // log-in refused
        Fault,          // a protocol fault
        Flood,          // too many messages
        Unread,         // the client stopped reading what it was sent
        Kicked,
        Banned,
        Dropped,  // by the owner (DropConnection)
    };
    enum class BanChange {
        Added,
        Removed,
        Evicted,  // pushed out of a full list by a new entry
    };

    // `address` is empty when the connection was not accepted (Full).
    virtual void OnConnectionRefused(std::string_view /*address*/, Refusal /*reason*/) {}
    virtual void OnConnectionAccepted(const ServerConnection& /*connection*/) {}
    virtual void OnUserLoggedIn(const ServerConnection& /*user*/) {}
    // Called before the connection is closed. `by` is the user whose request
    // removed it (kick, ban), otherwise null.
    virtual void OnConnectionRemoved(const ServerConnection& /*connection*/, Removal /*reason*/,
                                     const ServerConnection* /*by*/) {}
    // `by` is the user whose request changed the list, null for the owner.
    virtual void OnBanListChanged(BanChange /*change*/, const storage::BanEntry& /*entry*/,
                                  const ServerConnection* /*by*/) {}

protected:
    ~ServerEvents() = default;
};

}  // namespace vorlan::server
