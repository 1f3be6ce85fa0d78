#pragma once

#include <memory>
#include <string>

#include "platform/AsyncSocket.h"
#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

// The Winsock side of one AsyncSocket: its handle, the notifications it asked
// for, and the delivery of WSAAsyncSelect messages to the socket's handlers.
class SocketBackend {
public:
    explicit SocketBackend(AsyncSocket& owner);
    ~SocketBackend();

    SOCKET handle() const { return handle_; }
    bool IsOpen() const { return handle_ != INVALID_SOCKET; }

    bool Open(std::uint16_t port, unsigned events, const std::string& bindAddress);
    // Takes over a socket that accept() returned, with the listener's notifications.
    bool Adopt(SOCKET accepted, unsigned events);
    unsigned events() const { return events_; }
    void Close();

    // The count of waiting bytes measured for the read notification being
    // delivered, if any: a lower bound until the next Receive. Under Wine every
    // FIONREAD is a round trip to Wine's server, and a receive handler usually
    // asks for the count the delivery has just measured.
    bool KnownPendingBytes(std::uint32_t& count) const;
    void ForgetPendingBytes() { knownPending_ = -1; }

    // Entry point of the hidden window for kSocketMessage.
    static void Dispatch(SOCKET handle, LPARAM notification);

private:
    // Lets a delivery find out whether the handler destroyed or reopened the socket.
    class Guard;

    bool Register(SOCKET handle, unsigned events);
    void DeliverReceive(int error);
    void DeliverClose(int error);
    int ErrorBehindOrderlyClose();
    bool MeasurePendingBytes();
    static void RetireHandle(SOCKET handle);

    AsyncSocket& owner_;
    SOCKET handle_ = INVALID_SOCKET;
    unsigned events_ = 0;
    long long knownPending_ = -1;  // -1: not known
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

// Resolves a dotted address or a host name to an IPv4 address.
bool ResolveIpv4(const std::string& host, in_addr& address);
// Fails with the Winsock error `error`, for the callers' LastError().
bool FailWith(int error);

}  // namespace vorlan::platform
