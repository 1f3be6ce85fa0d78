// What a server that does not follow the protocol can do to a client.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "protocol/ServerToClient.h"

namespace vorlan::client {
namespace {

using namespace test_support;

// No server message is longer than the 2000 characters a partial message may
// hold; one that arrives whole but longer is dropped like an over-long partial
// one, so that no view has to lay out megabytes of a hostile server's text.
TEST(HostileServer, AMessageLongerThanAnyLegitimateOneIsDroppedEvenWhenItArrivesWhole) {
    test::TempFolder folder;
    RawServer server;
    ASSERT_TRUE(server.Start());
    TestClient client(folder.Path().string(), [&](ClientSessionSettings& s) { s.options.chatPort = server.LocalPort(); });
    client->ConnectToLocalServer();
    ASSERT_TRUE(WaitFor([&] { return client->connected() && !server.peers.empty(); }));

    const std::string longLine(60000, 'x');
    server.Send(protocol::to_client::UserEntry(1, 0, "Anna", "Available", true) + Z() +
                protocol::to_client::UserEntry(2, 3, "Bob", "Available", false) + Z() +
                protocol::to_client::MainChatMessage(2, "0" + longLine) + Z() +
                protocol::to_client::MainChatMessage(2, "0" + std::string(1000, 'y')) + Z());
    ASSERT_TRUE(WaitFor([&] { return client.ViewText().find(std::string(1000, 'y')) != std::string::npos; }));
    EXPECT_EQ(client.ViewText().find("xxx"), std::string::npos);
    EXPECT_TRUE(client->connected());
}

}  // namespace
}  // namespace vorlan::client
