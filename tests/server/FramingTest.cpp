// Framing, floods and limits: split messages, keepalives, the per-notification
// and per-period counts, the kept tail, unknown codes, over-long ids, a client
// that stops reading, and the client limit.
#include "ServerFixture.h"

#include "platform/EventLoop.h"

namespace {

using Frames = std::vector<std::string>;
using vorlan::platform::EventLoop;
using vorlan::server::ServerConnection;

std::string Repeat(const std::string& frame, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += frame + std::string(1, '\0');
    return out;
}

class FramingTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        host = &Login("127.0.0.1", "Host");
        alice = &Login("127.0.0.2", "Alice");
    }
    TestUser* host = nullptr;
    TestUser* alice = nullptr;
};

TEST_F(FramingTest, MessagesSplitAcrossSegmentsAreJoined) {
    std::string line1 = "020one";
    std::string line2 = "020two";
    alice->client->SendRaw(line1 + std::string(1, '\0') + line2 + std::string(1, '\0') + "020thr");
    EXPECT_TRUE(host->client->WaitForFrames(2));
    alice->client->SendRaw(std::string("ee\0", 3));
    EXPECT_EQ(Sync(*alice, *host), (Frames{"04" + alice->Id() + SEP + "0one", "04" + alice->Id() + SEP + "0two",
                                           "04" + alice->Id() + SEP + "0three"}));
}

TEST_F(FramingTest, KeepalivesProduceNothing) {
    alice->client->SendRaw(std::string(5, '\0'));
    EXPECT_EQ(Sync(*alice, *host), Frames{});
    EXPECT_EQ(Sync(*alice), Frames{});
}

TEST_F(FramingTest, TwentyOneMessagesInOneSegmentHandleTwentyThenDrop) {
    alice->client->SendRaw(Repeat("020x", 21));
    Frames received = host->client->TakeUntil("18" + alice->Id() + "0");
    EXPECT_EQ(received, Frames(20, "04" + alice->Id() + SEP + "0x"));
    WaitDropped(*alice);
}

TEST_F(FramingTest, TwentyOneKeepalivesInOneSegmentDrop) {
    alice->client->SendRaw(std::string(21, '\0'));
    WaitDropped(*alice);
    EXPECT_EQ(host->client->TakeUntil("18" + alice->Id() + "0"), Frames{});
}

TEST_F(FramingTest, TwentyMessagesInOneSegmentAreFine) {
    alice->client->SendRaw(Repeat("020x", 19));
    EXPECT_EQ(Sync(*alice, *host), Frames(19, "04" + alice->Id() + SEP + "0x"));
}

TEST_F(FramingTest, FloodCheckDropsMoreThanTwentyMessagesPerPeriod) {
    TestUser& bob = Login("127.0.0.3", "Bob");
    // Eleven per segment, each segment waited for, so that no single
    // notification passes twenty.
    alice->client->SendRaw(std::string(10, '\0'));
    Sync(*alice);
    bob.client->SendRaw(std::string(9, '\0'));
    Sync(bob);
    alice->client->SendRaw(std::string(9, '\0'));
    Sync(*alice);  // 22 messages, her log-in included
    bob.client->SendRaw(std::string(8, '\0'));
    Sync(bob);     // 20 messages, his log-in included
    server.CheckFloods();
    WaitDropped(*alice);
    EXPECT_EQ(host->client->TakeUntil("18" + alice->Id() + "0"), Frames{});
    // Counts start again after each check.
    bob.client->SendRaw(std::string(9, '\0'));
    Sync(bob);
    server.CheckFloods();
    EXPECT_EQ(Sync(bob, *host), Frames{});
}

