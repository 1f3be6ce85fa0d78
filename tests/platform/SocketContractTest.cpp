// The asynchronous socket contract, checked over real loopback connections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RecordingSocket.h"
#include "platform/AsyncSocket.h"
#include "platform/EventLoop.h"
#include "support/RunLoop.h"

namespace vorlan::test {
namespace {

using platform::AsyncSocket;
using platform::EventLoop;

constexpr int kTimeoutMs = 5000;

constexpr int kQuietMs = 100;  // how long "nothing more happens" is watched

char PatternByte(std::uint64_t offset) {
    return static_cast<char>((offset * 131 + offset / 977) & 0xFF);
}

std::uint16_t PortWithoutListener() {
    RecordingSocket probe;
    EXPECT_TRUE(probe.Create(0) && probe.Listen());
    return probe.LocalPort();  // closed again when `probe` goes
}

TEST(SocketContract, ListenerReportsItsPortAndASecondListenerOnItFails) {
    RecordingSocket first;
    ASSERT_TRUE(first.Create(0));
    ASSERT_TRUE(first.Listen());
    const std::uint16_t port = first.LocalPort();
    EXPECT_NE(port, 0);

    RecordingSocket second;
    const bool listening = second.Create(port) && second.Listen();
    EXPECT_FALSE(listening);
    EXPECT_EQ(AsyncSocket::LastError(), platform::kAddressInUse);

    first.Close();
    first.Close();  // a second Close is harmless
    EXPECT_FALSE(first.IsOpen());
}

// "Stop listening" then "Start listening": connections the server closed
// itself still linger on the port, yet it may listen there again at once.
TEST(SocketContract, ListenerMayReopenOnItsPortAfterClosingConnections) {
    std::uint16_t port = 0;
    {
        LoopbackPair pair;
        ASSERT_TRUE(pair.Open());
        port = pair.Port();
        pair.server->Close();  // the server side ends first and keeps the port busy
        ASSERT_TRUE(EventLoop::RunUntil([&] { return pair.client.closeCount > 0; }, kTimeoutMs));
    }
    RecordingSocket again;
    EXPECT_TRUE(again.Create(port) && again.Listen()) << "error " << AsyncSocket::LastError();
}

TEST(SocketContract, UnopenedSocketRefusesWork) {
    RecordingSocket socket;
    char byte = 'x';
    std::uint32_t pending = 0;
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.Send(&byte, 1), -1);
    EXPECT_EQ(AsyncSocket::LastError(), platform::kNotSocket);
    EXPECT_EQ(socket.Receive(&byte, 1), -1);
    EXPECT_FALSE(socket.PendingBytes(pending));
    EXPECT_FALSE(socket.Connect("127.0.0.1", 1));
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
    ASSERT_TRUE(EventLoop::RunUntil([&] { return pair.client.received.size() >= 5; }, kTimeoutMs));
    EXPECT_EQ(pair.client.received, "hello");

    std::string address;
    std::uint16_t port = 0;
    ASSERT_TRUE(pair.server->PeerAddress(address, port));
    EXPECT_EQ(address, "127.0.0.1");
    EXPECT_EQ(port, pair.client.LocalPort());
    ASSERT_TRUE(pair.client.PeerAddress(address, port));
    EXPECT_EQ(address, "127.0.0.1");
    EXPECT_EQ(port, pair.Port());
}

TEST(SocketContract, ConnectsToAHostGivenByName) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0) && listener.Listen());
    RecordingSocket client;
    ASSERT_TRUE(client.Create(0));
    const ConnectStart start = StartConnect(client, "localhost", listener.LocalPort());
    ASSERT_NE(start, ConnectStart::Failed);
    if (start == ConnectStart::Pending) {
        ASSERT_TRUE(EventLoop::RunUntil([&] { return client.connectCount > 0; }, kTimeoutMs));
        EXPECT_EQ(client.connectError, 0);
    }
}

TEST(SocketContract, NameThatDoesNotResolveFailsAtOnceWithoutNotification) {
    RecordingSocket client;
    ASSERT_TRUE(client.Create(0));
    EXPECT_FALSE(client.Connect("no-such-host.invalid", 80));
    EXPECT_EQ(AsyncSocket::LastError(), platform::kHostNotFound);
    RunLoopFor(kQuietMs);
    EXPECT_EQ(client.connectCount, 0);
}

