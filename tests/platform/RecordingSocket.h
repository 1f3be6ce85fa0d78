#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/AsyncSocket.h"
#include "platform/EventLoop.h"
#include "support/RunLoop.h"

namespace vorlan::test {

inline constexpr int kTimeoutMs = 5000;
inline constexpr int kQuietMs = 100;  // how long "nothing more happens" is watched

inline bool Until(const std::function<bool()>& done, int timeoutMs = kTimeoutMs) {
    return platform::EventLoop::RunUntil(done, timeoutMs);
}

// A socket that counts its notifications and, unless a test hooks a
// notification, reads everything that arrives into `received`.
class RecordingSocket : public platform::AsyncSocket {
public:
    using Handler = std::function<void(RecordingSocket&, int error)>;
    Handler onReceive, onSend, onConnect, onAccept, onClose;
    int receiveCount = 0, sendCount = 0, connectCount = 0, acceptCount = 0, closeCount = 0;
    int connectError = -1, closeError = -1;
    std::string received;

    // Receives until nothing more waits; returns the bytes read.
    int ReadAvailable() {
        char buffer[65536];
        int total = 0;
        for (int count; (count = Receive(buffer, sizeof buffer)) > 0; total += count) {
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return total;
    }
    void SendAll(const std::string& data) {
        ASSERT_EQ(Send(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size())) << LastError();
    }
    // Starts a connect; false (and a test failure) for anything but success or "would block".
    bool StartConnect(const std::string& host, std::uint16_t port) {
        if (Connect(host, port)) return true;
        EXPECT_EQ(LastError(), platform::kWouldBlock) << host << ":" << port;
        return LastError() == platform::kWouldBlock;
    }

protected:
    // A hook is copied first: it may destroy this socket and the hook with it.
    static void Call(Handler hook, RecordingSocket& socket, int error) { hook(socket, error); }
    void OnReceive(int error) override {
        ++receiveCount;
        onReceive ? Call(onReceive, *this, error) : void(ReadAvailable());
    }
    void OnSend(int error) override {
        ++sendCount;
        if (onSend) Call(onSend, *this, error);
    }
    void OnConnect(int error) override {
        ++connectCount, connectError = error;
        if (onConnect) Call(onConnect, *this, error);
    }
    void OnAccept(int error) override {
        ++acceptCount;
        if (onAccept) Call(onAccept, *this, error);
    }
    void OnClose(int error) override {
        ++closeCount, closeError = error;
        // Data still waiting when the close is reported belongs to the stream.
        onClose ? Call(onClose, *this, error) : void(ReadAvailable());
    }
};

// A listener on 127.0.0.1 that accepts into `server`, and a connected client.
struct LoopbackPair {
    RecordingSocket listener, client;
    std::unique_ptr<RecordingSocket> server;

    // Listens on any port and connects the client (bound to `clientAddress` when given).
    bool Open(const std::string& clientAddress = {}) {
        listener.onAccept = [this](RecordingSocket& self, int) {
            auto accepted = std::make_unique<RecordingSocket>();
            if (self.Accept(*accepted)) server = std::move(accepted);
        };
        if (!listener.Create(0) || !listener.Listen() || !client.Create(0, platform::kEventAll, clientAddress)) {
            ADD_FAILURE() << "listen or create failed: " << platform::AsyncSocket::LastError();
            return false;
        }
        const bool atOnce = client.Connect("127.0.0.1", Port());
        if (!atOnce && platform::AsyncSocket::LastError() != platform::kWouldBlock) {
            ADD_FAILURE() << "connect failed: " << platform::AsyncSocket::LastError();
            return false;
        }
        EXPECT_TRUE(Until([&] { return (atOnce || client.connectCount > 0) && server != nullptr; }))
            << client.connectCount;
        return server != nullptr && (atOnce || client.connectError == 0);
    }
    std::uint16_t Port() const { return listener.LocalPort(); }
};

}  // namespace vorlan::test
