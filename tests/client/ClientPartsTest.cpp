// The client's smaller parts: menu rules, the recent servers list,
// dialog fields, the private window's geometry, the private chat list, the
// client-to-server bytes and the socket's send buffer.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/ClientSocket.h"
#include "client/MainMenuModel.h"
#include "client/PrivateChatList.h"
#include "client/PrivateWindowGeometry.h"
#include "client/ProfileEdit.h"
#include "client/RecentServerList.h"
#include "protocol/ClientToServer.h"

namespace vorlan::client {
namespace {

using namespace test_support;

TEST(MainMenuRules, StartAsTheResourceAndFollowTheOwnServer) {
    MainMenuModel menu;
    ClientState state;
    auto server = [&] {
        std::string out;
        for (int id : {menu::kStartServer, menu::kConnectToLocalServer, menu::kListeningToggle, menu::kEndServer})
            out += menu.IsEnabled(id) ? "+" : "-";
        return out + " " + menu.Text(menu::kListeningToggle);
    };
    EXPECT_EQ(MenuStates(menu), "local- server+ end- status- 0 toggle- Close main chat | Available");
    EXPECT_EQ(server(), "+--- Stop listening");
    state.ownServerRunning = true, state.listening = false;
    menu.Show(state);
    EXPECT_EQ(server(), "-+++ Start listening");
    state.checkedStatus = menu::kStatusAway;
    menu.Show(state);
    EXPECT_EQ(MenuStates(menu), "local+ server+ end- status- 0 toggle- Close main chat | Away");
    state.ownServerRunning = false;
    menu.Show(state);
    EXPECT_EQ(server(), "+--- Stop listening");
    // With a connection or attempt the local entry stays greyed.
    state.connection = ConnectionState::Connecting;
    state.ownServerRunning = state.listening = true;
    menu.Show(state);
    EXPECT_EQ(server(), "--++ Stop listening");
}

TEST(RecentServers, IdsLabelsNotesAndTheLimitOfFortyNine) {
    RecordingRecentServers tree;
    RecentServerList list(tree, kTreeText);
    list.AddRecentServer("a.example", "01.01.2026 10:00", "old topic");
    list.AddRecentServer("b.example", "02.01.2026 11:00", "");
    list.AddRecentServer("a.example", "05.12.2026 09:05", "");  // known: the item keeps its label until the note
    EXPECT_EQ(tree.items[0].label, "01.01.2026 10:00 - a.example - old topic");
    list.SetRecentServerNote("a.example", "Welcome");
    list.SetRecentServerNote("B.EXAMPLE", "ignored");  // addresses match exactly
    EXPECT_EQ(tree.items[0].label, "05.12.2026 09:05 - a.example - Welcome");
    EXPECT_EQ(tree.items[1].label, "02.01.2026 11:00 - b.example");
    list.MarkRecentServer("b.example", kCurrentServer);
    EXPECT_EQ(tree.items[0].colour, kTreeText);
    EXPECT_EQ(tree.items[1].colour, kCurrentServer);

    list.Remove(0);
    for (int i = 0; i < 49; ++i) list.AddRecentServer("s" + std::to_string(i), "t", "");
    ASSERT_EQ(list.Entries().size(), 49u);  // b.example, the oldest, went
    EXPECT_EQ(list.Entries().front().address, "s0");
    EXPECT_EQ(list.Entries().front().id, 0);  // the freed id is reused
    EXPECT_EQ(list.Entries().back().id, 1);   // b.example's id, freed last
    EXPECT_EQ(tree.items.size(), 49u);
    EXPECT_EQ(list.Records()[0].address, "s0");
}

TEST(DialogFields, SepGoesAtOnceAndEachFieldKeepsItsLimit) {
    EXPECT_EQ(LimitDialogField("Ann\xAC"
                               "a\xAC",
                               kNameFieldLimit)
                  .text,
              "Anna");
    EXPECT_EQ(LimitDialogField("Anna", kNameFieldLimit).maxLength, 20u);
    EXPECT_FALSE(LimitDialogField("line one\r\nline two", kProfileFieldLimit).changed);
    EXPECT_EQ(LimitDialogField("\xAC" + std::string(25, 'n'), kNameFieldLimit).text, std::string(20, 'n'));
    EXPECT_FALSE(LimitDialogField(std::string(20, 'n'), kNameFieldLimit).changed);

    test::TempFolder folder;
    TestClient client(folder.Path().string());
    UpdateProfile(*client.session, {std::string(25, 'n') + "\xAC", "", "", "",
                                    "chess\xAC"
                                    "go" +
                                        std::string(300, 'x'),
                                    "", "", "pic"});
    EXPECT_EQ(client->profile().name, std::string(20, 'n'));
    EXPECT_EQ(client->profile().interests, "chessgo" + std::string(193, 'x'));
    EXPECT_EQ(client->profile().pictureUrl, "pic");
}

TEST(PrivateWindowGeometry, SizesAreRememberedAndTheLayoutNeverOverlaps) {
    storage::Options options;
    options.privateWidth = 480, options.privateHeight = 360;
    RememberPrivateWindowSize(options, WindowSizeKind::Maximized, 1280, 800);
    RememberPrivateWindowSize(options, WindowSizeKind::Minimized, 160, 28);
    EXPECT_TRUE(options.privateMaximized);
    EXPECT_EQ(std::pair(options.privateWidth, options.privateHeight), std::pair(480, 360));
    RememberPrivateWindowSize(options, WindowSizeKind::Restored, 600, 420);
    EXPECT_FALSE(options.privateMaximized);
    EXPECT_EQ(std::pair(options.privateWidth, options.privateHeight), std::pair(600, 420));

    const PrivateChatLayout large = PrivateChatLayoutFor(800, 600), smallest = PrivateChatLayoutFor(234, 162),
                            tiny = PrivateChatLayoutFor(10, 10);
    EXPECT_EQ(std::pair(large.view, large.input),
              std::pair(ControlRect{26, 26, 748, 527}, ControlRect{30, 557, 740, 13}));
    EXPECT_GT(smallest.view.height, 0);  // a 250 x 200 window, without overlap
    EXPECT_TRUE(smallest.view.y + smallest.view.height <= smallest.input.y &&
                smallest.input.y + smallest.input.height <= 162);
    EXPECT_EQ(tiny.view.width + tiny.view.height + tiny.input.width, 0);
}

// A window whose destruction looks through the list, as a real one activates
// the next window while it goes.
class WindowThatLooks : public PrivateChatWindowView {
public:
    std::function<void()> onDestroy;
    ~WindowThatLooks() override {
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

TEST(PrivateChatList, AClosingWindowSeesAConsistentList) {
    PrivateChatList list;
    std::vector<WindowThatLooks*> windows;
    for (int peer = 1; peer <= 3; ++peer) {
        auto window = std::make_unique<WindowThatLooks>();
        windows.push_back(window.get());
        list.Add(std::make_unique<PrivateChat>(std::move(window), peer));
    }
    std::vector<int> seen;
    windows[0]->onDestroy = [&] {
        EXPECT_EQ(list.FindByPeer(1), nullptr);
        for (PrivateChat* chat : list.All()) seen.push_back(chat->peerId());
    };
    list.Remove(list.FindByPeer(1));
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));
    EXPECT_EQ(list.First().peerId(), 2);

