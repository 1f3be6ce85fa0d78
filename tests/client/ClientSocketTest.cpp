#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/ClientSocket.h"

namespace vorlan::client {
namespace {

using namespace test_support;

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

    // Far more than the socket buffers hold, sent without running the loop in
    // between, so the send buffer must keep the rest.
    std::string expected;
    bool buffered = false;
    for (int i = 0; i < 8000; ++i) {
        std::string message = std::to_string(i) + std::string(1000, static_cast<char>('a' + i % 26));
        message.push_back('\0');
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
