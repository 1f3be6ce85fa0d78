#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "server/ChatServer.h"

// Messages as tests write them: SEP shown as '|', which no test text uses, so
// that expected wire bytes read as plain strings.
using Frames = std::vector<std::string>;
inline std::string Replaced(std::string text, char from, char to) {
    return std::replace(text.begin(), text.end(), from, to), text;
}
inline std::string Wire(std::string_view shown) { return Replaced(std::string(shown), '|', '\xAC'); }
inline std::string Shown(std::string_view wire) { return Replaced(std::string(wire), '\xAC', '|'); }

// A chat client at the byte level: a plain non-blocking socket bound to a chosen
// loopback address, so that 127.0.0.1 is the host and 127.0.0.2 and up are
// ordinary users. Waiting runs the program's event loop, so the server under
// test makes progress in the same thread.
class RawClient {
public:
    ~RawClient() { Close(); }

    // Connects from `bindAddress` to 127.0.0.1:`port`; true once the connect is under way.
    bool Connect(const std::string& bindAddress, std::uint16_t port);
    // Writes every byte, running the loop while the socket is full.
    void SendRaw(std::string_view bytes);
    // Sends Wire(`shown`) and its zero byte.
    void Send(std::string_view shown) { SendRaw(Wire(shown) + '\0'); }
    void Send(std::initializer_list<std::string> shown) {
        for (const std::string& message : shown) Send(message);
    }
    void Close();
    // Ends the connection with a reset, as a broken connection would.
    void CloseWithReset();

    bool IsClosedByPeer() const { return peerClosed_; }
    std::size_t ReceivedBytes() {
        Pump();
        return totalReceived_;
    }
    // Complete messages received and not yet taken, shown.
    Frames Take();
    // Waits for the message `frame` (shown); returns (and takes) the messages
    // before it. Adds a failure when it does not come.
    Frames TakeUntil(const std::string& frame, int timeoutMs = 5000);
    bool WaitForClose(int timeoutMs = 5000);

private:
    void Pump();

    int fd_ = -1;
    std::string inbox_;
    std::size_t totalReceived_ = 0;
    bool peerClosed_ = false;
};

class RecordingObserver : public vorlan::server::ServerObserver {
public:
    void OnServerNotice(std::string_view text) override { notices.emplace_back(text); }
    void OnServerStateChanged(bool running, bool listening) override { states.emplace_back(running, listening); }
    void OnServerPopupRequest(std::string_view text) override { popups.emplace_back(text); }

    Frames notices;
    std::vector<std::pair<bool, bool>> states;
    Frames popups;
};

struct TestUser : RawClient {
    int id = 0;
    std::string Id() const { return std::to_string(id); }
};

// A running server on a free loopback port and raw clients logged in to it. The
// timers run with periods far beyond a test's length; tests that need a flood
// check or keepalive run it themselves or shorten the periods.
class ServerTest : public ::testing::Test {
protected:
    static vorlan::server::ServerTuning Tuning(std::uint32_t timerPeriodMs = 3600 * 1000,
                                               std::size_t userBacklog = 1 << 20) {
        vorlan::server::ServerTuning tuning;
        tuning.keepalivePeriodMs = tuning.floodCheckPeriodMs = timerPeriodMs;
        tuning.userSendBacklogLimit = userBacklog;
        return tuning;
    }
    explicit ServerTest(vorlan::server::ServerTuning tuning = Tuning()) : server(observer, tuning) {}
    void SetUp() override;

    // Connects from `address` and waits until the server holds the connection.
    void Accept(RawClient& client, const std::string& address);
    std::unique_ptr<RawClient> Connect(const std::string& address);
    // Connects and logs in; the others' join notices are taken. What the
    // newcomer received goes to `burst` when given.
    TestUser& Login(const std::string& address, const std::string& name, const std::string& password = "",
                    Frames* burst = nullptr);
    // `to` receives a version query from `from`: returns what `to` got before it,
    // so nothing `from` caused earlier can still be on its way.
    Frames Sync(TestUser& from, TestUser& to);
    Frames Sync(TestUser& user) { return Sync(user, user); }
    // `user` is closed, and every other user hears `notice` (by default the one
    // for a fault) before anything else.
    void ExpectDropped(TestUser& user, std::string notice = "");
    // Every user hears `frame` next, leaving keepalives aside.
    void AllHear(const std::string& frame);
    // Stops expecting notices for a user whose connection is gone.
    void Forget(TestUser& user);

    RecordingObserver observer;
    vorlan::server::ChatServer server;
    std::uint16_t port = 0;
    std::vector<std::unique_ptr<TestUser>> users;
    std::vector<std::unique_ptr<TestUser>> forgotten;  // callers may still hold references
};

// Host (id 1), Super (2, super admin), Admin (3, normal admin), Alice (4) and Bob (5).
class ChatRoom : public ServerTest {
protected:
    void SetUp() override;
    TestUser *host = nullptr, *super = nullptr, *admin = nullptr, *alice = nullptr, *bob = nullptr;
};
