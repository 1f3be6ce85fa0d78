// The file-transfer relay and the address the server writes into offers.
#include "ServerFixture.h"

#include "server/ServerText.h"

namespace {

using Frames = std::vector<std::string>;
using vorlan::server::IsPrivateAddress;

TEST(PrivateAddressTest, RecognisesTheThreePrivateRangesByText) {
    for (const char* address : {"10.0.0.1", "10.255.1.2", "172.16.0.1", "172.31.255.255", "192.168.0.1"}) {
        EXPECT_TRUE(IsPrivateAddress(address)) << address;
    }
    for (const char* address : {"127.0.0.1", "172.15.0.1", "172.32.0.1", "172.1.0.1", "172.016.0.1", "192.169.0.1",
                                "11.0.0.1", "100.0.0.1", "", "172."}) {
        EXPECT_FALSE(IsPrivateAddress(address)) << address;
    }
}

class TransferRelayTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        host = &Login("127.0.0.1", "Host");
        alice = &Login("127.0.0.2", "Alice");
        bob = &Login("127.0.0.3", "Bob");
    }
    // Pretends that `user` reached the server from `address`.
    void Readdress(TestUser& user, const std::string& address) {
        server.FindConnection(user.id)->peerAddress = address;
    }
    // The "14" that `to` receives for the offer step "1" 7 SEP "01" ... from `from`.
    std::string OfferAddressSeenBy(TestUser& from, TestUser& to) {
        from.client->SendMessage("12" + to.Id() + SEP + "17" + SEP + "01" + "file.txt" + SEP + "123");
        Frames frames = Sync(from, to);
        if (frames.size() != 1) return "<" + std::to_string(frames.size()) + " messages>";
        std::string prefix = "14" + from.Id() + SEP + "7" + SEP + "01";
        std::string suffix = SEP + "file.txt" + SEP + "123";
        const std::string& frame = frames[0];
        if (!frame.starts_with(prefix) || !frame.ends_with(suffix)) return "<" + frame + ">";
        return frame.substr(prefix.size(), frame.size() - prefix.size() - suffix.size());
    }

    TestUser* host = nullptr;
    TestUser* alice = nullptr;
    TestUser* bob = nullptr;
};

TEST_F(TransferRelayTest, PlainStepsLoseTheirFlagAndLineBreaks) {
    alice->client->SendMessage("12" + bob->Id() + SEP + "09" + SEP + "\r1\n0" + SEP + "rest");
    EXPECT_EQ(Sync(*alice, *bob), Frames{"14" + alice->Id() + SEP + "9" + SEP + "10" + SEP + "rest"});
}

TEST_F(TransferRelayTest, OfferCarriesTheSendersAddressBetweenPublicUsers) {
    EXPECT_EQ(OfferAddressSeenBy(*alice, *bob), "127.0.0.2");
}

TEST_F(TransferRelayTest, OfferFromTheHostToARemoteUserCarriesZero) {
    EXPECT_EQ(OfferAddressSeenBy(*host, *bob), "0");
    EXPECT_EQ(OfferAddressSeenBy(*bob, *host), "127.0.0.3");
}

TEST_F(TransferRelayTest, OfferFromAPrivateNetworkOutwardsCarriesZero) {
    Readdress(*alice, "192.168.1.5");
    Readdress(*bob, "192.168.1.6");
    EXPECT_EQ(OfferAddressSeenBy(*alice, *bob), "192.168.1.5");
    Readdress(*bob, "81.2.3.4");
    EXPECT_EQ(OfferAddressSeenBy(*alice, *bob), "0");
    EXPECT_EQ(OfferAddressSeenBy(*bob, *alice), "81.2.3.4");
}

TEST_F(TransferRelayTest, RefusalsForUnknownTargetsEmptyPayloadsAndMutes) {
    alice->client->SendMessage("1299" + SEP + "0x");
    alice->client->SendMessage("12" + bob->Id() + SEP);
    bob->client->SendMessage("151" + alice->Id());
    Sync(*bob);
    alice->client->SendMessage("12" + bob->Id() + SEP + "0x");
    EXPECT_EQ(Sync(*alice, *bob), Frames{});
    EXPECT_EQ(Sync(*alice), Frames{});
}

TEST_F(TransferRelayTest, MalformedRelaysDropTheSender) {
    for (const std::string& payload : {std::string("no separator"), SEP + "2x", SEP + "1no second separator"}) {
        TestUser& carol = Login("127.0.0.4", "Carol");
        carol.client->SendMessage("12" + bob->Id() + payload);
        WaitDropped(carol);
        for (TestUser* user : {host, alice, bob}) {
            EXPECT_EQ(user->client->TakeUntil("18" + carol.Id() + "0"), Frames{}) << payload;
        }
    }
}

}  // namespace
