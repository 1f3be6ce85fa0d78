#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Messages as tests write them: SEP shown as '|', which no test text uses, so
// that expected wire bytes read as plain strings.
using Frames = std::vector<std::string>;
std::string Wire(std::string_view shown);
std::string Shown(std::string_view wire);

// A chat client at the byte level: a plain non-blocking socket bound to a chosen
// loopback address, so that 127.0.0.1 is the host and 127.0.0.2 and up are
// ordinary users. Waiting runs the program's event loop, so the server under
// test makes progress in the same thread.
class RawClient {
public:
    RawClient() = default;
    ~RawClient() { Close(); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // Connects from `bindAddress` to 127.0.0.1:`port`; true once the connect is under way.
    bool Connect(const std::string& bindAddress, std::uint16_t port);
    // Writes every byte, running the loop while the socket is full.
    void SendRaw(std::string_view bytes);
    // Sends Wire(`shown`) and its zero byte.
    void Send(std::string_view shown) { SendRaw(Wire(shown) + '\0'); }
    void Close();
    // Ends the connection with a reset, as a broken connection would.
    void CloseWithReset();

    bool IsClosedByPeer() const { return peerClosed_; }
    std::size_t ReceivedBytes() { Pump(); return totalReceived_; }
    // Complete messages received and not yet taken, shown.
    Frames Peek();
    Frames Take();
    // Waits for the message `frame` (shown); returns (and takes) the messages
    // before it. Adds a failure when it does not come.
    Frames TakeUntil(const std::string& frame, int timeoutMs = 5000);
    bool WaitForClose(int timeoutMs = 5000);

private:
    void Pump();

    int fd_ = -1;
    std::string inbox_;
    std::size_t totalReceived_ = 0;
    bool peerClosed_ = false;
};
