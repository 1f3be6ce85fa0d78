#pragma once

#include <unordered_map>

#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

class AsyncSocket;

// The open sockets of this thread by handle. A notification names its socket
// only by handle, so it reaches an object only while that object is open; a
// notification for a socket that was closed or destroyed finds nothing.
class SocketRegistry {
public:
    static SocketRegistry& ForThisThread();

    void Add(SOCKET handle, AsyncSocket& socket);
    void Remove(SOCKET handle);
    AsyncSocket* Find(SOCKET handle) const;

private:
    std::unordered_map<SOCKET, AsyncSocket*> sockets_;
};

}  // namespace vorlan::platform
