#include "platform/AsyncSocket.h"

#include "platform/win32/SocketBackend.h"
#include "platform/win32/WindowsHeaders.h"

namespace vorlan::platform {

AsyncSocket::AsyncSocket() : backend_(std::make_unique<SocketBackend>(*this)) {}

AsyncSocket::~AsyncSocket() { AsyncSocket::Close(); }

bool AsyncSocket::Create(std::uint16_t port, unsigned events, const std::string& bindAddress) {
    return backend_->Open(port, events, bindAddress);
}

bool AsyncSocket::Listen(int backlog) {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    return listen(backend_->handle(), backlog) == 0;
}

bool AsyncSocket::Accept(AsyncSocket& into) {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    if (into.IsOpen() || &into == this) {
        return FailWith(WSAEINVAL);
    }
    const SOCKET accepted = accept(backend_->handle(), nullptr, nullptr);
    if (accepted == INVALID_SOCKET) {
        return false;
    }
    return into.backend_->Adopt(accepted, backend_->events());
}

bool AsyncSocket::Connect(const std::string& host, std::uint16_t port) {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    if (!ResolveIpv4(host, remote.sin_addr)) {
        return FailWith(WSAHOST_NOT_FOUND);
    }
    return connect(backend_->handle(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0;
}

int AsyncSocket::Send(const void* data, int length) {
    if (!IsOpen()) {
        FailWith(WSAENOTSOCK);
        return -1;
    }
    if (length < 0 || (data == nullptr && length > 0)) {
        FailWith(WSAEINVAL);
        return -1;
    }
    const int sent = send(backend_->handle(), static_cast<const char*>(data), length, 0);
    return sent == SOCKET_ERROR ? -1 : sent;
}

int AsyncSocket::Receive(void* buffer, int length) {
    if (!IsOpen()) {
        FailWith(WSAENOTSOCK);
        return -1;
    }
    if (length < 0 || (buffer == nullptr && length > 0)) {
        FailWith(WSAEINVAL);
        return -1;
    }
    backend_->ForgetPendingBytes();
    const int received = recv(backend_->handle(), static_cast<char*>(buffer), length, 0);
    return received == SOCKET_ERROR ? -1 : received;
}

bool AsyncSocket::PendingBytes(std::uint32_t& count) {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    if (backend_->KnownPendingBytes(count)) {
        return true;
    }
    u_long pending = 0;
    if (ioctlsocket(backend_->handle(), FIONREAD, &pending) != 0) {
        return false;
    }
    count = static_cast<std::uint32_t>(pending);
    return true;
}

bool AsyncSocket::PeerAddress(std::string& address, std::uint16_t& port) const {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    sockaddr_in peer{};
    int size = sizeof peer;
    if (getpeername(backend_->handle(), reinterpret_cast<sockaddr*>(&peer), &size) != 0) {
        return false;
    }
    char text[INET_ADDRSTRLEN] = {};
    if (inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text) == nullptr) {
        return false;
    }
    address = text;
    port = ntohs(peer.sin_port);
    return true;
}

std::uint16_t AsyncSocket::LocalPort() const {
    if (!IsOpen()) {
        return 0;
    }
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(backend_->handle(), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}

bool AsyncSocket::ShutdownBoth() {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    return shutdown(backend_->handle(), SD_BOTH) == 0;
}

bool AsyncSocket::SetNoDelay(bool on) {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    const BOOL value = on ? TRUE : FALSE;
    return setsockopt(backend_->handle(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&value),
                      sizeof value) == 0;
}

bool AsyncSocket::SetLingerAbort() {
    if (!IsOpen()) {
        return FailWith(WSAENOTSOCK);
    }
    linger value{};
    value.l_onoff = 1;
    value.l_linger = 0;
    return setsockopt(backend_->handle(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), sizeof value) ==
           0;
}

void AsyncSocket::Close() { backend_->Close(); }

bool AsyncSocket::IsOpen() const { return backend_->IsOpen(); }

int AsyncSocket::LastError() { return WSAGetLastError(); }

void AsyncSocket::OnReceive(int) {}
void AsyncSocket::OnSend(int) {}
void AsyncSocket::OnConnect(int) {}
void AsyncSocket::OnAccept(int) {}
void AsyncSocket::OnClose(int) {}

}  // namespace vorlan::platform
