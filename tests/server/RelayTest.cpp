// What users say to each other: main and private lines, mutes, names, status,
// the main chat state, the topic, profile and version queries, leaving.
#include "ServerFixture.h"

namespace {

using Frames = std::vector<std::string>;

class RelayTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        host = &Login("127.0.0.1", "Host");
        alice = &Login("127.0.0.2", "Alice");
        bob = &Login("127.0.0.3", "Bob");
    }
    TestUser* host = nullptr;
    TestUser* alice = nullptr;
    TestUser* bob = nullptr;
};

TEST_F(RelayTest, MainLineGoesToEveryOtherOpenChatUserWithKindKept) {
    alice->client->SendMessage("021waves" + SEP + "hands");
    const Frames expected{"04" + alice->Id() + SEP + "1waves" + SEP + "hands"};
    EXPECT_EQ(Sync(*alice, *host), expected);
    EXPECT_EQ(Sync(*alice, *bob), expected);
    EXPECT_EQ(Sync(*alice), Frames{});
}

TEST_F(RelayTest, MainLineSkipsClosedChatsAndIsRefusedFromAClosedChat) {
    bob->client->SendMessage("051");
    Sync(*bob, *host);
    Sync(*bob, *alice);
    Sync(*bob);
    alice->client->SendMessage("020to the open ones");
    bob->client->SendMessage("020from a closed chat");
    EXPECT_EQ(Sync(*alice, *bob), Frames{});
    EXPECT_EQ(Sync(*bob, *host), Frames{"04" + alice->Id() + SEP + "0to the open ones"});
}

TEST_F(RelayTest, KindWithoutTextIsRefusedAndLongLinesAreCut) {
    alice->client->SendMessage("020");
    alice->client->SendMessage("02" + std::string(1500, 'x'));
    EXPECT_EQ(Sync(*alice, *bob), Frames{"04" + alice->Id() + SEP + std::string(1001, 'x')});
}

TEST_F(RelayTest, MutedSenderReachesNeitherMainNorPrivateChatUntilUnmuted) {
    bob->client->SendMessage("151" + alice->Id());
    EXPECT_EQ(Sync(*bob), Frames{"17" + alice->Id() + "1"});
    alice->client->SendMessage("020public");
    alice->client->SendMessage("11" + bob->Id() + SEP + "0private");
    EXPECT_EQ(Sync(*alice, *bob), Frames{});

    bob->client->SendMessage("150" + alice->Id());
    EXPECT_EQ(Sync(*bob), Frames{"17" + alice->Id() + "0"});
    alice->client->SendMessage("11" + bob->Id() + SEP + "2again");
    EXPECT_EQ(Sync(*alice, *bob), Frames{"13" + alice->Id() + SEP + "2again"});
}

TEST_F(RelayTest, MutesCountDuplicatesAndUnknownIdsAreRefused) {
    bob->client->SendMessage("151" + alice->Id());
    bob->client->SendMessage("151" + alice->Id());
    bob->client->SendMessage("150" + alice->Id());
    bob->client->SendMessage("15199");
    bob->client->SendMessage("152" + alice->Id());
    EXPECT_EQ(Sync(*bob), (Frames{"17" + alice->Id() + "1", "17" + alice->Id() + "1", "17" + alice->Id() + "0"}));
    alice->client->SendMessage("020still muted once");
    EXPECT_EQ(Sync(*alice, *bob), Frames{});
}

TEST_F(RelayTest, PrivateLineRulesAndMissingSeparatorDrops) {
    alice->client->SendMessage("11" + bob->Id() + SEP + "0");           // nothing after K
    alice->client->SendMessage("1199" + SEP + "0nobody");                // no such user
    alice->client->SendMessage("11" + bob->Id() + SEP + "0hi" + SEP);    // last field may hold SEP
    EXPECT_EQ(Sync(*alice, *bob), Frames{"13" + alice->Id() + SEP + "0hi" + SEP});
    EXPECT_EQ(Sync(*alice), Frames{});

    alice->client->SendMessage("11" + bob->Id() + "0no separator");
    WaitDropped(*alice);
    EXPECT_EQ(host->client->TakeUntil("18" + alice->Id() + "0"), Frames{});
}

TEST_F(RelayTest, NameChangeMayChangeOnlyTheCaseOfOnesOwnName) {
    alice->client->SendMessage("03ALICE");
    alice->client->SendMessage("03bob");      // another user's name, ignoring case
    alice->client->SendMessage("03ALICE");    // exactly the current name
    alice->client->SendMessage("03 \r\n ");   // empty once cleaned
    alice->client->SendMessage("03 Al" + SEP + "ice the Great and Powerful ");
    EXPECT_EQ(Sync(*alice, *bob),
              (Frames{"05" + alice->Id() + SEP + "ALICE", "05" + alice->Id() + SEP + "Alice the Great and "}));
}

