#pragma once

#include <unordered_map>

#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

class AsyncSocket;

// The open sockets of this thread by handle. A notification names its socket
// only by handle, so it reaches an object only while that object is open; a
// notification for a socket that was closed or destroyed finds nothing.
//
// Winsock reuses handle values at once, while notifications for a closed
// socket may still wait in the queue. So a closed handle stays retired until a
// marker posted after its close has come through the queue: everything that
// arrives for the handle before the marker belongs to the old socket.
class SocketRegistry {
public:
    static SocketRegistry& ForThisThread();

    void Add(SOCKET handle, AsyncSocket& socket);
    void Remove(SOCKET handle);
    // The handle was closed and a marker was posted behind its notifications.
    void Retire(SOCKET handle);
    // The marker of one Retire came through.
    void MarkerPassed(SOCKET handle);
    // nullptr for a handle that is not open or whose old notifications still pass.
    AsyncSocket* Find(SOCKET handle) const;

private:
    struct Entry {
        AsyncSocket* socket = nullptr;
        int markersWaiting = 0;
    };
    void ForgetIfUnused(SOCKET handle);

    std::unordered_map<SOCKET, Entry> sockets_;
};

}  // namespace vorlan::platform
