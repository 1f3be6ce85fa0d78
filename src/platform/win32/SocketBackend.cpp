#include "platform/win32/SocketBackend.h"

#include <vector>

#include "platform/win32/MessageWindow.h"
#include "platform/win32/SocketRegistry.h"
#include "platform/win32/Winsock.h"

namespace vorlan::platform {

namespace {

// lParam of the marker that follows a closed handle's last notifications. A
// real notification always names one event, this one none.
constexpr LPARAM kRetiredMarker = static_cast<LPARAM>(WSAMAKESELECTREPLY(0, 0xFFFF));

}  // namespace

class SocketBackend::Guard {
public:
    explicit Guard(const SocketBackend& backend)
        : backend_(&backend), lifetime_(backend.lifetime_), handle_(backend.handle_) {}

    // True while the socket object lives and still has the handle the event was for.
    bool Holds() const { return !lifetime_.expired() && backend_->handle_ == handle_; }

private:
    const SocketBackend* backend_;
    std::weak_ptr<int> lifetime_;
    SOCKET handle_;
};

bool FailWith(int error) {
    WSASetLastError(error);
    return false;
}

bool ResolveIpv4(const std::string& host, in_addr& address) {
    if (host.empty() || host.find('\0') != std::string::npos) {
        return false;
    }
    if (inet_pton(AF_INET, host.c_str(), &address) == 1) {
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &results) != 0 || results == nullptr) {
        return false;
    }
    address = reinterpret_cast<const sockaddr_in*>(results->ai_addr)->sin_addr;
    freeaddrinfo(results);
    return true;
}

SocketBackend::SocketBackend(AsyncSocket& owner) : owner_(owner) {}

SocketBackend::~SocketBackend() { Close(); }

