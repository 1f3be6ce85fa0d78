// Bans: banning users and addresses, the check at accept, the list and its edits.
#include "ServerFixture.h"

#include "platform/EventLoop.h"

namespace {

using Frames = std::vector<std::string>;
using vorlan::storage::BanEntry;

class BanTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        server.SetPasswords({"super", "admin", ""});
        host = &Login("127.0.0.1", "Host");
        admin = &Login("127.0.0.2", "Admin", "admin");
        normal = &Login("127.0.0.3", "Normal");
    }
    std::vector<std::pair<int, std::string>> IdsAndAddresses() const {
        std::vector<std::pair<int, std::string>> out;
        for (const auto& entry : server.BanList()) out.emplace_back(entry.banId, entry.address);
        return out;
    }

    TestUser* host = nullptr;
    TestUser* admin = nullptr;
    TestUser* normal = nullptr;
};

TEST_F(BanTest, BanningAUserBansItsAddressWithItsNameAndDropsIt) {
    admin->client->SendMessage("17" + normal->Id() + SEP + "ignored");
    WaitDropped(*normal);
    EXPECT_EQ(host->client->TakeUntil("18" + normal->Id() + SEP + "1" + admin->Id()), Frames{});
    EXPECT_EQ(admin->client->TakeUntil("18" + normal->Id() + SEP + "1" + admin->Id()), Frames{});
    ASSERT_EQ(server.BanList().size(), 1u);
    EXPECT_EQ(server.BanList()[0].banId, 0);
    EXPECT_EQ(server.BanList()[0].address, "127.0.0.3");
    EXPECT_EQ(server.BanList()[0].description, "Normal");

    // The same address is not added twice.
    TestUser& again = Login("127.0.0.4", "Other");
    server.FindConnection(again.id)->peerAddress = "127.0.0.3";
    admin->client->SendMessage("17" + again.Id());
    WaitDropped(again);
    EXPECT_EQ(server.BanList().size(), 1u);
}

TEST_F(BanTest, BannedAddressIsClosedAtAcceptBeforeAnyByteAndOnlyByExactText) {
    admin->client->SendMessage("17127.0.0.9");
    admin->client->SendMessage("17 127.0.0.010\r\n");
    Sync(*admin);
    EXPECT_EQ(IdsAndAddresses(), (std::vector<std::pair<int, std::string>>{{0, "127.0.0.9"}, {1, "127.0.0.010"}}));

    RawClient banned;
    ASSERT_TRUE(banned.Connect("127.0.0.9", port));
    EXPECT_TRUE(banned.WaitForClose());
    EXPECT_EQ(banned.ReceivedBytes(), 0u);
    // "127.0.0.010" is another text than "127.0.0.10".
    EXPECT_EQ(Login("127.0.0.10", "Ten").id, 4);
    EXPECT_EQ(Sync(*host), Frames{});
}

TEST_F(BanTest, HostAddressIsNeverBanned) {
    admin->client->SendMessage("17127.0.0.1");
    admin->client->SendMessage("20127.0.0.1" + SEP + "host1");
    Sync(*admin);
    EXPECT_TRUE(server.BanList().empty());
}

// A banned host could never reach its own server again to lift the ban.
TEST_F(BanTest, HostAddressIsNotBannedEvenWhenItsConnectionIsBanned) {
    auto hostBeforeLogin = Connect("127.0.0.1");
    int id = server.Connections().back()->connectionId;
    admin->client->SendMessage("17" + std::to_string(id));
    EXPECT_TRUE(hostBeforeLogin->WaitForClose());
    EXPECT_EQ(Sync(*admin, *host), Frames{});
    EXPECT_TRUE(server.BanList().empty());
}

TEST_F(BanTest, NormalUsersCannotBanOrSeeOrEditTheList) {
    server.SetBanList({BanEntry{7, "10.0.0.1", ""}});
    normal->client->SendMessage("17" + admin->Id());
    normal->client->SendMessage("1710.0.0.2");
    normal->client->SendMessage("19");
    normal->client->SendMessage("2070");
    normal->client->SendMessage("2010.0.0.3" + SEP + "x1");
    normal->client->SendMessage("20no separator1");
    EXPECT_EQ(Sync(*normal), Frames{});
    EXPECT_EQ(IdsAndAddresses(), (std::vector<std::pair<int, std::string>>{{7, "10.0.0.1"}}));
}