TEST_F(FramingTest, FloodingConnectionThatIsNotLoggedInIsDroppedSilently) {
    auto stranger = Connect("127.0.0.9");
    stranger->SendRaw(std::string(15, '\0'));
    EXPECT_TRUE(EventLoop::RunUntil([&] { return server.Connections().back()->messageCount == 15; }, 5000));
    stranger->SendRaw(std::string(15, '\0'));
    EXPECT_TRUE(EventLoop::RunUntil([&] { return server.Connections().back()->messageCount == 30; }, 5000));
    server.CheckFloods();
    EXPECT_TRUE(stranger->WaitForClose());
    EXPECT_EQ(Sync(*host), Frames{});
}

TEST_F(FramingTest, KeptTailOf2000BytesIsAllowedAnd2001Drops) {
    std::string text = "020" + std::string(1997, 'y');  // 2000 bytes without the zero byte
    alice->client->SendRaw(text);
    EXPECT_TRUE(EventLoop::RunUntil([&] { return server.FindConnection(alice->id)->pendingInput.Tail().size() == 2000; }, 5000));
    alice->client->SendRaw(std::string(1, '\0'));
    EXPECT_EQ(Sync(*alice, *host), Frames{"04" + alice->Id() + SEP + "0" + std::string(1000, 'y')});

    alice->client->SendRaw(text + "y");
    WaitDropped(*alice);
    EXPECT_EQ(host->client->TakeUntil("18" + alice->Id() + "0"), Frames{});
}

TEST_F(FramingTest, UnknownCodesDropTheSender) {
    for (const std::string bad : {"21", "99", "x0", "0", "-1"}) {
        TestUser& user = Login("127.0.0.3", "Bob");
        user.client->SendMessage(bad);
        WaitDropped(user);
        EXPECT_EQ(host->client->TakeUntil("18" + user.Id() + "0"), Frames{}) << bad;
        alice->client->TakeUntil("18" + user.Id() + "0");
    }
}

TEST_F(FramingTest, OverLongIdsNeverWrapIntoAValidId) {
    // 2^32 + 2 and 2^64 + 2 would wrap to user 2 in a fixed-width conversion.
    alice->client->SendMessage("134294967298");
    alice->client->SendMessage("1318446744073709551618");
    alice->client->SendMessage("11" + std::string(400, '9') + "2" + SEP + "0hi");
    EXPECT_EQ(Sync(*alice, *alice), Frames{});
    EXPECT_EQ(Sync(*host, *alice), Frames{});
}

TEST_F(FramingTest, ClientThatStopsReadingIsDroppedOnceItsBacklogPassesTheBound) {
    // A reader that never reads: the kernel's buffers fill, then the server's.
    std::vector<vorlan::storage::BanEntry> bans;
    for (int i = 0; i < 50000; ++i) bans.push_back({i, std::string(200, 'a'), std::string(200, 'd')});
    server.SetBanList(bans);
    server.SetPasswords({"super", "", ""});
    TestUser& stuck = Login("127.0.0.3", "Stuck", "super");
    // Three full lists are more than the kernel's buffers and the bound together.
    for (int i = 0; i < 3; ++i) stuck.client->SendMessage("19");
    EXPECT_EQ(host->client->TakeUntil("18" + stuck.Id() + "0", 20000), Frames{});
    EXPECT_EQ(server.FindConnection(stuck.id), nullptr);
}

TEST_F(FramingTest, ThousandClientsAtMostAndAFreedSlotTakesTheWaitingOne) {
    std::vector<std::unique_ptr<RawClient>> crowd;
    while (server.ClientCount() < 1000) crowd.push_back(Connect("127.0.0.5"));
    RawClient late;
    ASSERT_TRUE(late.Connect("127.0.0.200", port));
    for (int i = 0; i < 20; ++i) EventLoop::RunOnce(5);
    EXPECT_EQ(server.ClientCount(), 1000u);
    EXPECT_EQ(server.Connections().size(), 1001u);

    // The crowd took ids 3 and up in order of arrival, after the host and Alice.
    ServerConnection* seventh = server.FindConnection(7);
    ASSERT_NE(seventh, nullptr);
    EXPECT_EQ(seventh->peerAddress, "127.0.0.5");
    crowd[7 - 3]->Close();
    EXPECT_TRUE(EventLoop::RunUntil(
        [&] {
            ServerConnection* taken = server.FindConnection(7);
            return taken != nullptr && taken->peerAddress == "127.0.0.200";
        },
        5000));
    EXPECT_EQ(server.ClientCount(), 1000u);
}

}  // namespace

