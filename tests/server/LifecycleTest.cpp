// Starting and stopping the server and its listening, as the owner sees it.
#include "ServerFixture.h"

namespace {

using States = std::vector<std::pair<bool, bool>>;

// Another program holding a port of the system's choice.
struct PortSquatter {
    PortSquatter() {
        EXPECT_TRUE(holder.StartServer());
        port = holder.ListeningPort();
    }
    RecordingObserver observer;
    vorlan::server::ChatServer holder{observer};
    std::uint16_t port = 0;
};

using Lifecycle = ServerTest;

TEST_F(Lifecycle, StartOnATakenPortFailsWithNoticeAndPopupRequest) {
    EXPECT_EQ(std::tuple(observer.notices, observer.states, server.IsRunning(), server.StartServer()),
              std::tuple(Frames{"Server started."}, States{{true, true}}, true, false));
    PortSquatter squatter;
    RecordingObserver otherObserver;
    vorlan::server::ChatServer other(otherObserver);
    other.SetChatPort(squatter.port);
    EXPECT_FALSE(other.StartServer());
    EXPECT_EQ(std::tuple(other.IsRunning(), otherObserver.notices, otherObserver.popups, otherObserver.states.size()),
              std::tuple(false, Frames{"Couldn't start server."}, Frames{"Couldn't start server."}, 0u));
}

TEST_F(Lifecycle, StoppedListeningKeepsUsersChattingAndRefusesNewcomers) {
    server.StopServer();
    server.SetChatPort(port);  // a fixed port, as the options give it, so that listening can resume on it
    ASSERT_TRUE(server.StartServer());
    TestUser& host = Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.2", "Alice");
    server.ToggleListening();
    EXPECT_EQ(std::tuple(server.IsListening(), observer.notices.back(), observer.states.back()),
              std::tuple(false, "Listening stopped.", std::pair(true, false)));
    alice.Send("020still here");
    EXPECT_EQ(Sync(alice, host), Frames{"042|0still here"});
    RawClient refused;
    refused.Connect("127.0.0.3", port);
    EXPECT_TRUE(refused.WaitForClose());

    server.ToggleListening();
    EXPECT_EQ(std::tuple(server.IsListening(), observer.notices.back(), server.ListeningPort()),
              std::tuple(true, "Listening started.", port));
    Login("127.0.0.3", "Back");
    server.ToggleListening();
    PortSquatter squatter;
    server.SetChatPort(squatter.port);
    server.ToggleListening();
    EXPECT_EQ(
        std::tuple(server.IsListening(), observer.notices.back(), observer.popups, observer.states.back()),
        std::tuple(false, "Couldn't start listening.", Frames{"Couldn't start listening."}, std::pair(true, false)));
}

TEST_F(Lifecycle, StopClosesEveryClientWithoutAMessage) {
    TestUser& host = Login("127.0.0.1", "Host");
    auto stranger = Connect("127.0.0.3");
    server.StopServer();
    EXPECT_EQ(std::tuple(observer.notices.back(), observer.states.back(), server.Connections().size()),
              std::tuple("Server stopped.", std::pair(false, false), 0u));
    for (RawClient* client : {static_cast<RawClient*>(&host), stranger.get()}) {
        EXPECT_TRUE(client->WaitForClose());
        EXPECT_EQ(client->Take(), Frames{});
    }
    EXPECT_TRUE(server.StartServer());
}

}  // namespace
