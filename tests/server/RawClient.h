#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A chat client at the byte level for tests: a plain non-blocking socket bound
// to a chosen loopback address, so that 127.0.0.1 is the host and 127.0.0.2 and
// up are ordinary users. Waiting runs the program's event loop, so the server
// under test makes progress in the same thread.
class RawClient {
public:
    RawClient() = default;
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    // Connects from `bindAddress` to 127.0.0.1:`port`; true once the connect is under way.
    bool Connect(const std::string& bindAddress, std::uint16_t port, int receiveBufferBytes = 0);
    // Writes every byte, running the loop while the socket is full.
    void SendRaw(std::string_view bytes);
    // Sends `text` followed by its zero byte.
    void SendMessage(std::string_view text);
    void Close();
    // Ends the connection with a reset, as a broken connection would.
    void CloseWithReset();

    // Reads whatever has arrived; notes the end of the stream.
    void Pump();
    bool IsClosedByPeer() const { return peerClosed_; }
    std::size_t ReceivedBytes() const { return totalReceived_; }

    // Complete messages received and not yet taken, without their zero bytes.
    std::vector<std::string> Frames();
    std::vector<std::string> TakeFrames();
    // Waits (running the loop) for at least `count` messages; false on timeout.
    bool WaitForFrames(std::size_t count, int timeoutMs = 5000);
    // Waits for the message `frame`; returns (and takes) the messages before it.
    // Adds a failure when it does not come.
    std::vector<std::string> TakeUntil(const std::string& frame, int timeoutMs = 5000);
    bool WaitForClose(int timeoutMs = 5000);

private:
    int fd_ = -1;
    std::string inbox_;
    std::size_t totalReceived_ = 0;
    bool peerClosed_ = false;
};
