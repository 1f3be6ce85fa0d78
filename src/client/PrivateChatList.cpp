#include "client/PrivateChatList.h"

#include <algorithm>

namespace vorlan::client {

PrivateChat* PrivateChatList::FindByPeer(int peerId) const {
    for (const auto& chat : chats_) {
        if (chat->peerId() == peerId) return chat.get();
    }
    return nullptr;
}

PrivateChat* PrivateChatList::FindByWindow(const PrivateChatWindowView* window) const {
    for (const auto& chat : chats_) {
        if (&chat->Window() == window) return chat.get();
    }
    return nullptr;
}

PrivateChat& PrivateChatList::Add(std::unique_ptr<PrivateChat> chat) {
    chats_.push_back(std::move(chat));
    return *chats_.back();
}

// Destroying a window can activate another one, whose handler looks through
// this list again; so a chat leaves the list first and is destroyed afterwards.
void PrivateChatList::Remove(PrivateChat* chat) {
    auto found = std::find_if(chats_.begin(), chats_.end(), [&](const auto& c) { return c.get() == chat; });
    if (found == chats_.end()) return;
    std::unique_ptr<PrivateChat> leaving = std::move(*found);
    chats_.erase(found);
}

void PrivateChatList::Clear() {
    std::vector<std::unique_ptr<PrivateChat>> leaving;
    leaving.swap(chats_);
    // Oldest first, each one out of the list before it goes.
    for (auto& chat : leaving) chat.reset();
}

std::vector<PrivateChat*> PrivateChatList::All() const {
    std::vector<PrivateChat*> all;
    all.reserve(chats_.size());
    for (const auto& chat : chats_) all.push_back(chat.get());
    return all;
}

}  // namespace vorlan::client
