// A crowd that stays inside every limit must not empty the room: bursts from
// many senders, other users' questions, and a demotion with a long backlog.
#include "ServerFixture.h"

#include <algorithm>
#include <map>

#include "platform/EventLoop.h"

namespace {

using vorlan::platform::EventLoop;

// A main-chat text of the full 1000 characters that names its sender and number.
std::string LongLine(int sender, int line) {
    std::string text = "s" + std::to_string(sender) + "n" + std::to_string(line) + ":";
    return text + std::string(1000 - text.size(), 'x');
}

std::vector<vorlan::storage::BanEntry> FullBanList() {
    std::vector<vorlan::storage::BanEntry> bans;
    for (int i = 0; i < 50000; ++i) bans.push_back({i, std::string(200, 'a'), std::string(200, 'd')});
    return bans;
}

class Burst : public ServerTest {};

// Every sender writes its burst before the server runs, so that one pass of the
// loop queues about 1.2 MB for each receiver before anything is offered.
TEST_F(Burst, SixtyFullBurstsReachAReaderThatKeepsReadingWholeAndInOrder) {
    TestUser& reader = Login("127.0.0.2", "Reader");
    std::vector<TestUser*> crowd;
    for (int i = 1; i <= 60; ++i) crowd.push_back(&Login("127.0.3." + std::to_string(i), "c" + std::to_string(i)));
    for (TestUser* sender : crowd) {
        std::string burst;
        for (int line = 0; line < 20; ++line) burst += Wire("020" + LongLine(sender->id, line)) + '\0';
        sender->SendRaw(burst);
    }
    Frames got;
    EventLoop::RunUntil(
        [&] {
            Frames more = reader.Take();
            got.insert(got.end(), more.begin(), more.end());
            return got.size() >= 1200 || reader.IsClosedByPeer();
        },
        30000);
    ASSERT_EQ(got.size(), 1200u);
    std::map<int, int> next;  // sender id -> next line number
    for (const std::string& frame : got) {
        std::size_t sep = frame.find('|');
        ASSERT_NE(sep, std::string::npos) << frame.substr(0, 40);
        int id = std::stoi(frame.substr(2, sep - 2));
        EXPECT_EQ(frame.substr(sep + 1), "0" + LongLine(id, next[id]++));
    }
    EXPECT_EQ(next.size(), 60u);
    EXPECT_EQ(server.ClientCount(), 61u) << "nobody of the crowd was dropped either";
}

class Reflection : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        host = &Login("127.0.0.1", "Host");
        target = &Login("127.0.0.2", "Target");
        askers[0] = &Login("127.0.0.3", "Asker1");
        askers[1] = &Login("127.0.0.4", "Asker2");
    }
    static std::string Profile() { return "|Target|t@example.org|Land|http://t|chat|x|1.1.|pic|Available"; }
    TestUser* host = nullptr;
    TestUser* target = nullptr;
    std::array<TestUser*, 2> askers{};
};

// Two users each ask 11 times (inside their own limits); the target answers all
// 22 at once, as its client does, and stays. Answers nobody asked for count.
TEST_F(Reflection, AnsweringAStormOfQueriesNeverCostsTheTargetItsConnection) {
    for (int i = 0; i < 11; ++i) askers[0]->Send("13" + target->Id()), askers[1]->Send("09" + target->Id());
    Frames queries;
    EventLoop::RunUntil(
        [&] {
            Frames more = target->Take();
            queries.insert(queries.end(), more.begin(), more.end());
            return queries.size() >= 22;
        },
        5000);
    std::sort(queries.begin(), queries.end());
    Frames expected(11, "11" + askers[1]->Id());
    expected.insert(expected.end(), 11, "15" + askers[0]->Id());
    EXPECT_EQ(queries, expected);
    std::string answers;
    for (int i = 0; i < 11; ++i) answers += Wire("14" + askers[0]->Id() + "|1.17") + '\0';
    for (int i = 0; i < 11; ++i) answers += Wire("10" + askers[1]->Id() + Profile()) + '\0';
    target->SendRaw(answers);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(askers[0]->TakeUntil("16" + target->Id() + "|1.17"), Frames{});
    for (int i = 0; i < 11; ++i) EXPECT_EQ(askers[1]->TakeUntil("12" + target->Id() + Profile()), Frames{});
    server.CheckFloods();
    EXPECT_EQ(Sync(*target, *host), Frames{}) << "the target is still there";

    // The queries are settled: the same answers again are the target's own messages.
    std::string unasked;
    for (int i = 0; i < 21; ++i) unasked += Wire("14" + askers[0]->Id() + "|1.17") + '\0';
    target->SendRaw(unasked);
    EXPECT_EQ(askers[0]->TakeUntil("18" + target->Id() + "0"), Frames(20, "16" + target->Id() + "|1.17"));
    EXPECT_TRUE(target->WaitForClose());
}

