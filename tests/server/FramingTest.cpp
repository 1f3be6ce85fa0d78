// Framing, floods and limits: split messages, keepalives, the per-notification
// and per-period counts, the kept tail, unknown codes, clients that stop
// reading, the client limit, the timers and fan-out.
#include "ServerFixture.h"

#include "platform/EventLoop.h"

namespace {

using vorlan::platform::EventLoop;

std::string Repeat(const std::string& frame, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += frame + '\0';
    return out;
}

class Framing : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        host = &Login("127.0.0.1", "Host");
        alice = &Login("127.0.0.2", "Alice");
    }
    TestUser* host = nullptr;
    TestUser* alice = nullptr;
};

TEST_F(Framing, MessagesSplitAcrossSegmentsAreJoinedAndKeepalivesProduceNothing) {
    alice->SendRaw(Repeat("020one", 1) + std::string(5, '\0') + "020two" + '\0' + "020thr");
    EXPECT_EQ(host->TakeUntil("042|0two"), Frames{"042|0one"});
    alice->SendRaw(std::string("ee\0", 3));
    EXPECT_EQ(Sync(*alice, *host), Frames{"042|0three"});
    EXPECT_EQ(Sync(*alice), Frames{});
}

TEST_F(Framing, TwentyMessagesInOneSegmentAreHandledAndTheTwentyFirstDrops) {
    alice->SendRaw(Repeat("020x", 19));  // and the version query of the sync
    EXPECT_EQ(Sync(*alice, *host), Frames(19, "042|0x"));
    alice->SendRaw(Repeat("020x", 21));
    EXPECT_EQ(host->TakeUntil("1820"), Frames(20, "042|0x"));
    EXPECT_TRUE(alice->WaitForClose());
    Forget(*alice);
    TestUser& bob = Login("127.0.0.3", "Bob");
    bob.SendRaw(std::string(21, '\0'));  // keepalives count too
    ExpectDropped(bob);
}

TEST_F(Framing, FloodCheckDropsMoreThanTwentyMessagesPerPeriodAndCountsAfresh) {
    TestUser& bob = Login("127.0.0.3", "Bob");
    auto stranger = Connect("127.0.0.9");
    // Each burst is waited for, so that no single notification passes twenty.
    for (int keepalives : {10, 9}) alice->SendRaw(std::string(keepalives, '\0')), Sync(*alice);  // 23, log-in included
    for (int keepalives : {9, 7}) bob.SendRaw(std::string(keepalives, '\0')), Sync(bob);         // 20
    for (int keepalives : {15, 15}) {
        stranger->SendRaw(std::string(keepalives, '\0'));
        int count = server.Connections().back()->messageCount + keepalives;
        EXPECT_TRUE(EventLoop::RunUntil([&] { return server.Connections().back()->messageCount == count; }, 5000));
    }
    server.CheckFloods();
    ExpectDropped(*alice);
    EXPECT_TRUE(stranger->WaitForClose()) << "silently: no notice came before alice's";
    bob.SendRaw(std::string(19, '\0'));
    Sync(bob);
    server.CheckFloods();
    EXPECT_EQ(Sync(bob, *host), Frames{});
}

// A flood check that comes late (the loop was busy) allows twenty messages for
// every period that passed, so that a user who kept to the limit stays.
class LateFloodCheck : public ServerTest {
protected:
    static inline std::uint64_t now = 0;
    static vorlan::server::ServerTuning WithClock() {
        vorlan::server::ServerTuning tuning = Tuning();
        tuning.clock = [] { return now; };
        return tuning;
    }
    LateFloodCheck() : ServerTest(WithClock()) {}
    void SendSynced(TestUser& user, int keepalives) {
        for (int part : {keepalives / 2, keepalives - keepalives / 2})
            user.SendRaw(std::string(part, '\0')), Sync(user);
    }
};

TEST_F(LateFloodCheck, TwentyForEveryPeriodThatPassedAndNeverFewer) {
    const std::uint64_t period = Tuning().floodCheckPeriodMs;
    TestUser& bob = Login("127.0.0.3", "Bob");
    SendSynced(bob, 35);
    now += 2 * period;
    server.CheckFloods();
    SendSynced(bob, 5);
    EXPECT_NE(server.FindConnection(bob.id), nullptr) << "36 messages over two periods";
    now += period / 2;  // an early check still allows one period's twenty
    server.CheckFloods();
    SendSynced(bob, 21);
    now += period;
    server.CheckFloods();
    ExpectDropped(bob);
}

TEST_F(Framing, KeptTailOf2000BytesIsAllowedAnd2001Drops) {
    std::string text = "020" + std::string(1997, 'y');
    alice->SendRaw(text);
    EXPECT_TRUE(EventLoop::RunUntil(
        [&] { return server.FindConnection(alice->id)->pendingInput.Tail().size() == 2000; }, 5000));
    alice->SendRaw(std::string(1, '\0'));
    EXPECT_EQ(Sync(*alice, *host), Frames{"042|0" + std::string(1000, 'y')});
    alice->SendRaw(text + "y");
    ExpectDropped(*alice);
}

