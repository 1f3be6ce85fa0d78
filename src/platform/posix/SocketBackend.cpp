#include "platform/posix/SocketBackend.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/AsyncSocket.h"
#include "platform/posix/ErrorMapping.h"
#include "platform/posix/Reactor.h"

namespace vorlan::platform {

namespace {

// EPOLLRDHUP tells a peer's end apart from plain data, so the busy path needs
// no extra system call to look for it.
constexpr std::uint32_t kReadable = EPOLLIN | EPOLLRDHUP;
constexpr std::uint32_t kStreamEnded = EPOLLRDHUP | EPOLLHUP | EPOLLERR;
constexpr std::uint32_t kWritable = EPOLLOUT;

SocketRegistry& Registry() { return Reactor::Instance().Sockets(); }

bool Fail(int error) {
    SetLastSocketError(error);
    return false;
}

bool FailFromErrno() {
    SetLastSocketErrorFromErrno();
    return false;
}

bool ParseIPv4(const std::string& text, in_addr& address) { return inet_pton(AF_INET, text.c_str(), &address) == 1; }

bool ResolveIPv4(const std::string& host, in_addr& address) {
    if (ParseIPv4(host, address)) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Connect failures that the Windows layer reports through the connect
// notification rather than from the call itself.
bool IsConnectOutcome(int errnoValue) {
    switch (errnoValue) {
        case ECONNREFUSED:
        case ECONNRESET:
        case ETIMEDOUT:
        case ENETUNREACH:
        case EHOSTUNREACH: return true;
        default: return false;
    }
}

}  // namespace

SocketBackend::SocketBackend(AsyncSocket& owner) : owner_(owner) {}

SocketBackend::~SocketBackend() { Close(); }

bool SocketBackend::RequireOpen() const {
    if (fd_ >= 0) return true;
    return Fail(kNotSocket);
}

void SocketBackend::Open(int fd, unsigned events, State state) {
    fd_ = fd;
    events_ = events;
    state_ = state;
    handle_ = Registry().Add(this);
}

bool SocketBackend::Create(std::uint16_t port, unsigned events, const std::string& bindAddress) {
    if (fd_ >= 0) return Fail(kInvalidArgument);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!bindAddress.empty() && !ParseIPv4(bindAddress, local.sin_addr)) return Fail(kAddressNotAvailable);

    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return FailFromErrno();
    // Windows lets a listener reopen on a port whose old connections linger in
    // TIME_WAIT; Linux does so only when those connections (which inherit the
    // option from their listener) and the new socket both ask for it. Linux
    // still refuses a port that has an active listener, and picks ports for
    // port 0 that nobody uses.
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        const int error = WinsockErrorFromErrno(errno);
        close(fd);
        return Fail(error);
    }
    Open(fd, events, State::Bound);
    return true;
}

bool SocketBackend::Listen(int backlog) {
    if (!RequireOpen()) return false;
    if (state_ != State::Bound && state_ != State::Listening) return Fail(kInvalidArgument);
    // A burst of connections should queue rather than be dropped; a backlog
    // below the system's default buys nothing on this platform.
    if (listen(fd_, std::max(backlog, SOMAXCONN)) != 0) return FailFromErrno();
    state_ = State::Listening;
    acceptArmed_ = true;
    UpdateInterest();
    return true;
}

