#include "conversation/ui/TextMenuOwner.h"

#include "conversation/ui/ConversationIds.h"

namespace vorlan::conversation {

bool TextMenuOwner::HandleCommand(int command) {
    switch (command) {
        case ID_CHAT_NAVIGATE:
        case ID_CHAT_CUT:
        case ID_CHAT_COPY:
        case ID_CHAT_PASTE:
        case ID_CHAT_SELECT_ALL:
        case ID_CHAT_CLEAR_ALL: break;
        default: return false;
    }
    if (target_ == nullptr) return true;
    switch (command) {
        case ID_CHAT_NAVIGATE: target_->Navigate(); break;
        case ID_CHAT_CUT: target_->Cut(); break;
        case ID_CHAT_COPY: target_->Copy(); break;
        case ID_CHAT_PASTE: target_->Paste(); break;
        case ID_CHAT_SELECT_ALL: target_->SelectAll(); break;
        case ID_CHAT_CLEAR_ALL: target_->ClearAll(); break;
        default: break;
    }
    return true;
}

}  // namespace vorlan::conversation
