// The asynchronous socket contract, checked over real loopback connections.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "RecordingSocket.h"

namespace vorlan::test {
namespace {

using platform::AsyncSocket;

char PatternByte(std::uint64_t offset) { return static_cast<char>((offset * 131 + offset / 977) & 0xFF); }

TEST(SocketContract, ListenersOwnTheirPortUntilClosedAndUnopenedSocketsRefuseWork) {
    std::uint16_t port = 0;
    {
        LoopbackPair pair;
        ASSERT_TRUE(pair.Open());
        port = pair.Port();
        RecordingSocket second;
        EXPECT_FALSE(second.Create(port) && second.Listen());
        EXPECT_EQ(AsyncSocket::LastError(), platform::kAddressInUse);
        // "Stop listening" then "Start listening": connections the server
        // closed itself linger on the port, yet it may listen there again.
        pair.server->Close();
        ASSERT_TRUE(Until([&] { return pair.client.closeCount > 0; }));
        pair.listener.Close();
        pair.listener.Close();  // a second Close is harmless
        EXPECT_FALSE(pair.listener.IsOpen());
    }
    RecordingSocket again;
    EXPECT_TRUE(again.Create(port) && again.Listen()) << "error " << AsyncSocket::LastError();

    RecordingSocket unopened;
    char byte = 'x';
    std::uint32_t pending = 0;
    EXPECT_EQ(unopened.Send(&byte, 1), -1);
    EXPECT_EQ(AsyncSocket::LastError(), platform::kNotSocket);
    EXPECT_EQ(unopened.Receive(&byte, 1), -1);
    EXPECT_FALSE(unopened.PendingBytes(pending));
    EXPECT_FALSE(unopened.Connect("127.0.0.1", 1));
    EXPECT_NE(AsyncSocket::LastError(), platform::kWouldBlock);
}

TEST(SocketContract, EchoesOverLoopbackAndNamesBothEnds) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    pair.server->onReceive = [](RecordingSocket& self, int) {
        const int count = self.ReadAvailable();
        self.SendAll(self.received.substr(self.received.size() - count));
    };
    EXPECT_TRUE(pair.client.SetNoDelay(true));
    pair.client.SendAll("hello");
    ASSERT_TRUE(Until([&] { return pair.client.received.size() >= 5; }));
    EXPECT_EQ(pair.client.received, "hello");
    std::string address;
    std::uint16_t port = 0;
    ASSERT_TRUE(pair.server->PeerAddress(address, port));
    EXPECT_EQ(address + ":" + std::to_string(port), "127.0.0.1:" + std::to_string(pair.client.LocalPort()));
    ASSERT_TRUE(pair.client.PeerAddress(address, port));
    EXPECT_EQ(address + ":" + std::to_string(port), "127.0.0.1:" + std::to_string(pair.Port()));
}

TEST(SocketContract, ConnectOutcomesByNameUnresolvedAndRefused) {
    RecordingSocket listener, byName, unresolved, refused;
    ASSERT_TRUE(listener.Create(0) && listener.Listen());
    ASSERT_TRUE(byName.Create(0) && unresolved.Create(0) && refused.Create(0));
    if (!byName.Connect("localhost", listener.LocalPort())) {
        ASSERT_EQ(AsyncSocket::LastError(), platform::kWouldBlock);
        ASSERT_TRUE(Until([&] { return byName.connectCount > 0; }));
        EXPECT_EQ(byName.connectError, 0);
    }
    EXPECT_FALSE(unresolved.Connect("no-such-host.invalid", 80));
    EXPECT_EQ(AsyncSocket::LastError(), platform::kHostNotFound);

    const std::uint16_t closedPort = listener.LocalPort();
    listener.Close();
    if (refused.Connect("127.0.0.1", closedPort)) FAIL() << "connected to a closed port";
    if (AsyncSocket::LastError() == platform::kWouldBlock) {
        ASSERT_TRUE(Until([&] { return refused.connectCount > 0; }, 10000));
        EXPECT_EQ(refused.connectError, platform::kConnectionRefused);
    } else {
        EXPECT_EQ(AsyncSocket::LastError(), platform::kConnectionRefused);  // known at once
    }
    RunLoopFor(kQuietMs);
    EXPECT_EQ(unresolved.connectCount, 0);
    EXPECT_LE(refused.connectCount, 1);
    EXPECT_EQ(refused.receiveCount + refused.closeCount, 0);
}

TEST(SocketContract, ReadNotificationWaitsForReceiveAndPendingBytesCounts) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    RecordingSocket& server = *pair.server;
    server.onReceive = [](RecordingSocket&, int) {};  // reads nothing
    auto pending = [&] {
        std::uint32_t count = 0;
        EXPECT_TRUE(server.PendingBytes(count));
        return count;
    };
    pair.client.SendAll(std::string(100, 'a'));
    ASSERT_TRUE(Until([&] { return server.receiveCount == 1; }));
    pair.client.SendAll(std::string(100, 'b'));
    ASSERT_TRUE(Until([&] { return pending() == 200; }));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(server.receiveCount, 1) << "no new read notification before Receive";

