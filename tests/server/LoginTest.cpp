// Log-in: levels, passwords, unique names, ids, the burst and the join notice.
#include "ServerFixture.h"

namespace {

using LoginTest = ServerTest;

TEST_F(LoginTest, BurstListsEveryUserInSlotOrderWithTheTopicAndOthersHearTheNewcomer) {
    server.SetTopic("Welcome|all");
    Login("127.0.0.1", "Host", "whatever");
    TestUser& alice = Login("127.0.0.2", "Alice");
    alice.Send("051");  // closes her main chat: others see her level digit plus 4
    AllHear("0727");
    Frames burst;
    Login("127.0.0.3", "Bob", "", &burst);  // Login checks the join notice "013|3Bob"
    EXPECT_EQ(burst,
              (Frames{"001|0Host|Available0", "002|7Alice|Available0", "003|3Bob|Available1", "030Welcome|all"}));
}

TEST_F(LoginTest, LevelComesFromTheAddressAndThePasswords) {
    std::vector<std::unique_ptr<RawClient>> clients;
    struct Row {
        vorlan::server::ServerPasswords passwords;
        const char* address;
        const char* password;
        int level;
    };
    for (const Row& row : {Row{{"s", "a", "u"}, "127.0.0.1", "wrong", 0},
                           {{"s", "a", "u"}, "127.0.0.2", "s", 1},
                           {{"s", "a", "u"}, "127.0.0.2", "a", 2},
                           {{"s", "a", "u"}, "127.0.0.2", "u", 3},
                           {{"s", "a", ""}, "127.0.0.2", "wrong", 3},
                           {{"s", "a", "u"}, "127.0.0.2", "wrong", -1},
                           {{"", "", "u"}, "127.0.0.2", "", -1}}) {  // an empty admin password is never matched
        server.SetPasswords(row.passwords);
        RawClient& client = *clients.emplace_back(Connect(row.address));
        std::string id = std::to_string(server.Connections().back()->connectionId);
        client.Send("00U" + id + "|" + row.password);
        if (row.level < 0) {
            EXPECT_TRUE(client.WaitForClose()) << row.password;
            EXPECT_EQ(client.ReceivedBytes(), 0u) << "refused without a message";
        } else {
            client.TakeUntil("00" + id + "|" + std::to_string(row.level) + "U" + id + "|Available1");
        }
    }
}

TEST_F(LoginTest, NamesAreCleanedCutAndMadeUniqueIgnoringCase) {
    struct Row {
        const char* address;
        std::string sent;
        const char* name;
    };
    for (const Row& row : {Row{"127.0.0.2", "Sam", "Sam"},
                           {"127.0.0.3", "  sAM\r", "sAM[2]"},
                           {"127.0.0.4", "SAM\xAC\n\xAC", "SAM[3]"},
                           {"127.0.0.5", "abcdefghijklmnopqrstUVW", "abcdefghijklmnopqrst"},
                           {"127.0.0.6", "ABCDEFGHIJKLMNOPQRSTxyz", "ABCDEFGHIJKLMNOPQRST[2]"},
                           {"127.0.0.7", "7", "7"},
                           {"127.0.0.8", " \r\n ", "7[2]"}}) {  // empty: the id, here 7
        TestUser& user = Login(row.address, row.sent);
        EXPECT_EQ(server.FindConnection(user.id)->name, row.name) << row.sent;
    }
}

TEST_F(LoginTest, MessagesOutOfPlace) {
    TestUser& host = Login("127.0.0.1", "Host");
    auto early = Connect("127.0.0.2");
    early->Send("00Nobody");  // without a separator: ignored, the connection stays
    early->Send("00Somebody|");
    EXPECT_EQ(host.TakeUntil("012|3Somebody"), Frames{});
    auto stranger = Connect("127.0.0.3");
    stranger->Send("020hello");  // anything else before log-in: closed silently
    EXPECT_TRUE(stranger->WaitForClose());
    EXPECT_EQ(stranger->ReceivedBytes(), 0u);
    early->Send("00Again|");  // a second log-in is a fault
    EXPECT_EQ(host.TakeUntil("1820"), Frames{});
}

TEST_F(LoginTest, FreedIdsAreReusedSmallestFirst) {
    for (int i = 1; i <= 4; ++i) Login("127.0.0." + std::to_string(i), "u" + std::to_string(i));
    TestUser& third = *users[2];
    third.Close();
    Forget(third);
    AllHear("023|0");  // left, not lost
    EXPECT_EQ(Login("127.0.0.9", "late").id, 3);
}

}  // namespace
