// Early checks of the Windows backend until the shared platform suite lands.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/AsyncSocket.h"
#include "platform/EventLoop.h"
#include "platform/Files.h"

using namespace vorlan::platform;

namespace {

class Peer : public AsyncSocket {
public:
    std::string received;
    int closedWith = -1;
    int connectedWith = -1;
    std::unique_ptr<Peer> accepted;

protected:
    void OnReceive(int) override {
        char buffer[256];
        const int n = Receive(buffer, sizeof buffer);
        if (n > 0) received.append(buffer, n);
    }
    void OnConnect(int error) override { connectedWith = error; }
    void OnClose(int error) override { closedWith = error; }
    void OnAccept(int) override {
        accepted = std::make_unique<Peer>();
        Accept(*accepted);
    }
};

class Ticker : public TimerOwner {
public:
    int ticks = 0;

protected:
    void OnTimer(int) override {
        if (++ticks == 3) StopTimer(1);
    }
};

TEST(Win32Smoke, LoopbackRoundTripAndOrderlyClose) {
    Peer listener;
    ASSERT_TRUE(listener.Create(0, kEventAll, "127.0.0.1"));
    ASSERT_TRUE(listener.Listen());
    Peer client;
    ASSERT_TRUE(client.Create());
    EXPECT_FALSE(client.Connect("127.0.0.1", listener.LocalPort()));
    EXPECT_EQ(AsyncSocket::LastError(), kWouldBlock);
    ASSERT_TRUE(EventLoop::RunUntil([&] { return client.connectedWith == 0 && listener.accepted; }, 5000));
    EXPECT_EQ(client.Send("hello", 5), 5);
    ASSERT_TRUE(EventLoop::RunUntil([&] { return listener.accepted->received == "hello"; }, 5000));
    client.Close();
    ASSERT_TRUE(EventLoop::RunUntil([&] { return listener.accepted->closedWith >= 0; }, 5000));
    EXPECT_EQ(listener.accepted->closedWith, 0);
}

TEST(Win32Smoke, UnknownHostFailsAtOnce) {
    Peer client;
    ASSERT_TRUE(client.Create());
    EXPECT_FALSE(client.Connect("no-such-host.invalid", 80));
    EXPECT_EQ(AsyncSocket::LastError(), kHostNotFound);
}

TEST(Win32Smoke, TimerRunsUntilStopped) {
    Ticker ticker;
    ticker.StartTimer(1, 10);
    EXPECT_TRUE(ticker.IsTimerRunning(1));
    ASSERT_TRUE(EventLoop::RunUntil([&] { return ticker.ticks == 3; }, 5000));
    EXPECT_FALSE(ticker.IsTimerRunning(1));
}

TEST(Win32Smoke, DenyWriteExcludesSecondWriter) {
    const std::string path = ExecutableFolder() + "\\smoke.tmp";
    File first;
    ASSERT_TRUE(first.Open(path, File::Mode::Truncate, true));
    File second;
    EXPECT_FALSE(second.Open(path, File::Mode::Append, true));
    first.Close();
    EXPECT_TRUE(second.Open(path, File::Mode::Append, true));
    second.Close();
    EXPECT_TRUE(RemoveFile(path));
}

}  // namespace