    char buffer[50];
    ASSERT_EQ(server.Receive(buffer, sizeof buffer), 50);
    ASSERT_TRUE(Until([&] { return server.receiveCount == 2; }))
        << "data still waiting after a Receive is notified again";
    EXPECT_EQ(pending(), 150u);
    EXPECT_EQ(server.ReadAvailable(), 150);
    EXPECT_EQ(std::string(buffer, 50) + server.received, std::string(100, 'a') + std::string(100, 'b'));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(server.receiveCount, 2) << "nothing left to notify";
}

// The sender fills the connection while the peer does not read, then the peer
// reads slowly and the sender goes on from each send notification.
TEST(SocketContract, SendThatWouldBlockResumesOnSendAndArrivesInOrder) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    RecordingSocket& server = *pair.server;
    server.onReceive = [](RecordingSocket&, int) {};
    std::uint64_t sent = 0, total = 0, checked = 0;
    std::vector<char> chunk(256 * 1024);
    auto sendMore = [&](std::uint64_t limit) {
        while (sent < limit) {
            const std::uint64_t length = std::min<std::uint64_t>(chunk.size(), limit - sent);
            for (std::uint64_t i = 0; i < length; ++i) chunk[i] = PatternByte(sent + i);
            const int count = pair.client.Send(chunk.data(), static_cast<int>(length));
            if (count < 0) return false;
            sent += static_cast<std::uint64_t>(count);
        }
        return true;
    };
    ASSERT_FALSE(sendMore(512ull * 1024 * 1024)) << "the connection never filled up";
    ASSERT_EQ(AsyncSocket::LastError(), platform::kWouldBlock);
    total = sent + 3 * 1024 * 1024;
    const int sendNotificationsBefore = pair.client.sendCount;
    pair.client.onSend = [&](RecordingSocket&, int error) {
        EXPECT_EQ(error, 0);
        EXPECT_TRUE(sendMore(total) || AsyncSocket::LastError() == platform::kWouldBlock);
    };
    bool inOrder = true;
    server.onReceive = [&](RecordingSocket& self, int) {
        char buffer[32 * 1024];  // one small read per notification: a slow reader
        const int count = self.Receive(buffer, sizeof buffer);
        for (int i = 0; i < count && inOrder; ++i) inOrder = buffer[i] == PatternByte(checked + i);
        if (count > 0) checked += static_cast<std::uint64_t>(count);
    };
    ASSERT_TRUE(Until([&] { return checked == total || !inOrder; }, 20000)) << checked << " of " << total;
    EXPECT_TRUE(inOrder) << "bytes out of order near offset " << checked;
    EXPECT_GT(pair.client.sendCount, sendNotificationsBefore);
}

