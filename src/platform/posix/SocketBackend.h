#pragma once

#include <cstdint>
#include <string>

namespace vorlan::platform {

class AsyncSocket;
class SocketRegistry;

// The POSIX side of one AsyncSocket: a non-blocking descriptor in the
// reactor's epoll set, with the rules that turn readiness into the
// notifications of the socket contract.
//
// Notifications are re-armed the way the Windows socket layer does it: a read
// notification only after Receive, an accept notification only after Accept, a
// send notification only after a Send that would block. Interest that is no
// longer wanted is dropped lazily, when readiness arrives that cannot be
// delivered, so the busy path costs no extra system calls.
class SocketBackend {
public:
    explicit SocketBackend(AsyncSocket& owner);
    ~SocketBackend();
    SocketBackend(const SocketBackend&) = delete;
    SocketBackend& operator=(const SocketBackend&) = delete;

    bool Create(std::uint16_t port, unsigned events, const std::string& bindAddress);
    bool Listen(int backlog);
    bool Accept(SocketBackend& into);
    bool Connect(const std::string& host, std::uint16_t port);
    int Send(const void* data, int length);
    int Receive(void* buffer, int length);
    bool PendingBytes(std::uint32_t& count);
    bool PeerAddress(std::string& address, std::uint16_t& port) const;
    std::uint16_t LocalPort() const;
    bool ShutdownBoth();
    bool SetNoDelay(bool on);
    bool SetLingerAbort();
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Delivers the notifications for epoll readiness `ready` of the socket
    // `handle`, if it still exists.
    static void Dispatch(SocketRegistry& registry, std::uint64_t handle, std::uint32_t ready);

private:
    enum class State {
        Closed,  // no descriptor
        Bound,   // created, neither listening nor connecting
        Listening,
        Connecting,
        Connected,
        Finished,  // closed by the peer, failed or shut down: no more notifications
    };

    bool RequireOpen() const;
    void Open(int fd, unsigned events, State state);
    std::uint32_t WantedInterest() const;
    void UpdateInterest();

    void HandleAcceptReady();
    void HandleConnectDone();
    void HandleReadable(bool streamMayHaveEnded);
    void HandleWritable();

    AsyncSocket& owner_;
    int fd_ = -1;
    std::uint64_t handle_ = 0;
    unsigned events_ = 0;
    State state_ = State::Closed;
    bool readArmed_ = false;
    bool acceptArmed_ = false;
    bool writeWanted_ = false;
    int immediateConnectError_ = 0;  // a connect that failed inside connect()
    std::uint32_t watched_ = 0;      // epoll interest currently registered
};

}  // namespace vorlan::platform
