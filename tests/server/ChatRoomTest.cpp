// What users say to each other and what admins may do: main and private lines,
// mutes, names, status, topic, queries, transfers, rights and leaving.
#include "ServerFixture.h"

#include "server/ServerText.h"

namespace {

TEST_F(ChatRoom, MainLinesReachEveryOtherOpenChatAndAreCut) {
    bob->Send("051");
    AllHear("0757");
    alice->Send({"021waves|hands", "020", "02" + std::string(1500, 'x')});  // "020": a kind without text
    bob->Send("020from a closed chat");
    EXPECT_EQ(Sync(*alice, *host), (Frames{"044|1waves|hands", "044|" + std::string(1001, 'x')}));
    EXPECT_EQ(Sync(*alice, *bob), Frames{});
    EXPECT_EQ(Sync(*alice), Frames{});
    EXPECT_EQ(Sync(*bob, *host), Frames{});
    host->Send({"050", "05x"});
    EXPECT_EQ(Sync(*host, *alice), Frames{"0710"});
}

TEST_F(ChatRoom, MutedSenderReachesNeitherMainNorPrivateChatNorTransfersUntilUnmuted) {
    bob->Send({"1514", "1514", "1504", "15199", "1524"});
    EXPECT_EQ(Sync(*bob), (Frames{"1741", "1741", "1740"})) << "counted with duplicates, unknown ids refused";
    alice->Send({"020public", "115|0private", "125|0x"});
    EXPECT_EQ(Sync(*alice, *bob), Frames{});
    bob->Send("1504");
    EXPECT_EQ(Sync(*bob), Frames{"1740"});
    alice->Send("115|2again");
    EXPECT_EQ(Sync(*alice, *bob), Frames{"134|2again"});
}

TEST_F(ChatRoom, PrivateLineRules) {
    // Nothing after the kind, no such user, SEP in the last field, and an id that must not wrap into a valid one.
    alice->Send({"115|0", "1199|0nobody", "115|0hi|", "11" + std::string(400, '9') + "5|0hi"});
    EXPECT_EQ(Sync(*alice, *bob), Frames{"134|0hi|"});
    EXPECT_EQ(Sync(*alice), Frames{});
    alice->Send("1150no separator");
    ExpectDropped(*alice);
}

TEST_F(ChatRoom, NameMayChangeOnlyInCaseOfOnesOwnAndStatusIsCleanedAndCut) {
    alice->Send({"03ALICE", "03bob", "03ALICE", "03 \r\n ", "03 Al\xACice the Great and Powerful ",
                 "04Be\r\n right|back" + std::string(300, '.'), "04"});
    std::string status = ("Be right|back" + std::string(300, '.')).substr(0, 200);
    EXPECT_EQ(Sync(*alice, *bob), (Frames{"054|ALICE", "054|Alice the Great and ", "064|" + status, "064|"}));
}

TEST_F(ChatRoom, TopicIsForAdminsAndReachesOpenChatsIncludingTheSender) {
    alice->Send("01not allowed");
    EXPECT_EQ(Sync(*alice), Frames{});
    bob->Send("051");
    AllHear("0757");
    admin->Send("01" + std::string(1200, 't'));
    EXPECT_EQ(Sync(*admin), Frames{"031" + std::string(1000, 't')});
    EXPECT_EQ(Sync(*admin, *alice), Frames{"031" + std::string(1000, 't')});
    EXPECT_EQ(Sync(*admin, *bob), Frames{});
}

TEST_F(ChatRoom, ProfileAndVersionQueriesAreRelayedCleanedAndCut) {
    alice->Send("095");
    EXPECT_EQ(Sync(*alice, *bob), Frames{"114"});
    // A long profile, an empty one and a version.
    bob->Send({"104|" + std::string(25, 'n') + "\r\n|f1|f2|f3|f4|f5|f6|" + std::string(250, 'f') + "|Away|extra",
               "104|||||||||", "144|1.\r\n17"});
    EXPECT_EQ(Sync(*bob, *alice),
              (Frames{"125|" + std::string(20, 'n') + "|f1|f2|f3|f4|f5|f6|" + std::string(200, 'f') + "|Away|extra",
                      "125|||||||||", "165|1.17"}));
    bob->Send("104|a|b");  // fewer than nine fields
    ExpectDropped(*bob);
}

TEST_F(ChatRoom, LeavingTellsOthersLeftOrLostAndClearsMutes) {
    bob->Send("1514");
    Sync(*bob);
    alice->Close();
    Forget(*alice);
    AllHear("024|0");
    EXPECT_TRUE(server.FindConnection(bob->id)->mutedIds.empty()) << "a newcomer may take the id";
    bob->CloseWithReset();
    Forget(*bob);
    AllHear("025|1");
}

TEST_F(ChatRoom, AdminsPromoteNormalUsersAndDemoteNormalAdminsOnly) {
    alice->Send("065");  // a Normal user has no rights
    // Super is neither a Normal user nor a Normal admin; Admin may demote itself.
    admin->Send({"062", "072", "065x", "073"});
    EXPECT_EQ(Sync(*admin, *host), (Frames{"085x", "093"}));
    EXPECT_EQ(std::pair(server.FindConnection(5)->level, server.FindConnection(3)->level), std::pair(2, 3));
    admin->Send("075");  // now a Normal user itself
    EXPECT_EQ(Sync(*admin, *host), Frames{});
}

TEST_F(ChatRoom, AddressesAndTheConnectionListAreForAdminsOnly) {
    auto stranger = Connect("127.0.0.9");
    alice->Send({"081", "18"});
    EXPECT_EQ(Sync(*alice), Frames{});
    admin->Send({"081", "085", "0899", "18"});
    EXPECT_EQ(Sync(*admin), (Frames{"101|127.0.0.1", "105|127.0.0.5", "1911|127.0.0.1", "1902|127.0.0.2",
                                    "1903|127.0.0.3", "1904|127.0.0.4", "1905|127.0.0.5", "1906|127.0.0.9"}));
}

TEST_F(ChatRoom, KickFollowsRankAndTellsWhoKickedWhom) {
    TestUser& admin2 = Login("127.0.0.6", "Admin2", "admin");
    TestUser& super2 = Login("127.0.0.7", "Super2", "super");
    auto kicks = [&](TestUser& by, TestUser& target) {
        by.Send("16" + target.Id());
        Sync(by, *host);
        return server.FindConnection(target.id) == nullptr;
    };
    EXPECT_FALSE(kicks(*alice, *admin));
    EXPECT_FALSE(kicks(*admin, *super));
    EXPECT_FALSE(kicks(*super, super2));
    EXPECT_FALSE(kicks(*super, *host));
    EXPECT_FALSE(kicks(*host, *host));
    admin->Send("165!");
    ExpectDropped(*bob, "185!|03");
    EXPECT_TRUE(kicks(*admin, admin2));
    EXPECT_TRUE(kicks(*super, *admin));
    EXPECT_TRUE(kicks(*host, super2));
    auto stranger = Connect("127.0.0.9");  // not logged in: nobody is told
    super->Send("16" + std::to_string(server.Connections().back()->connectionId));
    EXPECT_TRUE(stranger->WaitForClose());
    EXPECT_EQ(Sync(*super, *host), Frames{});
}

TEST(PrivateAddress, TheThreePrivateRangesByText) {
    for (const char* address : {"10.0.0.1", "10.255.1.2", "172.16.0.1", "172.31.255.255", "192.168.0.1"}) {
        EXPECT_TRUE(vorlan::server::IsPrivateAddress(address)) << address;
    }
    for (const char* address :
         {"127.0.0.1", "172.15.0.1", "172.32.0.1", "172.1.0.1", "172.016.0.1", "192.169.0.1", "11.0.0.1", "", "172."}) {
        EXPECT_FALSE(vorlan::server::IsPrivateAddress(address)) << address;
    }
}

TEST_F(ChatRoom, TransferStepsAreRelayedAndOffersCarryAnAddressTheTargetCanUse) {
    alice->Send("125|09|\r1\n0|rest");  // a plain step loses its flag and line breaks
    EXPECT_EQ(Sync(*alice, *bob), Frames{"144|9|10|rest"});
    // The address written into an offer from `from` to `to`, each seen at the given address.
    auto offerAddress = [&](TestUser& from, const char* fromAddress, TestUser& to, const char* toAddress) {
        server.FindConnection(from.id)->peerAddress = fromAddress;
        server.FindConnection(to.id)->peerAddress = toAddress;
        from.Send("12" + to.Id() + "|17|01file.txt|123");
        Frames got = Sync(from, to);
        std::string prefix = "14" + from.Id() + "|7|01", suffix = "|file.txt|123";
        if (got.size() != 1 || !got[0].starts_with(prefix) || !got[0].ends_with(suffix))
            return "<" + testing::PrintToString(got) + ">";
        return got[0].substr(prefix.size(), got[0].size() - prefix.size() - suffix.size());
    };
    EXPECT_EQ(offerAddress(*alice, "127.0.0.4", *bob, "127.0.0.5"), "127.0.0.4");
    EXPECT_EQ(offerAddress(*host, "127.0.0.1", *bob, "127.0.0.5"), "0");
    EXPECT_EQ(offerAddress(*bob, "127.0.0.5", *host, "127.0.0.1"), "127.0.0.5");
    EXPECT_EQ(offerAddress(*alice, "192.168.1.5", *bob, "192.168.1.6"), "192.168.1.5");
    EXPECT_EQ(offerAddress(*alice, "192.168.1.5", *bob, "81.2.3.4"), "0");
    EXPECT_EQ(offerAddress(*bob, "81.2.3.4", *alice, "192.168.1.5"), "81.2.3.4");

    alice->Send({"1299|0x", "125|"});
    EXPECT_EQ(Sync(*alice, *bob), Frames{});
    for (const char* malformed : {"125no separator", "125|2x", "125|1no second separator"}) {
        TestUser& carol = Login("127.0.0.6", "Carol");
        carol.Send(malformed);
        ExpectDropped(carol);
    }
}

}  // namespace
