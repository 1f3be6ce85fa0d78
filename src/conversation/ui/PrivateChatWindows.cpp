#include "conversation/ui/PrivateChatWindows.h"

#include "conversation/RecordingChatView.h"
#include "conversation/ui/PrivateChatDialog.h"

namespace vorlan::conversation {
namespace {

// Stands in for a window that could not be made (no session bound yet, or the
// window could not be created): the conversation still has a place to go.
class WindowlessPrivateChat : public client::PrivateChatWindowView {
public:
    ChatView& View() override { return view_; }
    void SetCaption(const std::string&) override {}
    void Flash() override {}
    void ShowMinimisedWithoutActivating() override {}
    void ShowInFront(bool) override {}
    bool IsForeground() const override { return false; }

private:
    RecordingChatView view_;
};

}  // namespace

void PrivateChatWindows::Bind(client::ClientSession& session, HWND mainWindow) {
    session_ = &session;
    mainWindow_ = mainWindow;
}

std::unique_ptr<client::PrivateChatWindowView> PrivateChatWindows::CreatePrivateChatWindow() {
    if (session_ != nullptr) {
        auto window = std::make_unique<PrivateChatDialog>(instance_, *session_, mainWindow_);
        if (window->Create()) return window;
    }
    return std::make_unique<WindowlessPrivateChat>();
}

}  // namespace vorlan::conversation