// A target that does not answer is sent no more than it could owe; its answer
// makes room again. One's own questions are not limited this way.
TEST_F(Reflection, UnansweredQueriesToOneUserAreCappedAndAnAnswerMakesRoom) {
    TestUser& asker = *askers[0];
    for (std::size_t sent = 0; sent < vorlan::server::kMaxAwaitedReplies; sent += 16) {
        for (int i = 0; i < 16; ++i) asker.Send("13" + target->Id());
        Sync(asker);
    }
    for (int i = 0; i < 3; ++i) asker.Send("13" + target->Id());
    Sync(asker);
    Frames got = Sync(*target);
    EXPECT_EQ(got, Frames(vorlan::server::kMaxAwaitedReplies, "15" + asker.Id()));
    target->Send("14" + asker.Id() + "|1.17");
    EXPECT_EQ(asker.TakeUntil("16" + target->Id() + "|1.17"), Frames{});
    asker.Send("09" + target->Id());
    EXPECT_EQ(target->TakeUntil("11" + asker.Id()), Frames{});
}

// An admin still draining a full ban list loses its rights: the announcement
// joins the backlog under the admin bound it was queued behind, only what is
// queued from then on answers to the Normal user's bound, and the rest of the
// list is not sent to a Normal user.
class Demotion : public ServerTest {
protected:
    static constexpr std::size_t kUserBound = 64 * 1024;
    Demotion() : ServerTest(Tuning(3600 * 1000, kUserBound)) {}
    void SetUp() override {
        ServerTest::SetUp();
        server.SetBanList(FullBanList());
        server.SetPasswords({"super", "admin", ""});
        host = &Login("127.0.0.1", "Host");
        super = &Login("127.0.0.2", "Super", "super");
    }
    // `admin` asks for the ban list and reads nothing until the socket refuses far more than a user may leave.
    void StartDraining(TestUser& admin) {
        admin.Send("19");
        EXPECT_TRUE(EventLoop::RunUntil(
            [&] { return server.FindConnection(admin.id)->UnsentBytes() > 4 * kUserBound; }, 20000));
    }
    TestUser* host = nullptr;
    TestUser* super = nullptr;
};

TEST_F(Demotion, AdminDrainingALongBacklogStaysConnectedAndLosesOnlyItsRights) {
    TestUser& admin = Login("127.0.0.3", "Admin", "admin");
    StartDraining(admin);
    Forget(admin);
    super->Send("07" + admin.Id());
    AllHear("09" + admin.Id());
    ASSERT_NE(server.FindConnection(admin.id), nullptr);
    EXPECT_EQ(server.FindConnection(admin.id)->level, vorlan::server::kNormalUser);

    // What was queued before the demotion arrives whole; no row follows it.
    Frames rows = admin.TakeUntil("09" + admin.Id(), 60000);
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(rows.size(), 50000u);
    EXPECT_EQ(rows.front(), "2010|" + std::string(200, 'a') + "|" + std::string(200, 'd'));
    EXPECT_EQ(rows.back(), "200" + std::to_string(rows.size() - 1) + "|" + std::string(200, 'a') + "|" +
                               std::string(200, 'd'));
    admin.Send("18");
    EXPECT_EQ(Sync(admin), Frames{}) << "a Normal user gets no connection list";
}

TEST_F(Demotion, WhatIsQueuedAfterTheDemotionAnswersToTheUsersBound) {
    TestUser& admin = Login("127.0.0.3", "Admin", "admin");
    TestUser& talker = Login("127.0.0.4", "Talker");
    StartDraining(admin);
    super->Send("07" + admin.Id());
    Forget(admin);
    AllHear("09" + admin.Id());
    std::string lines;
    for (int i = 0; i < 19; ++i) lines += Wire("020" + LongLine(talker.id, i)) + '\0';
    int rounds = 0;
    for (; rounds < 100 && server.FindConnection(admin.id) != nullptr; ++rounds) {
        talker.SendRaw(lines);
        Sync(talker);
    }
    EXPECT_EQ(server.FindConnection(admin.id), nullptr);
    EXPECT_GE(rounds * 19 * 1000, static_cast<int>(kUserBound)) << "dropped only once a user's bound was refused";
}

}  // namespace
