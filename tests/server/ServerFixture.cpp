#include "ServerFixture.h"

#include <algorithm>

#include "platform/EventLoop.h"

using vorlan::platform::EventLoop;

vorlan::server::ServerTuning ServerTest::QuietTuning() {
    vorlan::server::ServerTuning tuning;
    tuning.keepalivePeriodMs = 3600 * 1000;
    tuning.floodCheckPeriodMs = 3600 * 1000;
    return tuning;
}

void ServerTest::SetUp() {
    server.SetChatPort(0);
    ASSERT_TRUE(server.StartServer());
    port = server.ListeningPort();
    ASSERT_NE(port, 0);
}

std::unique_ptr<RawClient> ServerTest::Connect(const std::string& address) {
    auto client = std::make_unique<RawClient>();
    std::size_t before = server.ClientCount();
    EXPECT_TRUE(client->Connect(address, port));
    EXPECT_TRUE(EventLoop::RunUntil([&] { return server.ClientCount() > before; }, 5000)) << "not accepted: " << address;
    return client;
}

TestUser& ServerTest::Login(const std::string& address, const std::string& name, const std::string& password,
                            std::vector<std::string>* burst) {
    auto user = std::make_unique<TestUser>();
    user->client = Connect(address);
    user->id = server.Connections().back()->connectionId;
    user->client->SendMessage("00" + name + SEP + password);
    bool ownEntry = EventLoop::RunUntil(
        [&] {
            user->client->Pump();
            auto frames = user->client->Frames();
            return std::any_of(frames.begin(), frames.end(), [](const std::string& f) {
                return f.starts_with("00") && f.ends_with("1");
            }) || user->client->IsClosedByPeer();
        },
        5000);
    EXPECT_TRUE(ownEntry && !user->client->IsClosedByPeer()) << "log-in failed: " << name;
    if (!server.Topic().empty()) user->client->WaitForFrames(2);
    std::vector<std::string> frames = user->client->TakeFrames();
    if (burst != nullptr) *burst = frames;
    for (auto& other : users) {
        std::vector<std::string> join = other->client->TakeUntil("01" + user->Id() + SEP +
                                                                  std::to_string(server.FindConnection(user->id)->level) +
                                                                  server.FindConnection(user->id)->name);
        join.erase(std::remove(join.begin(), join.end(), std::string()), join.end());  // keepalives
        EXPECT_TRUE(join.empty());
    }
    users.push_back(std::move(user));
    return *users.back();
}

std::vector<std::string> ServerTest::Sync(TestUser& from, TestUser& to) {
    from.client->SendMessage("13" + to.Id());
    return to.client->TakeUntil("15" + from.Id());
}

std::vector<std::string> ServerTest::WaitDropped(TestUser& user) {
    EXPECT_TRUE(user.client->WaitForClose()) << "user " << user.id << " was not dropped";
    std::vector<std::string> frames = user.client->TakeFrames();
    Forget(user);
    return frames;
}

void ServerTest::Forget(TestUser& user) {
    auto found = std::find_if(users.begin(), users.end(), [&](const auto& u) { return u.get() == &user; });
    if (found == users.end()) return;
    // Kept alive until the test ends: callers may still hold the reference.
    std::rotate(found, found + 1, users.end());
    forgotten_.push_back(std::move(users.back()));
    users.pop_back();
}
