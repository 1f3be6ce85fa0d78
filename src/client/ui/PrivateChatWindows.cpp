#include "client/ui/PrivateChatWindows.h"

#include "conversation/RecordingChatView.h"
#include "client/ui/PrivateChatDialog.h"

namespace vorlan::client {
namespace {

// Stands in for a window that could not be made (no session bound yet, or the
// window could not be created): the conversation still has a place to go.
class WindowlessPrivateChat : public PrivateChatWindowView {
public:
    conversation::ChatView& View() override { return view_; }
    void SetCaption(const std::string&) override {}
    void Flash() override {}
    void ShowMinimisedWithoutActivating() override {}
    void ShowInFront(bool) override {}
    bool IsForeground() const override { return false; }

private:
    conversation::RecordingChatView view_;
};

}  // namespace

void PrivateChatWindows::Bind(ClientSession& session, HWND mainWindow) {
    session_ = &session;
    mainWindow_ = mainWindow;
}

std::unique_ptr<PrivateChatWindowView> PrivateChatWindows::CreatePrivateChatWindow() {
    if (session_ != nullptr) {
        auto window = std::make_unique<PrivateChatDialog>(instance_, *session_, mainWindow_);
        if (window->Create()) return window;
    }
    return std::make_unique<WindowlessPrivateChat>();
}

}  // namespace vorlan::client
