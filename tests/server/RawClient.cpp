#include "RawClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <gtest/gtest.h>

#include "platform/EventLoop.h"

using vorlan::platform::EventLoop;

std::string Wire(std::string_view shown) {
    std::string wire(shown);
    std::replace(wire.begin(), wire.end(), '|', '\xAC');
    return wire;
}

std::string Shown(std::string_view wire) {
    std::string shown(wire);
    std::replace(shown.begin(), shown.end(), '\xAC', '|');
    return shown;
}

bool RawClient::Connect(const std::string& bindAddress, std::uint16_t port) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, bindAddress.c_str(), &address.sin_addr);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    address.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    return connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 || errno == EINPROGRESS;
}

void RawClient::SendRaw(std::string_view bytes) {
    while (!bytes.empty() && fd_ >= 0) {
        ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (errno == EAGAIN || errno == EINPROGRESS || errno == ENOTCONN) {
            EventLoop::RunOnce(10);
        } else {
            ADD_FAILURE() << "send failed: " << errno;
            return;
        }
    }
}

void RawClient::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void RawClient::CloseWithReset() {
    linger abort{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    Close();
}

void RawClient::Pump() {
    char buffer[65536];
    while (fd_ >= 0 && !peerClosed_) {
        ssize_t got = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (got <= 0) peerClosed_ = true;
        if (got > 0) inbox_.append(buffer, static_cast<std::size_t>(got));
        if (got > 0) totalReceived_ += static_cast<std::size_t>(got);
    }
}

namespace {
// The complete messages in `bytes`, shown.
Frames Split(std::string_view bytes) {
    Frames frames;
    for (std::size_t start = 0, zero; (zero = bytes.find('\0', start)) != std::string_view::npos; start = zero + 1) {
        frames.push_back(Shown(bytes.substr(start, zero - start)));
    }
    return frames;
}
}  // namespace

Frames RawClient::Peek() {
    Pump();
    return Split(inbox_);
}

Frames RawClient::Take() {
    Frames frames = Peek();
    inbox_.erase(0, inbox_.rfind('\0') + 1);
    return frames;
}

Frames RawClient::TakeUntil(const std::string& frame, int timeoutMs) {
    const std::string wanted = Wire(frame) + '\0';
    std::size_t found = std::string::npos;
    auto arrived = [&] {
        Pump();
        for (std::size_t start = 0;;) {
            if (inbox_.compare(start, wanted.size(), wanted) == 0) return (found = start), true;
            std::size_t zero = inbox_.find('\0', start);
            if (zero == std::string::npos) return peerClosed_;
            start = zero + 1;
        }
    };
    if (!EventLoop::RunUntil(arrived, timeoutMs) || found == std::string::npos) {
        ADD_FAILURE() << "message did not arrive: " << frame;
        return Take();
    }
    Frames before = Split(std::string_view(inbox_).substr(0, found));
    inbox_.erase(0, found + wanted.size());
    return before;
}

bool RawClient::WaitForClose(int timeoutMs) {
    return EventLoop::RunUntil([&] { Pump(); return peerClosed_; }, timeoutMs);
}
