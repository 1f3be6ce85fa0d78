#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "client/ClientSocket.h"
#include "platform/EventLoop.h"
#include "protocol/Framing.h"

namespace vorlan::client {

// What the link to the server reports to the session.
class ServerLinkEvents {
public:
    virtual ~ServerLinkEvents() = default;
    // The attempt started by Open ended: error 0 means connected.
    virtual void OnLinkConnected(int error) = 0;
    // The server closed the connection (error 0) or it was lost.
    virtual void OnLinkClosed(int error) = 0;
    // One whole message from the server, without its zero byte.
    virtual void OnServerMessage(std::string_view message) = 0;
    // The reconnect timer ran out.
    virtual void OnReconnectDue() = 0;
    // Around the messages of one receive, when it brought any: the session
    // writes its views in one batch.
    virtual void OnMessagesBegin() {}
    virtual void OnMessagesEnd() {}
};

// The client's link to its server: the socket, the splitting of the byte
// stream into messages, the keep-alive (timer 109) and the reconnect timer
// (122). It knows nothing of what the messages mean; the session decides.
class ServerLink : public ClientSocketEvents, private platform::TimerOwner {
public:
    static constexpr int kKeepAliveTimer = 109;
    static constexpr int kReconnectTimer = 122;

    struct Timing {
        std::uint32_t keepAliveMs = 60000;
        std::uint32_t reconnectMs = 30000;
    };

    // `bindAddress`: the local address to connect from; empty for any.
    ServerLink(ServerLinkEvents& events, Timing timing, std::string bindAddress);
    ~ServerLink() override;

    // Starts connecting; false when the attempt failed at once (the socket is
    // then closed again).
    bool Open(const std::string& host, std::uint16_t port);
    // The peer's address once an attempt is under way, else `fallback`.
    std::string PeerAddressOr(const std::string& fallback) const;
    // Shuts the socket down both ways and closes it; unsent and half-received
    // bytes are dropped, the keep-alive stops.
    void Close();
    bool IsOpen() const { return socket_ != nullptr; }

    // Sends one message (without its zero byte) once the connection is up;
    // dropped otherwise.
    void Send(std::string_view message);
    void StartKeepAlive();

    void ScheduleReconnect();
    void CancelReconnect();
    bool IsReconnectScheduled() const { return IsTimerRunning(kReconnectTimer); }

private:
    // ClientSocketEvents
    void OnClientConnect(int error) override;
    void OnClientReceive(int error) override;
    void OnClientClose(int error) override;
    // TimerOwner
    void OnTimer(int id) override;

    void SendFrame(const std::string& frame);

    ServerLinkEvents& events_;
    Timing timing_;
    std::string bindAddress_;
    std::unique_ptr<ClientSocket> socket_;
    protocol::FrameSplitter partialMessage_;
    bool connected_ = false;
    std::uint64_t generation_ = 0;  // counts Close calls
};

}  // namespace vorlan::client
