#include "platform/win32/SocketRegistry.h"

namespace vorlan::platform {

SocketRegistry& SocketRegistry::ForThisThread() {
    // Never destroyed: sockets with static storage may close after thread exit handlers ran.
    thread_local SocketRegistry* registry = new SocketRegistry;
    return *registry;
}

void SocketRegistry::Add(SOCKET handle, AsyncSocket& socket) { sockets_[handle] = &socket; }

void SocketRegistry::Remove(SOCKET handle) { sockets_.erase(handle); }

AsyncSocket* SocketRegistry::Find(SOCKET handle) const {
    const auto found = sockets_.find(handle);
    return found == sockets_.end() ? nullptr : found->second;
}

}  // namespace vorlan::platform
