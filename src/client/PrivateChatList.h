#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "client/PrivateChat.h"

namespace vorlan::client {

// The open private chats, in the order they were opened.
class PrivateChatList {
public:
    static constexpr std::size_t kMaxWindows = 50000;

    // The first chat with this partner id, or null.
    PrivateChat* FindByPeer(int peerId) const;
    PrivateChat* FindByWindow(const PrivateChatWindowView* window) const;
    PrivateChat& Add(std::unique_ptr<PrivateChat> chat);
    // Destroys the chat and its window. The list no longer holds the chat while
    // its window is destroyed, so window handlers that run meanwhile may use it.
    void Remove(PrivateChat* chat);
    void Clear();

    bool IsFull() const { return chats_.size() >= kMaxWindows; }
    std::size_t Size() const { return chats_.size(); }
    bool Empty() const { return chats_.empty(); }
    PrivateChat& First() const { return *chats_.front(); }

    // Every chat, for loops that may not add or remove chats.
    std::vector<PrivateChat*> All() const;

private:
    std::vector<std::unique_ptr<PrivateChat>> chats_;
};

}  // namespace vorlan::client
