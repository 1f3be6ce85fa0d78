#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "RawClient.h"
#include "server/ChatServer.h"

// The field separator, to write expected messages as plain byte strings.
inline const std::string SEP = "\xAC";

class RecordingObserver : public vorlan::server::ServerObserver {
public:
    void OnServerNotice(std::string_view text) override { notices.emplace_back(text); }
    void OnServerStateChanged(bool running, bool listening) override { states.emplace_back(running, listening); }
    void OnServerPopupRequest(std::string_view text) override { popups.emplace_back(text); }

    std::vector<std::string> notices;
    std::vector<std::pair<bool, bool>> states;
    std::vector<std::string> popups;
};

struct TestUser {
    std::unique_ptr<RawClient> client;
    int id = 0;
    std::string Id() const { return std::to_string(id); }
};

// A running server on a free loopback port and helpers that connect raw clients
// to it. The timers run with periods far beyond a test's length; tests that need
// a flood check or keepalive run it themselves, or use the timer test's tuning.
class ServerTest : public ::testing::Test {
protected:
    static vorlan::server::ServerTuning QuietTuning();

    explicit ServerTest(vorlan::server::ServerTuning tuning = QuietTuning()) : server(observer, tuning) {}

    void SetUp() override;

    // Connects from `address` and waits until the server holds the connection.
    std::unique_ptr<RawClient> Connect(const std::string& address);
    // Connects and logs in; the others' join notices are consumed. The burst the
    // newcomer received is stored in `burst` when given.
    TestUser& Login(const std::string& address, const std::string& name, const std::string& password = "",
                    std::vector<std::string>* burst = nullptr);
    // `to` receives a version query from `from`: everything `to` got before it is
    // returned, and nothing `from` caused earlier can still be on its way.
    std::vector<std::string> Sync(TestUser& from, TestUser& to);
    std::vector<std::string> Sync(TestUser& user) { return Sync(user, user); }
    // Waits until `user` is disconnected; returns what it received before.
    std::vector<std::string> WaitDropped(TestUser& user);
    // Forgets a user whose connection is gone, so Login stops expecting its notices.
    void Forget(TestUser& user);

    RecordingObserver observer;
    vorlan::server::ChatServer server;
    std::uint16_t port = 0;
    std::vector<std::unique_ptr<TestUser>> users;

private:
    std::vector<std::unique_ptr<TestUser>> forgotten_;
};