// The timers themselves, with short periods.
class ServerTimerTest : public ServerTest {
protected:
    static vorlan::server::ServerTuning ShortPeriods() {
        vorlan::server::ServerTuning tuning;
        tuning.keepalivePeriodMs = 20;
        tuning.floodCheckPeriodMs = 20;
        return tuning;
    }
    ServerTimerTest() : ServerTest(ShortPeriods()) {}
};

TEST_F(ServerTimerTest, KeepaliveReachesEveryConnectionAndTheFloodCheckRuns) {
    auto stranger = Connect("127.0.0.9");
    EXPECT_TRUE(EventLoop::RunUntil(
        [&] {
            stranger->Pump();
            return stranger->ReceivedBytes() >= 2;
        },
        5000));
    Frames keepalives = stranger->TakeFrames();
    EXPECT_GE(keepalives.size(), 2u);
    for (const auto& frame : keepalives) EXPECT_EQ(frame, "");

    TestUser& host = Login("127.0.0.1", "Host");
    TestUser& alice = Login("127.0.0.2", "Alice");
    server.FindConnection(alice.id)->messageCount = 21;
    WaitDropped(alice);
    Frames seen = host.client->TakeUntil("18" + alice.Id() + "0");
    for (const auto& frame : seen) EXPECT_EQ(frame, "");
}

// Users who are not admins never get a large reply, so a small bound holds them.
class UserBacklogTest : public ServerTest {
protected:
    static vorlan::server::ServerTuning SmallUserBacklog() {
        vorlan::server::ServerTuning tuning = QuietTuning();
        tuning.userSendBacklogLimit = 64 * 1024;
        return tuning;
    }
    UserBacklogTest() : ServerTest(SmallUserBacklog()) {}
};

TEST_F(UserBacklogTest, NormalUserThatStopsReadingIsDroppedWhileTalkersStay) {
    TestUser& talker = Login("127.0.0.2", "Talker");
    TestUser& stuck = Login("127.0.0.3", "Stuck");
    std::string lines = Repeat("020" + std::string(1000, 'z'), 19);
    Frames seen;
    auto collect = [&] {
        Frames more = Sync(talker);
        seen.insert(seen.end(), more.begin(), more.end());
    };
    for (int round = 0; round < 3000 && server.FindConnection(stuck.id) != nullptr; ++round) {
        talker.client->SendRaw(lines);
        collect();
    }
    EXPECT_EQ(server.FindConnection(stuck.id), nullptr);
    collect();  // the notice may follow the barrier that was handled with the last lines
    EXPECT_EQ(seen, Frames{"18" + stuck.Id() + "0"});
    EXPECT_NE(server.FindConnection(talker.id), nullptr);
}

// After a flush to many connections the next one waits a few milliseconds;
// nothing may be lost or reordered by that.
TEST_F(FramingTest, FanOutToManyUsersArrivesWholeAndInOrder) {
    for (int i = 3; i < 3 + 70; ++i) Login("127.0.1." + std::to_string(i), "u" + std::to_string(i));
    Frames expected;
    for (int line = 0; line < 5; ++line) {
        std::string text = "020line " + std::to_string(line);
        alice->client->SendMessage(text);
        Sync(*alice);  // one line per notification, each its own flush
        expected.push_back("04" + alice->Id() + SEP + "0line " + std::to_string(line));
    }
    for (auto& user : users) {
        if (user.get() == alice) continue;
        EXPECT_EQ(user->client->TakeUntil(expected.back()), Frames(expected.begin(), expected.end() - 1));
    }
}
