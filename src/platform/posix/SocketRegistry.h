#pragma once

#include <cstdint>
#include <vector>

namespace vorlan::platform {

class SocketBackend;

// Live sockets by handle. A handle carries a slot and that slot's generation,
// so a notification queued for a socket that has since been closed (or whose
// slot now holds another socket) finds nothing instead of a dangling object.
class SocketRegistry {
public:
    std::uint64_t Add(SocketBackend* socket);
    void Remove(std::uint64_t handle);
    SocketBackend* Find(std::uint64_t handle) const;

private:
    struct Slot {
        SocketBackend* socket = nullptr;
        std::uint32_t generation = 1;
    };
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> freeSlots_;
};

}  // namespace vorlan::platform
