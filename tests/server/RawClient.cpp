#include "RawClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "platform/EventLoop.h"

using vorlan::platform::EventLoop;

RawClient::~RawClient() { Close(); }

bool RawClient::Connect(const std::string& bindAddress, std::uint16_t port, int receiveBufferBytes) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (receiveBufferBytes > 0) setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, bindAddress.c_str(), &local.sin_addr);
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return false;
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    int result = connect(fd_, reinterpret_cast<sockaddr*>(&remote), sizeof remote);
    return result == 0 || errno == EINPROGRESS;
}

void RawClient::SendRaw(std::string_view bytes) {
    while (!bytes.empty() && fd_ >= 0) {
        ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINPROGRESS || errno == ENOTCONN)) {
            EventLoop::RunOnce(10);
        } else {
            ADD_FAILURE() << "send failed: " << errno;
            return;
        }
    }
}

void RawClient::SendMessage(std::string_view text) {
    std::string frame(text);
    frame.push_back('\0');
    SendRaw(frame);
}

void RawClient::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void RawClient::CloseWithReset() {
    if (fd_ < 0) return;
    linger abort{};
    abort.l_onoff = 1;
    abort.l_linger = 0;
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    Close();
}

void RawClient::Pump() {
    char buffer[65536];
    while (fd_ >= 0 && !peerClosed_) {
        ssize_t got = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            inbox_.append(buffer, static_cast<std::size_t>(got));
            totalReceived_ += static_cast<std::size_t>(got);
        } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            peerClosed_ = true;
        } else {
            return;
        }
    }
}

std::vector<std::string> RawClient::Frames() {
    std::vector<std::string> frames;
    std::size_t start = 0;
    for (std::size_t zero = inbox_.find('\0'); zero != std::string::npos; zero = inbox_.find('\0', start)) {
        frames.push_back(inbox_.substr(start, zero - start));
        start = zero + 1;
    }
    return frames;
}

std::vector<std::string> RawClient::TakeFrames() {
    Pump();
    std::vector<std::string> frames = Frames();
    std::size_t lastZero = inbox_.rfind('\0');
    if (lastZero != std::string::npos) inbox_.erase(0, lastZero + 1);
    return frames;
}

bool RawClient::WaitForFrames(std::size_t count, int timeoutMs) {
    return EventLoop::RunUntil(
        [&] {
            Pump();
            return Frames().size() >= count || peerClosed_;
        },
        timeoutMs) &&
           Frames().size() >= count;
}

std::vector<std::string> RawClient::TakeUntil(const std::string& frame, int timeoutMs) {
    auto holds = [&] {
        std::vector<std::string> frames = Frames();
        for (const auto& f : frames) {
            if (f == frame) return true;
        }
        return false;
    };
    bool found = EventLoop::RunUntil(
        [&] {
            Pump();
            return holds() || peerClosed_;
        },
        timeoutMs);
    found = found && holds();
    if (!found) {
        ADD_FAILURE() << "message did not arrive: " << frame;
        return TakeFrames();
    }
    std::vector<std::string> before;
    std::size_t start = 0;
    while (true) {
        std::size_t zero = inbox_.find('\0', start);
        std::string current = inbox_.substr(start, zero - start);
        start = zero + 1;
        if (current == frame) break;
        before.push_back(std::move(current));
    }
    inbox_.erase(0, start);
    return before;
}

bool RawClient::WaitForClose(int timeoutMs) {
    return EventLoop::RunUntil(
        [&] {
            Pump();
            return peerClosed_;
        },
        timeoutMs);
}