bool SocketBackend::Accept(SocketBackend& into) {
    if (!RequireOpen()) return false;
    if (state_ != State::Listening || into.fd_ >= 0) return Fail(kInvalidArgument);
    acceptArmed_ = true;
    UpdateInterest();
    int fd;
    do {
        fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return FailFromErrno();
    into.Open(fd, kEventAll, State::Connected);
    into.readArmed_ = true;
    into.writeWanted_ = true;  // one send notification, as after a connect
    into.UpdateInterest();
    return true;
}

bool SocketBackend::Connect(const std::string& host, std::uint16_t port) {
    if (!RequireOpen()) return false;
    if (state_ == State::Connecting) return Fail(kAlreadyInProgress);
    if (state_ != State::Bound) return Fail(state_ == State::Connected ? kAlreadyConnected : kInvalidArgument);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    if (!ResolveIPv4(host, remote.sin_addr)) return Fail(kHostNotFound);

    // An interrupted connect goes on in the background, like one in progress.
    const int result = connect(fd_, reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    immediateConnectError_ = 0;
    if (result != 0 && errno != EINPROGRESS && errno != EINTR) {
        if (!IsConnectOutcome(errno)) return FailFromErrno();
        // Reported like any other outcome, through OnConnect; the socket is
        // closed in the kernel, so epoll reports it at once.
        immediateConnectError_ = WinsockErrorFromErrno(errno);
    }
    // Even a connect that finished at once completes through OnConnect, so the
    // caller has one path to handle.
    state_ = State::Connecting;
    UpdateInterest();
    return Fail(kWouldBlock);
}

int SocketBackend::Send(const void* data, int length) {
    if (!RequireOpen()) return -1;
    if (length < 0 || (length > 0 && data == nullptr)) {
        SetLastSocketError(kInvalidArgument);
        return -1;
    }
    ssize_t sent;
    do {
        sent = send(fd_, data, static_cast<std::size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    if (sent >= 0) return static_cast<int>(sent);
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
        writeWanted_ = true;
        UpdateInterest();
    }
    SetLastSocketErrorFromErrno();
    return -1;
}

int SocketBackend::Receive(void* buffer, int length) {
    if (!RequireOpen()) return -1;
    if (length < 0 || (length > 0 && buffer == nullptr)) {
        SetLastSocketError(kInvalidArgument);
        return -1;
    }
    readArmed_ = true;
    UpdateInterest();
    ssize_t received;
    do {
        received = recv(fd_, buffer, static_cast<std::size_t>(length), MSG_DONTWAIT);
    } while (received < 0 && errno == EINTR);
    if (received >= 0) return static_cast<int>(received);
    SetLastSocketErrorFromErrno();
    return -1;
}

bool SocketBackend::PendingBytes(std::uint32_t& count) {
    if (!RequireOpen()) return false;
    int waiting = 0;
    if (ioctl(fd_, FIONREAD, &waiting) != 0) return FailFromErrno();
    count = static_cast<std::uint32_t>(std::max(waiting, 0));
    return true;
}

bool SocketBackend::PeerAddress(std::string& address, std::uint16_t& port) const {
    if (!RequireOpen()) return false;
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &size) != 0) return FailFromErrno();
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text) == nullptr) return FailFromErrno();
    address = text;
    port = ntohs(peer.sin_port);
    return true;
}

std::uint16_t SocketBackend::LocalPort() const {
    if (fd_ < 0) return 0;
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
    return ntohs(local.sin_port);
}

bool SocketBackend::ShutdownBoth() {
    if (!RequireOpen()) return false;
    const bool done = shutdown(fd_, SHUT_RDWR) == 0;
    const int shutdownErrno = errno;
    // The program ended the connection itself: it learns nothing more from it.
    state_ = State::Finished;
    UpdateInterest();
    if (done) return true;
    return Fail(WinsockErrorFromErrno(shutdownErrno));
}

bool SocketBackend::SetNoDelay(bool on) {
    if (!RequireOpen()) return false;
    const int value = on ? 1 : 0;
    if (setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &value, sizeof value) != 0) return FailFromErrno();
    return true;
}

bool SocketBackend::SetLingerAbort() {
    if (!RequireOpen()) return false;
    linger abort{};
    abort.l_onoff = 1;
    abort.l_linger = 0;
    if (setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort) != 0) return FailFromErrno();
    return true;
}

void SocketBackend::Close() {
    if (fd_ < 0) return;
    Reactor::Instance().Watch(fd_, handle_, watched_, 0);
    Registry().Remove(handle_);
    close(fd_);
    fd_ = -1;
    handle_ = 0;
    events_ = 0;
    state_ = State::Closed;
    readArmed_ = acceptArmed_ = writeWanted_ = false;
    immediateConnectError_ = 0;
    watched_ = 0;
}

