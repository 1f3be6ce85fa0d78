#include "platform/win32/SocketRegistry.h"

namespace vorlan::platform {

SocketRegistry& SocketRegistry::ForThisThread() {
    // Never destroyed: sockets with static storage may close after thread exit handlers ran.
    thread_local SocketRegistry* registry = new SocketRegistry;
    return *registry;
}

void SocketRegistry::Add(SOCKET handle, AsyncSocket& socket) { sockets_[handle].socket = &socket; }

void SocketRegistry::Remove(SOCKET handle) {
    const auto found = sockets_.find(handle);
    if (found != sockets_.end()) {
        found->second.socket = nullptr;
        ForgetIfUnused(handle);
    }
}

void SocketRegistry::Retire(SOCKET handle) { ++sockets_[handle].markersWaiting; }

void SocketRegistry::MarkerPassed(SOCKET handle) {
    const auto found = sockets_.find(handle);
    if (found != sockets_.end() && found->second.markersWaiting > 0) {
        --found->second.markersWaiting;
        ForgetIfUnused(handle);
    }
}

void SocketRegistry::ForgetIfUnused(SOCKET handle) {
    const auto found = sockets_.find(handle);
    if (found != sockets_.end() && found->second.socket == nullptr && found->second.markersWaiting == 0) {
        sockets_.erase(found);
    }
}

AsyncSocket* SocketRegistry::Find(SOCKET handle) const {
    const auto found = sockets_.find(handle);
    if (found == sockets_.end() || found->second.markersWaiting > 0) {
        return nullptr;
    }
    return found->second.socket;
}

}  // namespace vorlan::platform