TEST(SocketContract, ConnectToAPortWithoutListenerIsRefused) {
    const std::uint16_t port = PortWithoutListener();
    RecordingSocket client;
    ASSERT_TRUE(client.Create(0));
    if (client.Connect("127.0.0.1", port)) FAIL() << "connected to a closed port";
    if (AsyncSocket::LastError() != platform::kWouldBlock) {
        EXPECT_EQ(AsyncSocket::LastError(), platform::kConnectionRefused);  // known at once
        return;
    }
    ASSERT_TRUE(EventLoop::RunUntil([&] { return client.connectCount > 0; }, 10000));
    EXPECT_EQ(client.connectError, platform::kConnectionRefused);
    RunLoopFor(kQuietMs);
    EXPECT_EQ(client.connectCount, 1);
    EXPECT_EQ(client.receiveCount + client.closeCount, 0);
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
    ASSERT_TRUE(EventLoop::RunUntil([&] { return server.receiveCount == 1; }, kTimeoutMs));
    pair.client.SendAll(std::string(100, 'b'));
    ASSERT_TRUE(EventLoop::RunUntil([&] { return pending() == 200; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(server.receiveCount, 1) << "no new read notification before Receive";

    char buffer[50];
    ASSERT_EQ(server.Receive(buffer, sizeof buffer), 50);
    EXPECT_EQ(std::string(buffer, 50), std::string(50, 'a'));
    ASSERT_TRUE(EventLoop::RunUntil([&] { return server.receiveCount == 2; }, kTimeoutMs))
        << "data still waiting after a Receive is notified again";
    EXPECT_EQ(pending(), 150u);

    EXPECT_EQ(server.ReadAvailable(), 150);
    EXPECT_EQ(server.received, std::string(50, 'a') + std::string(100, 'b'));
    EXPECT_EQ(pending(), 0u);
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

    std::uint64_t sent = 0;
    std::uint64_t total = 0;  // known once the connection is full
    std::vector<char> chunk(256 * 1024);
    auto sendMore = [&](std::uint64_t limit) {
        while (sent < limit) {
            const std::uint64_t length = std::min<std::uint64_t>(chunk.size(), limit - sent);
            for (std::uint64_t i = 0; i < length; ++i) chunk[i] = PatternByte(sent + i);
            const int count = pair.client.Send(chunk.data(), static_cast<int>(length));
            if (count < 0) {
                EXPECT_EQ(AsyncSocket::LastError(), platform::kWouldBlock);
                return false;
            }
            sent += static_cast<std::uint64_t>(count);
        }
        return true;
    };
    const std::uint64_t kFillLimit = 512ull * 1024 * 1024;
    ASSERT_FALSE(sendMore(kFillLimit)) << "the connection never filled up";
    ASSERT_EQ(AsyncSocket::LastError(), platform::kWouldBlock);
    total = sent + 3 * 1024 * 1024;
    const int sendNotificationsBefore = pair.client.sendCount;

    pair.client.onSend = [&](RecordingSocket&, int error) {
        EXPECT_EQ(error, 0);
        sendMore(total);
    };
    std::uint64_t checked = 0;
    bool inOrder = true;
    server.onReceive = [&](RecordingSocket& self, int) {
        char buffer[32 * 1024];  // one small read per notification: a slow reader
        const int count = self.Receive(buffer, sizeof buffer);
        for (int i = 0; i < count && inOrder; ++i) inOrder = buffer[i] == PatternByte(checked + i);
        if (count > 0) checked += static_cast<std::uint64_t>(count);
    };
    ASSERT_TRUE(EventLoop::RunUntil([&] { return checked == total || !inOrder; }, 20000))
        << "received " << checked << " of " << total << ", sent " << sent;
    EXPECT_TRUE(inOrder) << "bytes out of order near offset " << checked;
    EXPECT_GT(pair.client.sendCount, sendNotificationsBefore);
}

TEST(SocketContract, OrderlyCloseAndResetAreToldApart) {
    LoopbackPair orderly;
    ASSERT_TRUE(orderly.Open());
    orderly.client.SendAll("bye");
    EXPECT_TRUE(orderly.client.ShutdownBoth());
    orderly.client.Close();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return orderly.server->closeCount > 0; }, kTimeoutMs));
    EXPECT_EQ(orderly.server->closeError, 0);
    EXPECT_EQ(orderly.server->received, "bye") << "data sent before the close arrives";

    LoopbackPair broken;
    ASSERT_TRUE(broken.Open());
    ASSERT_TRUE(broken.client.SetLingerAbort());
    broken.client.Close();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return broken.server->closeCount > 0; }, kTimeoutMs));
    EXPECT_EQ(broken.server->closeError, platform::kConnectionReset)
        << "read notifications before the close: " << broken.server->receiveCount;

    RunLoopFor(kQuietMs);
    EXPECT_EQ(orderly.server->closeCount, 1);
    EXPECT_EQ(broken.server->closeCount, 1);
}

