#include "client/ServerLink.h"

#include <algorithm>

namespace vorlan::client {

ServerLink::ServerLink(ServerLinkEvents& events, Timing timing, std::string bindAddress)
    : events_(events), timing_(timing), bindAddress_(std::move(bindAddress)) {}

ServerLink::~ServerLink() = default;

bool ServerLink::Open(const std::string& host, std::uint16_t port) {
    Close();
    socket_ = std::make_unique<ClientSocket>(*this);
    const int events = platform::kEventRead | platform::kEventWrite | platform::kEventConnect | platform::kEventClose;
    if (!socket_->Create(0, events, bindAddress_) || socket_->Connect(host, port) ||
        platform::AsyncSocket::LastError() != platform::kWouldBlock) {
        Close();
        return false;
    }
    return true;
}

std::string ServerLink::PeerAddressOr(const std::string& fallback) const {
    std::string peer;
    std::uint16_t peerPort = 0;
    if (socket_ && socket_->PeerAddress(peer, peerPort) && !peer.empty()) return peer;
    return fallback;
}

void ServerLink::Close() {
    StopTimer(kKeepAliveTimer);
    connected_ = false;
    partialMessage_.Clear();
    ++generation_;
    if (!socket_) return;
    socket_->ShutdownBoth();
    socket_->Close();
    socket_.reset();
}

void ServerLink::Send(std::string_view message) { SendFrame(protocol::Frame(message)); }

void ServerLink::SendFrame(const std::string& frame) {
    if (connected_ && socket_) socket_->Send(frame);
}

void ServerLink::StartKeepAlive() { StartTimer(kKeepAliveTimer, timing_.keepAliveMs); }

void ServerLink::ScheduleReconnect() { StartTimer(kReconnectTimer, timing_.reconnectMs); }

void ServerLink::CancelReconnect() { StopTimer(kReconnectTimer); }

void ServerLink::OnTimer(int id) {
    if (id == kKeepAliveTimer) {
        SendFrame(std::string(1, '\0'));
    } else if (id == kReconnectTimer) {
        StopTimer(kReconnectTimer);
        events_.OnReconnectDue();
    }
}

void ServerLink::OnClientConnect(int error) {
    connected_ = error == 0;
    events_.OnLinkConnected(error);
}

void ServerLink::OnClientClose(int error) { events_.OnLinkClosed(error); }

void ServerLink::OnClientReceive(int error) {
    if (error != 0 || !socket_) return;
    std::uint32_t pending = 0;
    if (!socket_->PendingBytes(pending)) pending = 0;
    // Always read, even when nothing is said to be waiting: the socket layer
    // reports new data only after a read.
    std::string bytes(std::max<std::uint32_t>(pending, 4096), '\0');
    const int received = socket_->Receive(bytes.data(), static_cast<int>(bytes.size()));
    if (received <= 0) return;
    bytes.resize(static_cast<std::size_t>(received));
    // An over-long unterminated tail is simply dropped (Feed says so); the
    // client keeps the connection. A message that arrived whole but is just as
    // long is dropped too: no server message is that long (the longest, a
    // profile, stays under 1700 bytes), and a hostile server must not make the
    // views lay out megabytes of text. A handler may close the link (or close
    // it and open another): the rest of these bytes then belongs to nobody.
    const std::uint64_t generation = generation_;
    // Ends the batch however the feeding ends.
    struct Messages {
        ServerLinkEvents& events;
        bool begun = false;
        void Deliver(std::string_view message) {
            if (!begun) events.OnMessagesBegin();
            begun = true;
            events.OnServerMessage(message);
        }
        ~Messages() {
            if (begun) events.OnMessagesEnd();
        }
    } messages{events_};
    partialMessage_.Feed(bytes, [this, generation, &messages](std::string_view message) {
        if (!message.empty() && message.size() <= protocol::kMaxKeptTail) messages.Deliver(message);
        return generation == generation_;
    });
}

}  // namespace vorlan::client
