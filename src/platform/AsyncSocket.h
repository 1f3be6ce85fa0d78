#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/SocketErrors.h"

namespace vorlan::platform {

// Notifications a socket may ask for when it is created (same bit values as FD_*).
enum SocketEvent : unsigned {
    kEventRead = 0x01,
    kEventWrite = 0x02,
    kEventAccept = 0x08,
    kEventConnect = 0x10,
    kEventClose = 0x20,
    kEventAll = kEventRead | kEventWrite | kEventAccept | kEventConnect | kEventClose,
};

class SocketBackend;  // per-backend state, defined in platform/posix or platform/win32

// An asynchronous TCP socket. Every operation returns at once; the program's
// socket classes derive from it and override the On* handlers, which the event
// loop calls on the one program thread.
//
// Contract shared by both backends:
// - OnReceive comes once when data (or an orderly end) is waiting and again only
//   after the handler has called Receive: a handler must read what it wants.
// - OnSend comes when the socket becomes writable again after a Send reported
//   kWouldBlock (and may come once after a connect or accept completes).
// - OnClose carries 0 for an orderly close by the peer and an error code
//   (kConnectionReset, ...) when the connection broke.
// - A Connect that cannot finish at once returns false with LastError() ==
//   kWouldBlock; the result then arrives through OnConnect (0 or an error). A
//   failure known at once (a name that does not resolve) returns false with that
//   error and no notification follows.
// - A handler may destroy its own object (or any other socket); the loop never
//   touches a destroyed socket again.
class AsyncSocket {
public:
    AsyncSocket();
    virtual ~AsyncSocket();
    AsyncSocket(const AsyncSocket&) = delete;
    AsyncSocket& operator=(const AsyncSocket&) = delete;

    // Creates a stream socket bound to `port` (0: any) on `bindAddress` (empty:
    // any local address), asking for `events`.
    bool Create(std::uint16_t port = 0, unsigned events = kEventAll, const std::string& bindAddress = {});
    bool Listen(int backlog = 5);
    // Accepts one pending connection into `into`, which must not be open.
    bool Accept(AsyncSocket& into);
    // `host` is a dotted address or a name, resolved by this call.
    bool Connect(const std::string& host, std::uint16_t port);

    // Count accepted (possibly fewer than `length`), or -1 with LastError().
    int Send(const void* data, int length);
    // Bytes read, 0 when the peer closed in order, or -1 with LastError().
    int Receive(void* buffer, int length);
    // Bytes that Receive could return at once.
    bool PendingBytes(std::uint32_t& count);
    // Peer address as dotted text ("127.0.0.1") and its port.
    bool PeerAddress(std::string& address, std::uint16_t& port) const;
    std::uint16_t LocalPort() const;
    bool ShutdownBoth();
    // Switches Nagle's delay off (chat lines should leave at once).
    bool SetNoDelay(bool on);
    // Close with a reset instead of an orderly end (SO_LINGER 0); for tests and drops.
    bool SetLingerAbort();
    // Stops notifications and closes the socket; safe to call twice.
    virtual void Close();

    bool IsOpen() const;
    // The error of the last failed call on this thread.
    static int LastError();

protected:
    virtual void OnReceive(int error);
    virtual void OnSend(int error);
    virtual void OnConnect(int error);
    virtual void OnAccept(int error);
    virtual void OnClose(int error);

private:
    friend class SocketBackend;
    std::unique_ptr<SocketBackend> backend_;
};

}  // namespace vorlan::platform
