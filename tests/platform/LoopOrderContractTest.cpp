// The order in which the loop serves many busy sockets, its timers and its
// deferred tasks: a burst is handled in full before deferred work runs, nothing
// is lost or reordered per connection, and timers are not starved by traffic.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RecordingSocket.h"

namespace vorlan::test {
namespace {

using platform::AsyncSocket;

// A listener on 127.0.0.1 with `count` connected clients and their accepted ends.
struct ManyPairs {
    RecordingSocket listener;
    std::vector<std::unique_ptr<RecordingSocket>> clients, servers;

    bool Open(int count) {
        listener.onAccept = [this](RecordingSocket& self, int) {
            auto accepted = std::make_unique<RecordingSocket>();
            if (self.Accept(*accepted)) servers.push_back(std::move(accepted));
        };
        if (!listener.Create(0) || !listener.Listen()) return false;
        for (int i = 0; i < count; ++i) {
            clients.push_back(std::make_unique<RecordingSocket>());
            RecordingSocket& client = *clients.back();
            if (!client.Create(0)) return false;
            const bool atOnce = client.Connect("127.0.0.1", listener.LocalPort());
            if (!atOnce && AsyncSocket::LastError() != platform::kWouldBlock) return false;
            // One at a time: the listen backlog is small.
            if (!Until(
                    [&] { return static_cast<int>(servers.size()) == i + 1 && (atOnce || client.connectCount > 0); }))
                return false;
        }
        return true;
    }

