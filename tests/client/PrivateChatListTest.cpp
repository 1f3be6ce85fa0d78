#include <gtest/gtest.h>

#include <functional>

#include "client/PrivateChatList.h"
#include "conversation/RecordingChatView.h"

namespace vorlan::client {
namespace {

// A window whose destruction runs a handler, as a real one activates the next
// window while it goes.
class WindowThatCallsBack : public PrivateChatWindowView {
public:
    std::function<void()> onDestroy;
    ~WindowThatCallsBack() override {
        if (onDestroy) onDestroy();
    }
    conversation::ChatView& View() override { return view_; }
    void SetCaption(const std::string&) override {}
    void Flash() override {}
    void ShowMinimisedWithoutActivating() override {}
    void ShowInFront(bool) override {}
    bool IsForeground() const override { return false; }

private:
    conversation::RecordingChatView view_;
};

struct ListOfThree {
    PrivateChatList list;
    std::vector<WindowThatCallsBack*> windows;
    ListOfThree() {
        for (int peer = 1; peer <= 3; ++peer) {
            auto window = std::make_unique<WindowThatCallsBack>();
            windows.push_back(window.get());
            list.Add(std::make_unique<PrivateChat>(std::move(window), peer));
        }
    }
};

TEST(PrivateChatList, AClosingWindowMayLookThroughTheListWhileItGoes) {
    ListOfThree three;
    std::vector<int> seenPeers;
    three.windows[0]->onDestroy = [&] {
        // The first chat has left; the others are whole.
        EXPECT_EQ(three.list.FindByPeer(1), nullptr);
        for (PrivateChat* chat : three.list.All()) seenPeers.push_back(chat->peerId());
        EXPECT_NE(three.list.FindByWindow(three.windows[2]), nullptr);
    };
    three.list.Remove(three.list.FindByPeer(1));
    EXPECT_EQ(seenPeers, (std::vector<int>{2, 3}));
    EXPECT_EQ(three.list.Size(), 2u);
    EXPECT_EQ(three.list.First().peerId(), 2);
}

TEST(PrivateChatList, ClearingLetsEachWindowSeeAConsistentList) {
    ListOfThree three;
    int destroyed = 0;
    for (WindowThatCallsBack* window : three.windows) {
        window->onDestroy = [&] {
            ++destroyed;
            EXPECT_EQ(three.list.FindByPeer(3), nullptr);
            EXPECT_TRUE(three.list.All().empty());
        };
    }
    three.list.Clear();
    EXPECT_EQ(destroyed, 3);
    EXPECT_TRUE(three.list.Empty());
}

}  // namespace
}  // namespace vorlan::client
