#include "platform/posix/SocketRegistry.h"

namespace vorlan::platform {

namespace {

std::uint64_t MakeHandle(std::uint32_t slot, std::uint32_t generation) {
    return (static_cast<std::uint64_t>(generation) << 32) | slot;
}

std::uint32_t SlotOf(std::uint64_t handle) { return static_cast<std::uint32_t>(handle); }

std::uint32_t GenerationOf(std::uint64_t handle) { return static_cast<std::uint32_t>(handle >> 32); }

}  // namespace

std::uint64_t SocketRegistry::Add(SocketBackend* socket) {
    std::uint32_t slot;
    if (freeSlots_.empty()) {
        slot = static_cast<std::uint32_t>(slots_.size());
        slots_.push_back(Slot{});
    } else {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    }
    slots_[slot].socket = socket;
    return MakeHandle(slot, slots_[slot].generation);
}

void SocketRegistry::Remove(std::uint64_t handle) {
    if (Find(handle) == nullptr) return;
    Slot& entry = slots_[SlotOf(handle)];
    entry.socket = nullptr;
    // Generation 0 is never used, so a handle is never 0.
    if (++entry.generation == 0) entry.generation = 1;
    freeSlots_.push_back(SlotOf(handle));
}

SocketBackend* SocketRegistry::Find(std::uint64_t handle) const {
    const std::uint32_t slot = SlotOf(handle);
    if (slot >= slots_.size()) return nullptr;
    const Slot& entry = slots_[slot];
    return entry.generation == GenerationOf(handle) ? entry.socket : nullptr;
}

}  // namespace vorlan::platform