TEST(SocketContract, OrderlyCloseAndResetAreToldApart) {
    LoopbackPair orderly, broken;
    ASSERT_TRUE(orderly.Open() && broken.Open());
    orderly.client.SendAll("bye");
    EXPECT_TRUE(orderly.client.ShutdownBoth());
    orderly.client.Close();
    ASSERT_TRUE(broken.client.SetLingerAbort());
    broken.client.Close();
    ASSERT_TRUE(Until([&] { return orderly.server->closeCount > 0 && broken.server->closeCount > 0; }));
    EXPECT_EQ(orderly.server->closeError, 0);
    EXPECT_EQ(orderly.server->received, "bye") << "data sent before the close arrives";
    EXPECT_EQ(broken.server->closeError, platform::kConnectionReset);
    RunLoopFor(kQuietMs);
    EXPECT_EQ(orderly.server->closeCount + broken.server->closeCount, 2);
}

// Handlers may destroy their own socket and others; a socket created while
// notifications for destroyed ones are queued (it may even get the same
// handle) hears nothing meant for them.
TEST(SocketContract, HandlersMayDestroySocketsAndNoNotificationReachesASuccessor) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0) && listener.Listen());
    std::vector<std::unique_ptr<RecordingSocket>> accepted;
    std::unique_ptr<RecordingSocket> successor;
    int notifications = 0;  // counted outside the sockets, which die
    listener.onAccept = [&](RecordingSocket& self, int) {
        auto socket = std::make_unique<RecordingSocket>();
        if (!self.Accept(*socket)) return;
        socket->onReceive = socket->onClose = [&](RecordingSocket&, int) {
            ++notifications;
            accepted.clear();  // this socket among them
            successor = std::make_unique<RecordingSocket>();
            ASSERT_TRUE(successor->Create(0) && successor->Listen());
        };
        accepted.push_back(std::move(socket));
    };
    RecordingSocket clients[3];
    for (auto& client : clients)
        ASSERT_TRUE(client.Create(0) && client.StartConnect("127.0.0.1", listener.LocalPort()));
    ASSERT_TRUE(Until([&] { return accepted.size() == 3; }));
    for (auto& client : clients) client.SendAll("x"), client.Close();  // data and a close waiting at once
    ASSERT_TRUE(Until([&] { return notifications > 0; }));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(successor->acceptCount + successor->receiveCount + successor->closeCount, 0);

    LoopbackPair pair;  // destroyed from its own close notification
    ASSERT_TRUE(pair.Open());
    pair.server->onClose = [&](RecordingSocket&, int) { pair.server.reset(); };
    pair.client.Close();
    ASSERT_TRUE(Until([&] { return pair.server == nullptr; }));
    RunLoopFor(kQuietMs);
}

TEST(SocketContract, SocketMayReconnectFromItsOwnCloseHandler) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    std::unique_ptr<RecordingSocket> first = std::move(pair.server);
    pair.client.onClose = [port = pair.Port()](RecordingSocket& self, int) {
        self.Close();
        ASSERT_TRUE(self.Create(0) && self.StartConnect("127.0.0.1", port));
    };
    first->Close();
    ASSERT_TRUE(Until([&] { return pair.server != nullptr && pair.client.connectCount == 2; }));
    EXPECT_EQ(pair.client.connectError, 0);
    pair.client.SendAll("again");
    ASSERT_TRUE(Until([&] { return pair.server->received == "again"; }));
    EXPECT_EQ(pair.client.closeCount, 1) << "nothing of the old connection reaches the new one";
}

// Kept apart: some systems do not let a socket bind to 127.0.0.2.
TEST(SocketContractLoopbackAlias, PeerAddressShowsTheAddressTheClientBoundTo) {
    RecordingSocket probe;
    if (!probe.Create(0, platform::kEventAll, "127.0.0.2")) GTEST_SKIP() << "cannot bind to 127.0.0.2 here";
    probe.Close();
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open("127.0.0.2"));
    std::string address;
    std::uint16_t port = 0;
    ASSERT_TRUE(pair.server->PeerAddress(address, port));
    EXPECT_EQ(address + ":" + std::to_string(port), "127.0.0.2:" + std::to_string(pair.client.LocalPort()));
}

}  // namespace
}  // namespace vorlan::test
