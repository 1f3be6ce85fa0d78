#include "client/PrivateChat.h"

#include "client/StatusTitle.h"

namespace vorlan::client {

std::string PrivateChatCaption(int newLineCount, const std::string& name, bool offline) {
    std::string caption = newLineCount > 0 ? "[" + UnreadCountText(newLineCount) + "] " + name : name;
    if (offline) caption += " - offline";
    return caption;
}

void PrivateChat::CountNewLine() {
    if (newLineCount_ < kUnreadLimit) ++newLineCount_;
}

void PrivateChat::UpdateCaption(const std::string& onlineName) {
    window_->SetCaption(PrivateChatCaption(newLineCount_, IsOffline() ? offlineName_ : onlineName, IsOffline()));
}

void PrivateChat::FlashWindow() {
    window_->Flash();
    flashing_ = true;
}

}  // namespace vorlan::client
