#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/AsyncSocket.h"

namespace vorlan::test {

// A socket that counts its notifications and, unless a test hooks a
// notification, reads everything that arrives into `received`.
class RecordingSocket : public platform::AsyncSocket {
public:
    using Handler = std::function<void(RecordingSocket&, int error)>;

    Handler onReceive, onSend, onConnect, onAccept, onClose;

    int receiveCount = 0, sendCount = 0, connectCount = 0, acceptCount = 0, closeCount = 0;
    int connectError = -1, closeError = -1;
    std::string received;
    bool endSeen = false;  // a Receive returned 0

    // Receives until nothing more waits; returns the bytes read.
    int ReadAvailable();
    // Sends all of `data` or fails the test.
    void SendAll(const std::string& data);

protected:
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnConnect(int error) override;
    void OnAccept(int error) override;
    void OnClose(int error) override;

private:
    // The hook is copied first: it may destroy this socket and the hook with it.
    static void Call(const Handler& hook, RecordingSocket& socket, int error) {
        Handler copy = hook;
        copy(socket, error);
    }
};

// A listener on 127.0.0.1 with one connected client and the accepted end.
class LoopbackPair {
public:
    RecordingSocket listener;
    RecordingSocket client;
    std::unique_ptr<RecordingSocket> server;

    // Listens on any port, connects the client (bound to `clientAddress` when
    // given) and waits for both ends. Test failures explain what went wrong.
    bool Open(const std::string& clientAddress = {});
    std::uint16_t Port() const { return listener.LocalPort(); }
};

enum class ConnectStart { Failed, Pending, Done };
// Starts a connect; a failure other than "would block" fails the test.
ConnectStart StartConnect(platform::AsyncSocket& socket, const std::string& host, std::uint16_t port);

}  // namespace vorlan::test