std::uint32_t SocketBackend::WantedInterest() const {
    switch (state_) {
        case State::Listening: return acceptArmed_ ? kReadable : 0;
        case State::Connecting: return kWritable;
        case State::Connected: return (readArmed_ ? kReadable : 0) | (writeWanted_ ? kWritable : 0);
        default: return 0;
    }
}

void SocketBackend::UpdateInterest() {
    const std::uint32_t wanted = WantedInterest();
    if (wanted == watched_) return;
    Reactor::Instance().Watch(fd_, handle_, watched_, wanted);
    watched_ = wanted;
}

// Every handler below settles the socket's state before it calls the owner,
// and touches nothing afterwards: the owner may have closed or destroyed it.

void SocketBackend::HandleAcceptReady() {
    const bool deliver = acceptArmed_ && (events_ & kEventAccept);
    acceptArmed_ = false;
    if (!deliver) {
        UpdateInterest();
        return;
    }
    owner_.OnAccept(0);
}

void SocketBackend::HandleConnectDone() {
    int error = immediateConnectError_;
    if (error == 0) {
        int socketError = 0;
        socklen_t size = sizeof socketError;
        if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &socketError, &size) != 0) socketError = errno;
        if (socketError != 0) error = WinsockErrorFromErrno(socketError);
    }
    immediateConnectError_ = 0;
    if (error == 0) {
        state_ = State::Connected;
        readArmed_ = true;
        writeWanted_ = true;  // one send notification follows, as on Windows
    } else {
        state_ = State::Finished;
    }
    UpdateInterest();
    if (events_ & kEventConnect) owner_.OnConnect(error);
}

void SocketBackend::HandleReadable(bool streamMayHaveEnded) {
    // After the peer's end, data may still wait in front of it: it is delivered
    // first and the end is reported once it has been read.
    char probe;
    ssize_t peeked = 1;
    if (streamMayHaveEnded) {
        do {
            peeked = recv(fd_, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        } while (peeked < 0 && errno == EINTR);
    }
    if (peeked > 0) {
        const bool deliver = readArmed_ && (events_ & kEventRead);
        readArmed_ = false;
        if (!deliver) {
            UpdateInterest();
            return;
        }
        owner_.OnReceive(0);
        return;
    }
    if (peeked < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // read meanwhile
    // End of the stream: 0 for an orderly close, the error for a broken connection.
    const int error = peeked == 0 ? 0 : WinsockErrorFromErrno(errno);
    state_ = State::Finished;
    UpdateInterest();
    if (events_ & kEventClose) owner_.OnClose(error);
}

void SocketBackend::HandleWritable() {
    const bool deliver = writeWanted_ && (events_ & kEventWrite);
    if (!writeWanted_) {
        UpdateInterest();
        return;
    }
    writeWanted_ = false;
    if (deliver) owner_.OnSend(0);
}

void SocketBackend::Dispatch(SocketRegistry& registry, std::uint64_t handle, std::uint32_t ready) {
    SocketBackend* socket = registry.Find(handle);
    if (socket == nullptr) return;
    switch (socket->state_) {
        case State::Listening: socket->HandleAcceptReady(); return;
        case State::Connecting: socket->HandleConnectDone(); return;
        case State::Connected: break;
        default: socket->UpdateInterest(); return;
    }
    // Reading first: a broken connection then reports OnClose alone, without
    // a send notification in front of it.
    if (ready & (EPOLLIN | kStreamEnded)) {
        socket->HandleReadable((ready & kStreamEnded) != 0);
        socket = registry.Find(handle);
        if (socket == nullptr || socket->state_ != State::Connected) return;
    }
    if (ready & (EPOLLOUT | EPOLLERR | EPOLLHUP)) socket->HandleWritable();
}

}  // namespace vorlan::platform