    int destroyed = 0;
    for (WindowThatLooks* window : {windows[1], windows[2]}) {
        window->onDestroy = [&] { destroyed += list.All().empty() && list.FindByPeer(3) == nullptr; };
    }
    list.Clear();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(list.Empty());
}

TEST(ClientToServerMessages, EveryCodeHasItsExactBytes) {
    using namespace protocol::to_server;
    const std::string s = Sep();
    // The messages the session tests do not already see on the wire.
    const std::pair<std::string, std::string> cases[] = {
        {TopicChange(""), "01"},
        {MainChatLine(kActionLine, "waves"), "021waves"},
        {EnableAdmin(12), "0612"},
        {DisableAdmin(12), "0712"},
        {AddressRequest(3), "083"},
        {ProfileRequest(1000), "091000"},
        {PrivateLine(7, kSaysLine, "hi"), "117" + s + "2hi"},
        {FileTransferRelay(7, "x" + s + "y"), "127" + s + "x" + s + "y"},
        {VersionRequest(5), "135"},
        {MuteChange(true, 4), "1514"},
        {MuteChange(false, 4), "1504"},
        {KickUser(2), "162"},
        {BanUser(2), "172"},
        {BanUser("10.0.0.1"), "1710.0.0.1"},
        {ConnectionsRequest(), "18"},
        {BanListRequest(), "19"},
        {BanListRemove(42), "20420"},
        {BanListAdd("10.0.0.1", "spam"), "2010.0.0.1" + s + "spam1"},
        {ProfileReply("4", {}), "104" + s + s + s + s + s + s + s + s + s},
    };
    for (const auto& [actual, expected] : cases) EXPECT_EQ(actual, expected);
}

class ConnectRecorder : public ClientSocketEvents {
public:
    int connectError = -1;
    void OnClientConnect(int error) override { connectError = error; }
    void OnClientReceive(int) override {}
    void OnClientClose(int) override {}
};

TEST(ClientSocketSending, WhatTheSocketCannotTakeYetLeavesLaterInOrder) {
    RawServer server;
    ASSERT_TRUE(server.Start());
    ConnectRecorder events;
    ClientSocket socket(events);
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.Connect("127.0.0.1", server.LocalPort()));
    ASSERT_TRUE(WaitFor([&] { return events.connectError == 0 && !server.peers.empty(); }));
    // Far more than the socket buffers hold, sent without running the loop.
    std::string expected;
    bool buffered = false;
    for (int i = 0; i < 8000; ++i) {
        const std::string message = std::to_string(i) + std::string(1000, static_cast<char>('a' + i % 26)) + Z();
        expected += message;
        socket.Send(message);
        buffered = buffered || !socket.SendBuffer().empty();
    }
    EXPECT_TRUE(buffered);
    ASSERT_TRUE(WaitFor([&] { return server.Peer().received.size() >= expected.size(); }, 20000));
    EXPECT_TRUE(server.Peer().received == expected);
    EXPECT_TRUE(socket.SendBuffer().empty());
}

}  // namespace
}  // namespace vorlan::client