    // Waits, without running the loop, until every accepted end has bytes to read.
    bool WaitUntilAllReadable() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
        for (auto& server : servers) {
            std::uint32_t pending = 0;
            while (server->PendingBytes(pending) && pending == 0) {
                if (std::chrono::steady_clock::now() > deadline) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        // Time for the system to queue the notifications too.
        std::this_thread::sleep_for(std::chrono::milliseconds(kQuietMs));
        return true;
    }
};

class CallbackTask : public platform::DeferredTask {
public:
    std::function<void()> onRun;

protected:
    void OnDeferred() override { onRun(); }
};

class CallbackTimers : public platform::TimerOwner {
public:
    std::function<void(int id)> onTimer;

protected:
    void OnTimer(int id) override { onTimer(id); }
};

TEST(LoopOrderContract, DeferredWorkRunsAfterEveryNotificationThatWaitsWhenTheLoopTurns) {
    constexpr int kPairs = 40;
    ManyPairs pairs;
    ASSERT_TRUE(pairs.Open(kPairs));
    RunLoopFor(kQuietMs);  // nothing of the set-up is left waiting

    // Scheduled before the burst, so on Windows its message is queued ahead of
    // the burst's notifications: it still runs only after all of them.
    int readersSeen = -1, runs = 0;
    CallbackTask task;
    task.onRun = [&] {
        ++runs;
        readersSeen = 0;
        for (auto& server : pairs.servers) readersSeen += server->received.empty() ? 0 : 1;
    };
    task.ScheduleDeferred();
    for (int i = 0; i < kPairs; ++i) pairs.clients[static_cast<std::size_t>(i)]->SendAll("line " + std::to_string(i));
    ASSERT_TRUE(pairs.WaitUntilAllReadable());

    ASSERT_TRUE(Until([&] { return runs > 0; }));
    EXPECT_EQ(readersSeen, kPairs) << "deferred work ran while notifications were still waiting";
    for (int i = 0; i < kPairs; ++i) {
        EXPECT_EQ(pairs.servers[static_cast<std::size_t>(i)]->received, "line " + std::to_string(i));
    }
}

TEST(LoopOrderContract, ABurstOnManySocketsArrivesWholeAndInOrderEvenWhenOneClosesMidway) {
    constexpr int kPairs = 40, kChunks = 30;
    ManyPairs pairs;
    ASSERT_TRUE(pairs.Open(kPairs));
    // The first reader closes another connection's end while the burst's
    // notifications wait; the others must not lose or reorder anything.
    RecordingSocket* victim = pairs.servers[1].get();
    bool closedOne = false;
    for (auto& server : pairs.servers) {
        server->onReceive = [&, victim](RecordingSocket& self, int) {
            if (!closedOne && &self != victim) {
                closedOne = true;
                victim->Close();
            }
            self.ReadAvailable();
        };
    }
    std::vector<std::string> expected(kPairs);
    for (int chunk = 0; chunk < kChunks; ++chunk) {
        for (int i = 0; i < kPairs; ++i) {
            const std::string text = std::to_string(i) + ":" + std::to_string(chunk) + ";";
            pairs.clients[static_cast<std::size_t>(i)]->SendAll(text);
            expected[static_cast<std::size_t>(i)] += text;
        }
    }
    ASSERT_TRUE(pairs.WaitUntilAllReadable());
    const auto complete = [&] {
        for (int i = 0; i < kPairs; ++i) {
            auto& server = *pairs.servers[static_cast<std::size_t>(i)];
            if (&server != victim && server.received.size() < expected[static_cast<std::size_t>(i)].size()) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(Until(complete));
    RunLoopFor(kQuietMs);
    EXPECT_TRUE(closedOne);
    for (int i = 0; i < kPairs; ++i) {
        auto& server = *pairs.servers[static_cast<std::size_t>(i)];
        if (&server == victim) continue;
        EXPECT_EQ(server.received, expected[static_cast<std::size_t>(i)]) << "connection " << i;
    }
}

TEST(LoopOrderContract, TimersFireWhileSocketNotificationsKeepComing) {
    constexpr int kPairs = 8, kMaxExchanges = 4000;
    ManyPairs pairs;
    ASSERT_TRUE(pairs.Open(kPairs));
    // Every pair plays ping-pong, so that some notification is always on its
    // way; it stops once the timer fired or after kMaxExchanges in all.
    int exchanges = 0, exchangesAtTimer = -1;
    for (auto& server : pairs.servers) {
        server->onReceive = [](RecordingSocket& self, int) {
            if (self.ReadAvailable() > 0) self.SendAll("p");
        };
    }
    CallbackTimers timers;
    timers.onTimer = [&](int id) {
        exchangesAtTimer = exchanges;
        timers.StopTimer(id);
    };
    for (auto& client : pairs.clients) {
        client->onReceive = [&](RecordingSocket& self, int) {
            if (self.ReadAvailable() == 0) return;
            // Started once the traffic runs, not before it.
            if (++exchanges == 4 * kPairs) timers.StartTimer(1, 20);
            if (exchanges < kMaxExchanges && exchangesAtTimer < 0) self.SendAll("p");
        };
    }
    for (auto& client : pairs.clients) client->SendAll("p");
    ASSERT_TRUE(Until([&] { return exchangesAtTimer >= 0 || exchanges >= kMaxExchanges; }, 4 * kTimeoutMs));
    EXPECT_GE(exchangesAtTimer, 0) << "the timer waited for the traffic to end";
    EXPECT_GT(exchangesAtTimer, 4 * kPairs - 1);
    EXPECT_LT(exchangesAtTimer, kMaxExchanges);
}

TEST(LoopOrderContract, PendingBytesInAReceiveHandlerFollowsWhatWasRead) {
    LoopbackPair pair;
    ASSERT_TRUE(pair.Open());
    std::vector<std::uint32_t> counts;  // before reading, after 4 bytes, after the rest
    pair.server->onReceive = [&](RecordingSocket& self, int) {
        std::uint32_t pending = 0;
        char buffer[64];
        ASSERT_TRUE(self.PendingBytes(pending));
        counts.push_back(pending);
        ASSERT_EQ(self.Receive(buffer, 4), 4);
        ASSERT_TRUE(self.PendingBytes(pending));
        counts.push_back(pending);
        self.ReadAvailable();
        ASSERT_TRUE(self.PendingBytes(pending));
        counts.push_back(pending);
    };
    pair.client.SendAll("0123456789");
    ASSERT_TRUE(Until([&] { return counts.size() >= 3; }));
    EXPECT_EQ(counts, (std::vector<std::uint32_t>{10, 6, 0}));
}

}  // namespace
}  // namespace vorlan::test
