#include "ServerFixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/EventLoop.h"

using vorlan::platform::EventLoop;

bool RawClient::Connect(const std::string& bindAddress, std::uint16_t port) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, bindAddress.c_str(), &address.sin_addr);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    address.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    return connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 || errno == EINPROGRESS;
}

void RawClient::SendRaw(std::string_view bytes) {
    while (!bytes.empty() && fd_ >= 0) {
        ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (errno == EAGAIN || errno == EINPROGRESS || errno == ENOTCONN) {
            EventLoop::RunOnce(10);
        } else {
            ADD_FAILURE() << "send failed: " << errno;
            return;
        }
    }
}

void RawClient::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void RawClient::CloseWithReset() {
    linger abort{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    Close();
}

void RawClient::Pump() {
    char buffer[65536];
    while (fd_ >= 0 && !peerClosed_) {
        ssize_t got = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (got <= 0) peerClosed_ = true;
        if (got > 0)
            inbox_.append(buffer, static_cast<std::size_t>(got)), totalReceived_ += static_cast<std::size_t>(got);
    }
}

namespace {
// The complete messages in `bytes`, shown.
Frames Split(std::string_view bytes) {
    Frames frames;
    for (std::size_t start = 0, zero; (zero = bytes.find('\0', start)) != std::string_view::npos; start = zero + 1) {
        frames.push_back(Shown(bytes.substr(start, zero - start)));
    }
    return frames;
}
}  // namespace

Frames RawClient::Take() {
    Pump();
    Frames frames = Split(inbox_);
    inbox_.erase(0, inbox_.rfind('\0') + 1);
    return frames;
}

Frames RawClient::TakeUntil(const std::string& frame, int timeoutMs) {
    const std::string wanted = Wire(frame) + '\0';
    std::size_t found = std::string::npos;
    auto arrived = [&] {
        Pump();
        for (std::size_t start = 0;;) {
            if (inbox_.compare(start, wanted.size(), wanted) == 0) return (found = start), true;
            std::size_t zero = inbox_.find('\0', start);
            if (zero == std::string::npos) return peerClosed_;
            start = zero + 1;
        }
    };
    if (!EventLoop::RunUntil(arrived, timeoutMs) || found == std::string::npos) {
        ADD_FAILURE() << "message did not arrive: " << frame;
        return Take();
    }
    Frames before = Split(std::string_view(inbox_).substr(0, found));
    inbox_.erase(0, found + wanted.size());
    return before;
}

bool RawClient::WaitForClose(int timeoutMs) {
    return EventLoop::RunUntil(
        [&] {
            Pump();
            return peerClosed_;
        },
        timeoutMs);
}

void ServerTest::SetUp() {
    server.SetChatPort(0);
    ASSERT_TRUE(server.StartServer());
    port = server.ListeningPort();
    ASSERT_NE(port, 0);
}

void ServerTest::Accept(RawClient& client, const std::string& address) {
    std::size_t before = server.ClientCount();
    EXPECT_TRUE(client.Connect(address, port));
    EXPECT_TRUE(EventLoop::RunUntil([&] { return server.ClientCount() > before; }, 5000))
        << "not accepted: " << address;
}

std::unique_ptr<RawClient> ServerTest::Connect(const std::string& address) {
    auto client = std::make_unique<RawClient>();
    Accept(*client, address);
    return client;
}

TestUser& ServerTest::Login(const std::string& address, const std::string& name, const std::string& password,
                            Frames* burst) {
    auto user = std::make_unique<TestUser>();
    Accept(*user, address);
    user->id = server.Connections().back()->connectionId;
    user->SendRaw(Wire("00" + name + "|" + password) + '\0');
    Frames got = Sync(*user);  // the burst comes before the answer to this query
    if (burst != nullptr) *burst = got;
    const vorlan::server::ServerConnection* record = server.FindConnection(user->id);
    EXPECT_TRUE(record != nullptr && record->IsLoggedIn()) << "log-in failed: " << name;
    if (record != nullptr) AllHear("01" + user->Id() + "|" + std::to_string(record->level) + record->name);
    return *users.emplace_back(std::move(user));
}

Frames ServerTest::Sync(TestUser& from, TestUser& to) {
    from.Send("13" + to.Id());
    return to.TakeUntil("15" + from.Id());
}

void ServerTest::ExpectDropped(TestUser& user, std::string notice) {
    EXPECT_TRUE(user.WaitForClose()) << "user " << user.id << " was not dropped";
    Forget(user);
    AllHear(notice.empty() ? "18" + user.Id() + "0" : notice);
}

void ServerTest::AllHear(const std::string& frame) {
    for (auto& user : users) {
        Frames before = user->TakeUntil(frame);
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
