#pragma once

#include <memory>
#include <string>

#include "client/ClientViews.h"
#include "conversation/ChatLog.h"

namespace vorlan::client {

// The partner id of a private chat whose partner is offline.
inline constexpr int kOfflinePeer = -2;

// "[n] name" while lines are unread (n "1000+" from 1001 on), else "name";
// " - offline" appended while the partner is gone.
std::string PrivateChatCaption(int newLineCount, const std::string& name, bool offline);

// One private conversation: its window and log, and what the client keeps
// about it.
class PrivateChat {
public:
    explicit PrivateChat(std::unique_ptr<PrivateChatWindowView> window, int peerId)
        : window_(std::move(window)), peerId_(peerId) {}

    PrivateChatWindowView& Window() { return *window_; }
    const PrivateChatWindowView& Window() const { return *window_; }
    conversation::ChatView& View() { return window_->View(); }
    conversation::ChatLog& Log() { return log_; }

    int peerId() const { return peerId_; }
    const std::string& offlineName() const { return offlineName_; }
    int newLineCount() const { return newLineCount_; }
    bool flashing() const { return flashing_; }
    bool IsOffline() const { return peerId_ == kOfflinePeer; }

    void SetPeer(int peerId) { peerId_ = peerId; }
    void GoOffline(const std::string& name) {
        peerId_ = kOfflinePeer;
        offlineName_ = name;
    }
    void ComeOnline(int peerId) {
        peerId_ = peerId;
        offlineName_.clear();
    }
    void SetNewLineCount(int count) { newLineCount_ = count; }
    // Counts one more unread line, up to the limit shown as "1000+".
    void CountNewLine();
    void SetFlashing(bool flashing) { flashing_ = flashing; }

    // Rebuilds the caption; `onlineName` is the partner's name in the user list
    // (ignored while offline).
    void UpdateCaption(const std::string& onlineName);
    // Flashes the window and remembers that it was flashed.
    void FlashWindow();

private:
    std::unique_ptr<PrivateChatWindowView> window_;
    conversation::ChatLog log_;
    int peerId_;
    std::string offlineName_;
    int newLineCount_ = 0;
    bool flashing_ = false;
};

}  // namespace vorlan::client
