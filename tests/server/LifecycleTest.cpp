// Starting and stopping the server and its listening, as the owner sees it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ServerFixture.h"

#include "platform/EventLoop.h"

namespace {

using Frames = std::vector<std::string>;
using vorlan::platform::EventLoop;

// Another program holding a port.
class PortSquatter {
public:
    explicit PortSquatter(std::uint16_t port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd_, 1) == 0;
    }
    ~PortSquatter() { close(fd_); }
    bool Bound() const { return bound_; }
    std::uint16_t Port() const {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        return ntohs(address.sin_port);
    }

private:
    int fd_ = -1;
    bool bound_ = false;
};

using LifecycleTest = ServerTest;

TEST_F(LifecycleTest, StartReportsNoticeAndState) {
    EXPECT_EQ(observer.notices, Frames{"Server started."});
    EXPECT_EQ(observer.states, (std::vector<std::pair<bool, bool>>{{true, true}}));
    EXPECT_TRUE(server.IsRunning());
    EXPECT_FALSE(server.StartServer());
}

TEST_F(LifecycleTest, StartOnATakenPortFailsWithNoticeAndPopupRequest) {
    PortSquatter squatter(0);
    ASSERT_TRUE(squatter.Bound());
    RecordingObserver otherObserver;
    vorlan::server::ChatServer other(otherObserver);
    other.SetChatPort(squatter.Port());
    EXPECT_FALSE(other.StartServer());
    EXPECT_FALSE(other.IsRunning());
    EXPECT_EQ(otherObserver.notices, Frames{"Couldn't start server."});
    EXPECT_EQ(otherObserver.popups, Frames{"Couldn't start server."});
    EXPECT_TRUE(otherObserver.states.empty());
    EXPECT_TRUE(other.Connections().empty());
}

TEST_F(LifecycleTest, StoppedListeningKeepsUsersChattingAndRefusesNewcomers) {
    // A fixed port, as the options give it, so that listening can resume on it.
    server.StopServer();
    server.SetChatPort(port);
    ASSERT_TRUE(server.StartServer());
    TestUser& host = Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.2", "Alice");
    std::uint16_t oldPort = port;
    server.ToggleListening();
    EXPECT_FALSE(server.IsListening());
    EXPECT_EQ(observer.notices.back(), "Listening stopped.");
    EXPECT_EQ(observer.states.back(), (std::pair<bool, bool>{true, false}));

    alice.client->SendMessage("020still here");
    EXPECT_EQ(Sync(alice, host), Frames{"04" + alice.Id() + SEP + "0still here"});

    RawClient refused;
    refused.Connect("127.0.0.3", oldPort);
    EXPECT_TRUE(refused.WaitForClose());

    server.SetChatPort(oldPort);
    server.ToggleListening();
    EXPECT_TRUE(server.IsListening());
    EXPECT_EQ(observer.notices.back(), "Listening started.");
    EXPECT_EQ(server.ListeningPort(), oldPort);
    Login("127.0.0.3", "Back");
}

TEST_F(LifecycleTest, StartListeningOnATakenPortFailsAndKeepsTheState) {
    server.ToggleListening();
    PortSquatter squatter(0);
    ASSERT_TRUE(squatter.Bound());
    server.SetChatPort(squatter.Port());
    server.ToggleListening();
    EXPECT_FALSE(server.IsListening());
    EXPECT_EQ(observer.notices.back(), "Couldn't start listening.");
    EXPECT_EQ(observer.popups, Frames{"Couldn't start listening."});
    EXPECT_EQ(observer.states.back(), (std::pair<bool, bool>{true, false}));
}

TEST_F(LifecycleTest, StopClosesEveryClientWithoutAMessage) {
    TestUser& host = Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.2", "Alice");
    auto stranger = Connect("127.0.0.3");
    server.StopServer();
    EXPECT_EQ(observer.notices.back(), "Server stopped.");
    EXPECT_EQ(observer.states.back(), (std::pair<bool, bool>{false, false}));
    EXPECT_TRUE(server.Connections().empty());
    for (RawClient* client : {host.client.get(), alice.client.get(), stranger.get()}) {
        EXPECT_TRUE(client->WaitForClose());
        EXPECT_EQ(client->TakeFrames(), Frames{});
    }
    EXPECT_TRUE(server.StartServer());
}

}  // namespace
