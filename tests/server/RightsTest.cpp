// Rights and ranks: admin grants, address requests, kicks and the connection list.
#include "ServerFixture.h"

namespace {

using Frames = std::vector<std::string>;

class RightsTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        server.SetPasswords({"super", "admin", ""});
        host = &Login("127.0.0.1", "Host");
        super1 = &Login("127.0.0.2", "Super1", "super");
        super2 = &Login("127.0.0.3", "Super2", "super");
        admin1 = &Login("127.0.0.4", "Admin1", "admin");
        admin2 = &Login("127.0.0.5", "Admin2", "admin");
        normal = &Login("127.0.0.6", "Normal");
    }
    // `by` asks to kick `target`; true when the target was removed.
    bool Kick(TestUser& by, TestUser& target) {
        by.client->SendMessage("16" + target.Id());
        Sync(by, *host);
        return server.FindConnection(target.id) == nullptr;
    }

    TestUser* host = nullptr;
    TestUser* super1 = nullptr;
    TestUser* super2 = nullptr;
    TestUser* admin1 = nullptr;
    TestUser* admin2 = nullptr;
    TestUser* normal = nullptr;
};

TEST_F(RightsTest, AdminsPromoteNormalUsersAndDemoteNormalAdminsOnly) {
    normal->client->SendMessage("06" + normal->Id());   // a Normal user has no rights
    admin1->client->SendMessage("06" + super1->Id());   // not a Normal user
    admin1->client->SendMessage("07" + super1->Id());   // not a Normal admin
    admin1->client->SendMessage("06" + normal->Id() + "x");
    admin1->client->SendMessage("07" + admin1->Id());   // itself included
    EXPECT_EQ(Sync(*admin1, *host), (Frames{"08" + normal->Id() + "x", "09" + admin1->Id()}));
    EXPECT_EQ(server.FindConnection(normal->id)->level, 2);
    EXPECT_EQ(server.FindConnection(admin1->id)->level, 3);
    admin1->client->SendMessage("07" + normal->Id());   // now a Normal user itself
    EXPECT_EQ(Sync(*admin1, *host), Frames{});
}

TEST_F(RightsTest, AddressRequestAnswersAdminsWithThePeerAddress) {
    normal->client->SendMessage("08" + host->Id());
    admin2->client->SendMessage("08" + host->Id());
    admin2->client->SendMessage("08" + normal->Id());
    admin2->client->SendMessage("0899");
    EXPECT_EQ(Sync(*normal), Frames{});
    EXPECT_EQ(Sync(*admin2), (Frames{"10" + host->Id() + SEP + "127.0.0.1", "10" + normal->Id() + SEP + "127.0.0.6"}));
}

TEST_F(RightsTest, KickFollowsRank) {
    EXPECT_FALSE(Kick(*normal, *admin1));
    EXPECT_FALSE(Kick(*admin1, *super1));
    EXPECT_FALSE(Kick(*super1, *super2));
    EXPECT_FALSE(Kick(*super1, *host));
    EXPECT_FALSE(Kick(*host, *host));
    EXPECT_TRUE(Kick(*admin1, *admin2));
    EXPECT_TRUE(Kick(*super1, *admin1));
    EXPECT_TRUE(Kick(*host, *super2));
}

TEST_F(RightsTest, KickedUserIsClosedAndTheOthersAreToldWhoKickedWhom) {
    admin1->client->SendMessage("16" + normal->Id() + "!");
    Frames before = WaitDropped(*normal);
    EXPECT_EQ(before, Frames{});
    std::string notice = "18" + normal->Id() + "!" + SEP + "0" + admin1->Id();
    EXPECT_EQ(host->client->TakeUntil(notice), Frames{});
    EXPECT_EQ(admin1->client->TakeUntil(notice), Frames{});
}

TEST_F(RightsTest, KickingAConnectionThatIsNotLoggedInTellsNobody) {
    auto stranger = Connect("127.0.0.9");
    int strangerId = server.Connections().back()->connectionId;
    admin1->client->SendMessage("16" + std::to_string(strangerId));
    EXPECT_TRUE(stranger->WaitForClose());
    EXPECT_EQ(Sync(*admin1, *host), Frames{});
}

TEST_F(RightsTest, ConnectionListShowsEveryConnectionToAdminsOnly) {
    auto stranger = Connect("127.0.0.9");
    normal->client->SendMessage("18");
    EXPECT_EQ(Sync(*normal), Frames{});
    admin1->client->SendMessage("18");
    Frames expected{"191" + host->Id() + SEP + "127.0.0.1"};
    for (TestUser* user : {super1, super2, admin1, admin2, normal}) {
        expected.push_back("190" + user->Id() + SEP + "127.0.0." + std::to_string(user->id));
    }
    expected.push_back("1907" + SEP + "127.0.0.9");
    EXPECT_EQ(Sync(*admin1), expected);
}

}  // namespace
