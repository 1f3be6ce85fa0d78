#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "RawClient.h"
#include "server/ChatServer.h"

class RecordingObserver : public vorlan::server::ServerObserver {
public:
    void OnServerNotice(std::string_view text) override { notices.emplace_back(text); }
    void OnServerStateChanged(bool running, bool listening) override { states.emplace_back(running, listening); }
    void OnServerPopupRequest(std::string_view text) override { popups.emplace_back(text); }

    Frames notices;
    std::vector<std::pair<bool, bool>> states;
    Frames popups;
};

struct TestUser {
    RawClient client;
    int id = 0;
    std::string Id() const { return std::to_string(id); }
};

// A running server on a free loopback port and raw clients logged in to it. The
// timers run with periods far beyond a test's length; tests that need a flood
// check or keepalive run it themselves or shorten the periods.
class ServerTest : public ::testing::Test {
protected:
    static vorlan::server::ServerTuning QuietTuning();
    explicit ServerTest(vorlan::server::ServerTuning tuning = QuietTuning()) : server(observer, tuning) {}
    void SetUp() override;

    // Connects from `address` and waits until the server holds the connection.
    std::unique_ptr<RawClient> Connect(const std::string& address);
    // Connects and logs in; the others' join notices are taken. The newcomer's
    // burst goes to `burst` when given.
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
