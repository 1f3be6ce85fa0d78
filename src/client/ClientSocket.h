#pragma once

#include <string>

#include "platform/AsyncSocket.h"

namespace vorlan::client {

// Where the client socket reports; each call carries the socket layer's error code.
class ClientSocketEvents {
public:
    virtual ~ClientSocketEvents() = default;
    virtual void OnClientConnect(int error) = 0;
    virtual void OnClientReceive(int error) = 0;
    virtual void OnClientClose(int error) = 0;
};

// The chat client's socket. Outgoing bytes go through a send buffer that keeps
// whatever the socket layer did not take, so messages leave whole and in order.
class ClientSocket : public platform::AsyncSocket {
public:
    explicit ClientSocket(ClientSocketEvents& events) : events_(events) {}

    // Appends `data` to the send buffer and hands the whole buffer to the socket
    // layer. Returns the count it accepted, or -1 on a socket error (everything
    // then stays buffered for the next writable notification).
    int Send(const void* data, int length);
    int Send(const std::string& bytes) { return Send(bytes.data(), static_cast<int>(bytes.size())); }

    const std::string& SendBuffer() const { return sendBuffer_; }

protected:
    void OnConnect(int error) override;
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnClose(int error) override;

private:
    int Flush();

    ClientSocketEvents& events_;
    std::string sendBuffer_;
};

}  // namespace vorlan::client