TEST_F(RelayTest, StatusLosesLineBreaksAndIsCutTo200) {
    alice->client->SendMessage("04Be\r\n right" + SEP + "back" + std::string(300, '.'));
    std::string status = "Be right" + SEP + "back" + std::string(300, '.');
    status.resize(200);
    EXPECT_EQ(Sync(*alice), Frames{"06" + alice->Id() + SEP + status});
    alice->client->SendMessage("04");
    EXPECT_EQ(Sync(*alice, *host), (Frames{"06" + alice->Id() + SEP + status, "06" + alice->Id() + SEP}));
}

TEST_F(RelayTest, MainChatStateCarriesTheFullLevelDigitAndRefusesOtherValues) {
    host->client->SendMessage("051");
    host->client->SendMessage("05x");
    host->client->SendMessage("050");
    EXPECT_EQ(Sync(*host, *alice), (Frames{"07" + host->Id() + "4", "07" + host->Id() + "0"}));
}

TEST_F(RelayTest, TopicIsForAdminsAndReachesOpenChatsIncludingTheSender) {
    alice->client->SendMessage("01not allowed");
    EXPECT_EQ(Sync(*alice), Frames{});
    bob->client->SendMessage("051");
    Sync(*bob, *host);
    Sync(*bob, *alice);
    Sync(*bob);
    host->client->SendMessage("01" + std::string(1200, 't'));
    const Frames expected{"031" + std::string(1000, 't')};
    EXPECT_EQ(Sync(*host), expected);
    EXPECT_EQ(Sync(*host, *alice), expected);
    EXPECT_EQ(Sync(*host, *bob), Frames{});
    EXPECT_EQ(server.Topic(), std::string(1000, 't'));
}

TEST_F(RelayTest, ProfileQueryAndReplyAreRelayedWithFieldsCleanedAndCut) {
    alice->client->SendMessage("09" + bob->Id());
    EXPECT_EQ(Sync(*alice, *bob), Frames{"11" + alice->Id()});
    std::string reply = "10" + alice->Id() + SEP + std::string(25, 'n') + "\r\n";
    for (int i = 0; i < 7; ++i) reply += SEP + "f" + std::to_string(i);
    reply += SEP + "Away" + SEP + "extra";
    bob->client->SendMessage(reply);
    std::string expected = "12" + bob->Id() + SEP + std::string(20, 'n');
    for (int i = 0; i < 7; ++i) expected += SEP + "f" + std::to_string(i);
    expected += SEP + "Away" + SEP + "extra";
    EXPECT_EQ(Sync(*bob, *alice), Frames{expected});
}

TEST_F(RelayTest, ShortProfileReplyDropsTheSender) {
    bob->client->SendMessage("10" + alice->Id() + SEP + "a" + SEP + "b");
    WaitDropped(*bob);
    EXPECT_EQ(alice->client->TakeUntil("18" + bob->Id() + "0"), Frames{});
}

TEST_F(RelayTest, EmptyProfileKeepsEightSeparators) {
    bob->client->SendMessage("10" + alice->Id() + SEP + std::string(8, '\xAC'));
    EXPECT_EQ(Sync(*bob, *alice), Frames{"12" + bob->Id() + std::string(9, '\xAC')});
}

TEST_F(RelayTest, VersionQueryAndReply) {
    alice->client->SendMessage("13" + bob->Id());
    bob->client->SendMessage("14" + alice->Id() + SEP + "1.\r\n17");
    EXPECT_EQ(bob->client->TakeUntil("15" + alice->Id()), Frames{});
    EXPECT_EQ(alice->client->TakeUntil("16" + bob->Id() + SEP + "1.17"), Frames{});
}

TEST_F(RelayTest, LeavingTellsOthersLeftOrLostAndClearsMutes) {
    bob->client->SendMessage("151" + alice->Id());
    Sync(*bob);
    alice->client->Close();
    EXPECT_EQ(host->client->TakeUntil("02" + alice->Id() + SEP + "0"), Frames{});
    EXPECT_EQ(bob->client->TakeUntil("02" + alice->Id() + SEP + "0"), Frames{});
    EXPECT_TRUE(server.FindConnection(bob->id)->mutedIds.empty());
    Forget(*alice);

    // A reset instead of an orderly end is a lost connection.
    bob->client->CloseWithReset();
    EXPECT_EQ(host->client->TakeUntil("02" + bob->Id() + SEP + "1"), Frames{});
    Forget(*bob);
}

}  // namespace