TEST_F(Framing, UnknownCodesDropTheSenderAndOverLongIdsNeverWrap) {
    // 2^32 + 2 and 2^64 + 2 would wrap to user 2 in a fixed-width conversion.
    alice->Send({"134294967298", "1318446744073709551618"});
    EXPECT_EQ(Sync(*host, *alice), Frames{});
    for (const std::string bad : {"21", "99", "x0", "0", "-1"}) {
        TestUser& bob = Login("127.0.0.3", "Bob");
        bob.Send(bad);
        ExpectDropped(bob);
    }
}

// The full ban list is the largest reply; asked for again and again by an
// admin that does not read, it still holds at most one slice in the server.
TEST_F(Framing, AdminThatStopsReadingHoldsLittleOfTheBanListHoweverOftenItAsks) {
    std::vector<vorlan::storage::BanEntry> bans;
    for (int i = 0; i < 50000; ++i) bans.push_back({i, std::string(200, 'a'), std::string(200, 'd')});
    server.SetBanList(bans);
    server.SetPasswords({"super", "", ""});
    TestUser& stuck = Login("127.0.0.3", "Stuck", "super");
    for (int i = 0; i < 10; ++i) stuck.Send("19");
    vorlan::platform::EventLoop::RunUntil([] { return false; }, 1000);
    EXPECT_EQ(Sync(*host), Frames{});
    const vorlan::server::ServerConnection* connection = server.FindConnection(stuck.id);
    ASSERT_NE(connection, nullptr);
    EXPECT_LE(connection->UnsentBytes(), vorlan::server::kBanListLowWater + vorlan::server::kBanRowsPerSlice * 420);
}

TEST_F(Framing, ThousandClientsAtMostAndAFreedSlotTakesTheWaitingOne) {
    std::vector<std::unique_ptr<RawClient>> crowd;
    while (server.ClientCount() < 1000) crowd.push_back(Connect("127.0.0.5"));
    RawClient late;
    ASSERT_TRUE(late.Connect("127.0.0.200", port));
    for (int i = 0; i < 20; ++i) EventLoop::RunOnce(5);
    EXPECT_EQ(server.Connections().size(), 1001u);
    ASSERT_EQ(server.FindConnection(7)->peerAddress, "127.0.0.5");  // the crowd took ids 3 and up
    crowd[7 - 3]->Close();
    EXPECT_TRUE(EventLoop::RunUntil(
        [&] { return server.FindConnection(7) != nullptr && server.FindConnection(7)->peerAddress == "127.0.0.200"; },
        5000));
    EXPECT_EQ(server.ClientCount(), 1000u);
}

// After a flush to many connections the next one waits a few milliseconds;
// nothing may be lost or reordered by that.
TEST_F(Framing, FanOutToManyUsersArrivesWholeAndInOrder) {
    for (int i = 3; i < 3 + 70; ++i) Login("127.0.1." + std::to_string(i), "u" + std::to_string(i));
    Frames expected;
    for (int line = 0; line < 5; ++line) {
        alice->Send("020line " + std::to_string(line));
        Sync(*alice);  // one line per notification, each its own flush
        expected.push_back("042|0line " + std::to_string(line));
    }
    Forget(*alice);
    AllHear(expected[0]);
    for (std::size_t line = 1; line < expected.size(); ++line) AllHear(expected[line]);
}

class ServerTimers : public ServerTest {
protected:
    ServerTimers() : ServerTest(Tuning(20)) {}
};

TEST_F(ServerTimers, KeepaliveReachesEveryConnectionAndTheFloodCheckRuns) {
    auto stranger = Connect("127.0.0.9");
    EXPECT_TRUE(EventLoop::RunUntil([&] { return stranger->ReceivedBytes() >= 2; }, 5000));
    Frames keepalives = stranger->Take();
    EXPECT_EQ(keepalives, Frames(std::max<std::size_t>(keepalives.size(), 2), ""));
    Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.2", "Alice");
    server.FindConnection(alice.id)->messageCount = 21;
    ExpectDropped(alice);  // keepalives before the notice are left aside
}

// Users who are not admins never get a large reply, so a small bound holds them.
class UserBacklog : public ServerTest {
protected:
    UserBacklog() : ServerTest(Tuning(3600 * 1000, 64 * 1024)) {}
};

TEST_F(UserBacklog, NormalUserThatStopsReadingIsDroppedWhileTalkersStay) {
    TestUser& talker = Login("127.0.0.2", "Talker");
    TestUser& stuck = Login("127.0.0.3", "Stuck");
    Frames seen;
    std::size_t mostHeld = 0;  // the server never holds much more than the bound for it
    for (int round = 0; round < 3000 && server.FindConnection(stuck.id) != nullptr; ++round) {
        mostHeld = std::max(mostHeld, server.FindConnection(stuck.id)->UnsentBytes());
        talker.SendRaw(Repeat("020" + std::string(1000, 'z'), 19));
        Frames more = Sync(talker);
        seen.insert(seen.end(), more.begin(), more.end());
    }
    EXPECT_EQ(server.FindConnection(stuck.id), nullptr);
    EXPECT_GT(mostHeld, 32u * 1024u);
    EXPECT_LE(mostHeld, 64u * 1024u + vorlan::server::kOfferChunk + 1100u);
    Frames more = Sync(talker);  // the notice may follow the barrier handled with the last lines
    seen.insert(seen.end(), more.begin(), more.end());
    EXPECT_EQ(seen, Frames{"18" + stuck.Id() + "0"});
    EXPECT_NE(server.FindConnection(talker.id), nullptr);
}

}  // namespace