TEST_F(BanTest, ListRowsFlagTheFirstAndShowDescriptionsOnlyWhenSet) {
    admin->client->SendMessage("19");
    EXPECT_EQ(Sync(*admin), Frames{});
    admin->client->SendMessage("20 10.0.0.1 " + SEP + " spam" + SEP + "mer \r\n1");
    admin->client->SendMessage("2010.0.0.2" + SEP + "1");
    admin->client->SendMessage("19");
    EXPECT_EQ(Sync(*admin), (Frames{"2010" + SEP + "10.0.0.1" + SEP + "spammer", "2001" + SEP + "10.0.0.2"}));
}

TEST_F(BanTest, RemovingFreesTheIdForTheNextBan) {
    server.SetBanList({BanEntry{0, "a", ""}, BanEntry{1, "b", ""}, BanEntry{2, "c", ""}});
    admin->client->SendMessage("2010");
    admin->client->SendMessage("2050");
    admin->client->SendMessage("20d" + SEP + "1");
    Sync(*admin);
    EXPECT_EQ(IdsAndAddresses(), (std::vector<std::pair<int, std::string>>{{0, "a"}, {2, "c"}, {1, "d"}}));
}

TEST_F(BanTest, BadEditsDropTheAdmin) {
    admin->client->SendMessage("20x2");
    WaitDropped(*admin);
    EXPECT_EQ(host->client->TakeUntil("18" + admin->Id() + "0"), Frames{});
}

TEST_F(BanTest, AddWithoutSeparatorDropsTheAdmin) {
    admin->client->SendMessage("2010.0.0.11");
    WaitDropped(*admin);
    EXPECT_TRUE(server.BanList().empty());
}

TEST_F(BanTest, FullListPushesOutTheOldestAndReusesItsId) {
    std::vector<BanEntry> full;
    for (int i = 0; i < 50000; ++i) full.push_back(BanEntry{i, "10.1." + std::to_string(i), ""});
    server.SetBanList(full);
    admin->client->SendMessage("2010.2.0.1" + SEP + "new1");
    Sync(*admin);
    ASSERT_EQ(server.BanList().size(), 50000u);
    EXPECT_EQ(server.BanList().front().address, "10.1.1");
    EXPECT_EQ(server.BanList().back().banId, 0);
    EXPECT_EQ(server.BanList().back().address, "10.2.0.1");
}

TEST_F(BanTest, LoadedListKeepsIdsUniqueAndInRange) {
    server.SetBanList({BanEntry{3, "a", ""}, BanEntry{3, "b", ""}, BanEntry{60000, "c", ""}, BanEntry{-1, "d", ""}});
    EXPECT_EQ(IdsAndAddresses(), (std::vector<std::pair<int, std::string>>{{3, "a"}, {0, "b"}, {1, "c"}, {2, "d"}}));
}

// The largest legitimate reply must pass the bound on unsent bytes intact.
TEST_F(BanTest, FullBanListOfLongTextsReachesAReadingAdminWhole) {
    std::vector<BanEntry> full;
    for (int i = 0; i < 50000; ++i) full.push_back(BanEntry{i, std::string(200, 'a'), std::string(200, 'd')});
    server.SetBanList(full);
    std::size_t receivedBefore = admin->client->ReceivedBytes();
    admin->client->SendMessage("19");
    admin->client->SendMessage("13" + admin->Id());
    std::size_t rowBytes = 3 + 200 + 1 + 200 + 1 + 1;  // code, flag, SEP, SEP, zero byte
    std::size_t idDigits = 10 * 1 + 90 * 2 + 900 * 3 + 9000 * 4 + 40000 * 5;
    std::size_t expected = receivedBefore + 50000 * rowBytes + idDigits + ("15" + admin->Id()).size() + 1;
    EXPECT_TRUE(vorlan::platform::EventLoop::RunUntil(
        [&] {
            admin->client->Pump();
            return admin->client->ReceivedBytes() >= expected || admin->client->IsClosedByPeer();
        },
        20000));
    EXPECT_EQ(admin->client->ReceivedBytes(), expected);
    EXPECT_FALSE(admin->client->IsClosedByPeer());
    Frames frames = admin->client->TakeFrames();
    ASSERT_EQ(frames.size(), 50001u);
    EXPECT_EQ(frames[0], "2010" + SEP + std::string(200, 'a') + SEP + std::string(200, 'd'));
    EXPECT_EQ(frames[49999], "20049999" + SEP + std::string(200, 'a') + SEP + std::string(200, 'd'));
}

}  // namespace
