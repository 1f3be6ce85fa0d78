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
                            Frames* burst) {
    auto user = std::make_unique<TestUser>();
    std::size_t before = server.ClientCount();
    EXPECT_TRUE(user->client.Connect(address, port));
    EXPECT_TRUE(EventLoop::RunUntil([&] { return server.ClientCount() > before; }, 5000)) << "not accepted: " << address;
    user->id = server.Connections().back()->connectionId;
    user->client.SendRaw(Wire(name + "|" + password).insert(0, "00") + '\0');
    const bool topic = !server.Topic().empty();  // the user list's block, then the topic
    EXPECT_TRUE(EventLoop::RunUntil(
        [&] {
            Frames got = user->client.Peek();
            bool own = std::any_of(got.begin(), got.end(), [](const std::string& f) { return f.ends_with("|Available1"); });
            return user->client.IsClosedByPeer() || (own && (!topic || got.back().starts_with("030")));
        },
        5000));
    EXPECT_FALSE(user->client.IsClosedByPeer()) << "log-in failed: " << name;
    Frames frames = user->client.Take();
    if (burst != nullptr) *burst = frames;
    const vorlan::server::ServerConnection* record = server.FindConnection(user->id);
    if (record == nullptr) return *users.emplace_back(std::move(user));
    for (auto& other : users) {
        Frames before = other->client.TakeUntil("01" + user->Id() + "|" + std::to_string(record->level) + record->name);
        EXPECT_EQ(before, Frames{}) << "before " << name << " joined";
    }
    return *users.emplace_back(std::move(user));
}

Frames ServerTest::Sync(TestUser& from, TestUser& to) {
    from.client.Send("13" + to.Id());
    return to.client.TakeUntil("15" + from.Id());
}

void ServerTest::ExpectDropped(TestUser& user, std::string notice) {
    EXPECT_TRUE(user.client.WaitForClose()) << "user " << user.id << " was not dropped";
    Forget(user);
    AllHear(notice.empty() ? "18" + user.Id() + "0" : notice);
}

void ServerTest::AllHear(const std::string& frame) {
    for (auto& user : users) {
        Frames before = user->client.TakeUntil(frame);
        std::erase(before, "");
        EXPECT_EQ(before, Frames{}) << "user " << user->id << " before " << frame;
    }
}

void ServerTest::Forget(TestUser& user) {
    auto found = std::find_if(users.begin(), users.end(), [&](const auto& u) { return u.get() == &user; });
    if (found == users.end()) return;
    forgotten.push_back(std::move(*found));
    users.erase(found);
}

void ChatRoom::SetUp() {
    ServerTest::SetUp();
    server.SetPasswords({"super", "admin", ""});
    host = &Login("127.0.0.1", "Host");
    super = &Login("127.0.0.2", "Super", "super");
    admin = &Login("127.0.0.3", "Admin", "admin");
    alice = &Login("127.0.0.4", "Alice");
    bob = &Login("127.0.0.5", "Bob");
}
