// Log-in: levels, passwords, unique names, the burst and the join notice.
#include "ServerFixture.h"

namespace {

class LoginTest : public ServerTest {
protected:
    void SetPasswords(std::string super, std::string admin, std::string user) {
        server.SetPasswords({std::move(super), std::move(admin), std::move(user)});
    }
    // Logs in and returns the level the server gave.
    int LevelAfterLogin(const std::string& address, const std::string& password) {
        return server.FindConnection(Login(address, "someone", password).id)->level;
    }
};

TEST_F(LoginTest, BurstListsEveryUserInSlotOrderWithTheTopicAndJoinNoticeToOthers) {
    server.SetTopic("Welcome" + SEP + "all");
    TestUser& host = Login("127.0.0.1", "Host", "whatever");
    TestUser& alice = Login("127.0.0.2", "Alice");
    alice.client->SendMessage("051");  // closes her main chat: others see digit 3 + 4
    EXPECT_EQ(Sync(alice), (std::vector<std::string>{"07" + alice.Id() + "7"}));
    host.client->TakeUntil("07" + alice.Id() + "7");

    std::vector<std::string> burst;
    TestUser& bob = Login("127.0.0.3", "Bob", "", &burst);
    EXPECT_EQ(burst, (std::vector<std::string>{
                         "00" + host.Id() + SEP + "0Host" + SEP + "Available0",
                         "00" + alice.Id() + SEP + "7Alice" + SEP + "Available0",
                         "00" + bob.Id() + SEP + "3Bob" + SEP + "Available1",
                         "030Welcome" + SEP + "all",
                     }));
}

TEST_F(LoginTest, JoinNoticeCarriesIdLevelAndName) {
    TestUser& host = Login("127.0.0.1", "Host");
    auto carol = Connect("127.0.0.2");
    carol->SendMessage("00Carol" + SEP);
    EXPECT_EQ(host.client->TakeUntil("012" + SEP + "3Carol"), std::vector<std::string>{});
}

TEST_F(LoginTest, HostAddressIsHostWhateverThePassword) {
    SetPasswords("s", "a", "u");
    EXPECT_EQ(LevelAfterLogin("127.0.0.1", "wrong"), 0);
}

TEST_F(LoginTest, PasswordsGiveLevelsInOrder) {
    SetPasswords("super", "admin", "user");
    EXPECT_EQ(LevelAfterLogin("127.0.0.2", "super"), 1);
    EXPECT_EQ(LevelAfterLogin("127.0.0.3", "admin"), 2);
    EXPECT_EQ(LevelAfterLogin("127.0.0.4", "user"), 3);
}

TEST_F(LoginTest, EmptyUserPasswordAdmitsAnyoneAsNormalUser) {
    SetPasswords("super", "admin", "");
    EXPECT_EQ(LevelAfterLogin("127.0.0.2", "wrong admin password"), 3);
}

TEST_F(LoginTest, EmptyAdminPasswordsAreNeverMatched) {
    SetPasswords("", "", "user");
    auto client = Connect("127.0.0.2");
    client->SendMessage("00Eve" + SEP);
    EXPECT_TRUE(client->WaitForClose());
    EXPECT_EQ(client->ReceivedBytes(), 0u);
}

TEST_F(LoginTest, WrongPasswordClosesWithoutAnyMessage) {
    TestUser& host = Login("127.0.0.1", "Host");
    SetPasswords("super", "admin", "user");
    auto client = Connect("127.0.0.2");
    client->SendMessage("00Eve" + SEP + "guess");
    EXPECT_TRUE(client->WaitForClose());
    EXPECT_EQ(client->ReceivedBytes(), 0u);
    EXPECT_EQ(Sync(host), std::vector<std::string>{});
}

TEST_F(LoginTest, LoginWithoutSeparatorIsIgnoredAndTheConnectionStays) {
    auto client = Connect("127.0.0.2");
    client->SendMessage("00Nobody");
    client->SendMessage("00Somebody" + SEP);
    ASSERT_TRUE(client->WaitForFrames(1));
    EXPECT_EQ(client->TakeFrames(), (std::vector<std::string>{"001" + SEP + "3Somebody" + SEP + "Available1"}));
}

TEST_F(LoginTest, AnyOtherMessageBeforeLoginClosesSilently) {
    TestUser& host = Login("127.0.0.1", "Host");
    auto client = Connect("127.0.0.2");
    client->SendMessage("020hello");
    EXPECT_TRUE(client->WaitForClose());
    EXPECT_EQ(client->ReceivedBytes(), 0u);
    EXPECT_EQ(Sync(host), std::vector<std::string>{});
}

TEST_F(LoginTest, SecondLoginDropsTheUserWithTheServerNotice) {
    TestUser& host = Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.2", "Alice");
    alice.client->SendMessage("00Again" + SEP);
    WaitDropped(alice);
    EXPECT_EQ(host.client->TakeUntil("18" + alice.Id() + "0"), std::vector<std::string>{});
}

TEST_F(LoginTest, NamesAreCleanedAndMadeUniqueIgnoringCase) {
    Login("127.0.0.2", "Sam");
    TestUser& second = Login("127.0.0.3", "  sAM\r");
    TestUser& third = Login("127.0.0.4", "SAM" + SEP + "\n" + SEP, "");
    EXPECT_EQ(server.FindConnection(second.id)->name, "sAM[2]");
    EXPECT_EQ(server.FindConnection(third.id)->name, "SAM[3]");
}

TEST_F(LoginTest, LongNamesAreCutBeforeTheUniquenessCheck) {
    Login("127.0.0.2", "abcdefghijklmnopqrstUVW");
    TestUser& second = Login("127.0.0.3", "ABCDEFGHIJKLMNOPQRSTxyz");
    EXPECT_EQ(server.FindConnection(users[0]->id)->name, "abcdefghijklmnopqrst");
    EXPECT_EQ(server.FindConnection(second.id)->name, "ABCDEFGHIJKLMNOPQRST[2]");
}

TEST_F(LoginTest, EmptyNameBecomesTheIdMadeUnique) {
    TestUser& first = Login("127.0.0.2", "2");
    TestUser& second = Login("127.0.0.3", " \r\n ");
    ASSERT_EQ(second.id, 2);
    EXPECT_EQ(server.FindConnection(first.id)->name, "2");
    EXPECT_EQ(server.FindConnection(second.id)->name, "2[2]");
}

TEST_F(LoginTest, FreedIdsAreReusedSmallestFirst) {
    for (int i = 2; i <= 5; ++i) Login("127.0.0." + std::to_string(i), "u" + std::to_string(i));
    TestUser& third = *users[2];
    ASSERT_EQ(third.id, 3);
    third.client->Close();
    Forget(third);
    for (auto& user : users) EXPECT_EQ(user->client->TakeUntil("023" + SEP + "0"), std::vector<std::string>{});
    EXPECT_EQ(Login("127.0.0.9", "late").id, 3);
}

}  // namespace
