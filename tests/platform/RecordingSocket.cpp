#include "RecordingSocket.h"

#include <gtest/gtest.h>

#include "platform/EventLoop.h"

namespace vorlan::test {

using platform::AsyncSocket;
using platform::EventLoop;

namespace {

constexpr int kConnectTimeoutMs = 5000;

}  // namespace

int RecordingSocket::ReadAvailable() {
    char buffer[65536];
    int total = 0;
    for (;;) {
        const int count = Receive(buffer, sizeof buffer);
        if (count == 0) endSeen = true;
        if (count <= 0) return total;
        received.append(buffer, static_cast<std::size_t>(count));
        total += count;
    }
}

void RecordingSocket::SendAll(const std::string& data) {
    const int sent = Send(data.data(), static_cast<int>(data.size()));
    ASSERT_EQ(sent, static_cast<int>(data.size())) << "error " << LastError();
}

void RecordingSocket::OnReceive(int error) {
    ++receiveCount;
    if (onReceive) return Call(onReceive, *this, error);
    ReadAvailable();
}

void RecordingSocket::OnSend(int error) {
    ++sendCount;
    if (onSend) Call(onSend, *this, error);
}

void RecordingSocket::OnConnect(int error) {
    ++connectCount;
    connectError = error;
    if (onConnect) Call(onConnect, *this, error);
}

void RecordingSocket::OnAccept(int error) {
    ++acceptCount;
    if (onAccept) Call(onAccept, *this, error);
}

void RecordingSocket::OnClose(int error) {
    ++closeCount;
    closeError = error;
    if (onClose) return Call(onClose, *this, error);
    // Data that was still waiting when the close was reported belongs to the stream.
    ReadAvailable();
}

ConnectStart StartConnect(AsyncSocket& socket, const std::string& host, std::uint16_t port) {
    if (socket.Connect(host, port)) return ConnectStart::Done;
    const int error = AsyncSocket::LastError();
    EXPECT_EQ(error, platform::kWouldBlock) << "connect to " << host << ":" << port;
    return error == platform::kWouldBlock ? ConnectStart::Pending : ConnectStart::Failed;
}

bool LoopbackPair::Open(const std::string& clientAddress) {
    if (!listener.Create(0) || !listener.Listen()) {
        ADD_FAILURE() << "listen failed: " << AsyncSocket::LastError();
        return false;
    }
    listener.onAccept = [this](RecordingSocket& self, int) {
        auto accepted = std::make_unique<RecordingSocket>();
        if (self.Accept(*accepted)) server = std::move(accepted);
    };
    if (!client.Create(0, platform::kEventAll, clientAddress)) {
        ADD_FAILURE() << "client create failed: " << AsyncSocket::LastError();
        return false;
    }
    const ConnectStart start = StartConnect(client, "127.0.0.1", Port());
    if (start == ConnectStart::Failed) return false;
    const bool doneAtOnce = start == ConnectStart::Done;
    const bool connected = EventLoop::RunUntil(
        [&] { return (doneAtOnce || client.connectCount > 0) && server != nullptr; }, kConnectTimeoutMs);
    EXPECT_TRUE(connected) << "connect notifications: " << client.connectCount;
    if (!doneAtOnce) {
        EXPECT_EQ(client.connectError, 0);
    }
    return connected && (doneAtOnce || client.connectError == 0);
}

}  // namespace vorlan::test