TEST(SocketContract, HandlerMayDestroyItsOwnSocketAndOthers) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0) && listener.Listen());
    std::vector<std::unique_ptr<RecordingSocket>> accepted;
    int notifications = 0;  // counted outside the sockets, which die
    listener.onAccept = [&](RecordingSocket& self, int) {
        auto socket = std::make_unique<RecordingSocket>();
        if (!self.Accept(*socket)) return;
        socket->onReceive = [&](RecordingSocket&, int) {
            ++notifications;
            accepted.clear();  // this socket among them
        };
        socket->onClose = [&](RecordingSocket&, int) { ++notifications; };
        accepted.push_back(std::move(socket));
    };
    RecordingSocket clients[2];
    for (auto& client : clients) {
        ASSERT_TRUE(client.Create(0));
        ASSERT_NE(StartConnect(client, "127.0.0.1", listener.LocalPort()), ConnectStart::Failed);
    }
    ASSERT_TRUE(EventLoop::RunUntil([&] { return accepted.size() == 2; }, kTimeoutMs));
    // Both ends have data and a close waiting at once.
    for (auto& client : clients) {
        client.SendAll("x");
        client.Close();
    }
    ASSERT_TRUE(EventLoop::RunUntil([&] { return notifications > 0; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(notifications, 1);
    EXPECT_TRUE(accepted.empty());

    // Destroyed from its own close notification.
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    bool closed = false;
    pair.server->onClose = [&](RecordingSocket&, int) {
        closed = true;
        pair.server.reset();
    };
    pair.client.Close();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return closed; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
}

// A socket created while notifications for a destroyed one are still queued
// (it may even get the same handle) hears nothing meant for the old one.
TEST(SocketContract, NotificationsOfADestroyedSocketNeverReachANewOne) {
    RecordingSocket listener;
    ASSERT_TRUE(listener.Create(0) && listener.Listen());
    std::vector<std::unique_ptr<RecordingSocket>> accepted;
    std::unique_ptr<RecordingSocket> successor;
    int closes = 0;
    listener.onAccept = [&](RecordingSocket& self, int) {
        auto socket = std::make_unique<RecordingSocket>();
        if (!self.Accept(*socket)) return;
        socket->onClose = [&](RecordingSocket& closing, int) {
            ++closes;
            for (auto& other : accepted) {
                if (other.get() != &closing) other.reset();
            }
            successor = std::make_unique<RecordingSocket>();
            ASSERT_TRUE(successor->Create(0) && successor->Listen());
        };
        accepted.push_back(std::move(socket));
    };
    RecordingSocket clients[3];
    for (auto& client : clients) {
        ASSERT_TRUE(client.Create(0));
        ASSERT_NE(StartConnect(client, "127.0.0.1", listener.LocalPort()), ConnectStart::Failed);
    }
    ASSERT_TRUE(EventLoop::RunUntil([&] { return accepted.size() == 3; }, kTimeoutMs));
    for (auto& client : clients) client.Close();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return successor != nullptr; }, kTimeoutMs));
    RunLoopFor(kQuietMs);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(successor->acceptCount, 0);
    EXPECT_EQ(successor->receiveCount + successor->closeCount, 0);
}

TEST(SocketContract, SocketMayReconnectFromItsOwnCloseHandler) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    std::unique_ptr<RecordingSocket> first = std::move(pair.server);
    const std::uint16_t port = pair.Port();
    pair.client.onClose = [port](RecordingSocket& self, int) {
        self.Close();
        ASSERT_TRUE(self.Create(0));
        ASSERT_NE(StartConnect(self, "127.0.0.1", port), ConnectStart::Failed);
    };
    first->Close();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return pair.server != nullptr && pair.client.connectCount == 2; },
                                    kTimeoutMs));
    EXPECT_EQ(pair.client.connectError, 0);
    EXPECT_EQ(pair.client.closeCount, 1);

    pair.client.SendAll("again");
    ASSERT_TRUE(EventLoop::RunUntil([&] { return pair.server->received == "again"; }, kTimeoutMs));
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
    EXPECT_EQ(address, "127.0.0.2");
    EXPECT_EQ(port, pair.client.LocalPort());
}

}  // namespace
}  // namespace vorlan::test