bool SocketBackend::Open(std::uint16_t port, unsigned events, const std::string& bindAddress) {
    if (IsOpen()) {
        return FailWith(WSAEINVAL);
    }
    if (!EnsureWinsock()) {
        return FailWith(WSANOTINITIALISED);
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!bindAddress.empty() && !ResolveIpv4(bindAddress, local.sin_addr)) {
        return FailWith(WSAEINVAL);
    }
    const SOCKET created = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (created == INVALID_SOCKET) {
        return false;
    }
    if (bind(created, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || !Register(created, events)) {
        const int error = WSAGetLastError();
        closesocket(created);
        return FailWith(error);
    }
    return true;
}

bool SocketBackend::Adopt(SOCKET accepted, unsigned events) {
    if (!Register(accepted, events)) {
        const int error = WSAGetLastError();
        closesocket(accepted);
        return FailWith(error);
    }
    return true;
}

bool SocketBackend::Register(SOCKET handle, unsigned events) {
    const HWND window = MessageWindow::Handle();
    if (window == nullptr) {
        return FailWith(WSAENETDOWN);
    }
    // The event bits are the FD_* values; WSAAsyncSelect also makes the socket non-blocking.
    if (WSAAsyncSelect(handle, window, kSocketMessage, static_cast<long>(events & kEventAll)) != 0) {
        return false;
    }
    handle_ = handle;
    events_ = events;
    SocketRegistry::ForThisThread().Add(handle, owner_);
    return true;
}

void SocketBackend::Close() {
    if (!IsOpen()) {
        return;
    }
    const SOCKET closing = handle_;
    handle_ = INVALID_SOCKET;
    ForgetPendingBytes();
    SocketRegistry& registry = SocketRegistry::ForThisThread();
    registry.Remove(closing);
    const int savedError = WSAGetLastError();
    closesocket(closing);
    RetireHandle(closing);
    WSASetLastError(savedError);
}

// closesocket stops new notifications, but some may wait in the queue already,
// and Winsock reuses handle values: a new socket could get this handle and
// those notifications. A marker posted now comes after all of them; until it
// is through, the handle reaches no socket. Only when the marker cannot be
// posted are the waiting notifications taken out of the queue (reposting the
// others), which costs two calls per waiting notification.
void SocketBackend::RetireHandle(SOCKET handle) {
    const HWND window = MessageWindow::Handle();
    if (window == nullptr) {
        return;
    }
    if (PostMessageA(window, kSocketMessage, static_cast<WPARAM>(handle), kRetiredMarker) != 0) {
        SocketRegistry::ForThisThread().Retire(handle);
        return;
    }
    std::vector<MSG> others;
    MSG message;
    while (PeekMessageA(&message, window, kSocketMessage, kSocketMessage, PM_REMOVE | PM_NOYIELD)) {
        if (static_cast<SOCKET>(message.wParam) != handle || message.lParam == kRetiredMarker) {
            others.push_back(message);
        }
    }
    for (const MSG& other : others) {
        PostMessageA(window, kSocketMessage, other.wParam, other.lParam);
    }
}

void SocketBackend::Dispatch(SOCKET handle, LPARAM notification) {
    if (notification == kRetiredMarker) {
        SocketRegistry::ForThisThread().MarkerPassed(handle);
        return;
    }
    AsyncSocket* socket = SocketRegistry::ForThisThread().Find(handle);
    if (socket == nullptr) {
        return;
    }
    SocketBackend& backend = *socket->backend_;
    const int error = WSAGETSELECTERROR(notification);
    switch (WSAGETSELECTEVENT(notification)) {
        case FD_READ: backend.DeliverReceive(error); break;
        case FD_WRITE: socket->OnSend(error); break;
        case FD_ACCEPT: socket->OnAccept(error); break;
        case FD_CONNECT: socket->OnConnect(error); break;
        case FD_CLOSE: backend.DeliverClose(error); break;
        default: break;
    }
}

// True when bytes wait; their count is kept for the handler (KnownPendingBytes).
bool SocketBackend::MeasurePendingBytes() {
    u_long count = 0;
    if (ioctlsocket(handle_, FIONREAD, &count) != 0) {
        knownPending_ = -1;
        return false;
    }
    knownPending_ = static_cast<long long>(count);
    return count > 0;
}

bool SocketBackend::KnownPendingBytes(std::uint32_t& count) const {
    if (knownPending_ < 0) {
        return false;
    }
    count = static_cast<std::uint32_t>(knownPending_);
    return true;
}

// Winsock may post FD_READ again after the handler has already read everything;
// such a notification carries nothing and is not passed on. Without FD_CLOSE
// the end of the stream is only seen through FD_READ, so then it always is.
void SocketBackend::DeliverReceive(int error) {
    if (error == 0 && (events_ & kEventClose) != 0 && !MeasurePendingBytes()) {
        return;
    }
    const Guard guard(*this);
    owner_.OnReceive(error);
    if (guard.Holds()) {
        ForgetPendingBytes();
    }
}

// FD_CLOSE may arrive while received data still waits; it is handed over first
// so that nothing the peer sent before closing is lost.
void SocketBackend::DeliverClose(int error) {
    const Guard guard(*this);
    u_long before = 0;
    while (error == 0 && (events_ & kEventRead) != 0 && ioctlsocket(handle_, FIONREAD, &before) == 0 && before > 0) {
        owner_.OnReceive(0);
        if (!guard.Holds()) {
            return;
        }
        u_long after = 0;
        if (ioctlsocket(handle_, FIONREAD, &after) != 0 || after >= before) {
            break;  // the handler does not read: do not spin
        }
    }
    owner_.OnClose(error == 0 ? ErrorBehindOrderlyClose() : error);
}

// Wine reports a connection reset by the peer as an FD_CLOSE without error
// (its server has already consumed the socket's error). A send of no bytes
// tells them apart: it succeeds on a connection the peer only half-closed and
// fails with the reset on one it broke. Windows itself reports the reset in
// FD_CLOSE, and there the probe finds nothing new.
int SocketBackend::ErrorBehindOrderlyClose() {
    const int savedError = WSAGetLastError();
    int error = 0;
    if (send(handle_, "", 0, 0) == SOCKET_ERROR) {
        const int probe = WSAGetLastError();
        error = probe == WSAECONNRESET || probe == WSAECONNABORTED ? probe : 0;
    }
    WSASetLastError(savedError);
    return error;
}

}  // namespace vorlan::platform
