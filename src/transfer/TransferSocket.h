#pragma once

#include <cstddef>
#include <string>

#include "platform/AsyncSocket.h"

namespace vorlan::transfer {

class TransferSocket;

// What a transfer socket reports to its window.
class TransferSocketEvents {
public:
    virtual ~TransferSocketEvents() = default;
    virtual void OnTransferConnect(TransferSocket&, int /*error*/) {}
    virtual void OnTransferAccept(TransferSocket&) {}
    virtual void OnTransferReceive(TransferSocket&) {}
    // Room to write again, after what was pending has been offered once more.
    virtual void OnTransferSendReady(TransferSocket&) {}
    virtual void OnTransferClose(TransferSocket&, int /*error*/) {}
};

// A connection of a transfer, or the listening socket that waits for one.
// Bytes handed to it that the network does not take at once wait in the
// pending send, in order, until the socket is writable again.
class TransferSocket : public platform::AsyncSocket {
public:
    explicit TransferSocket(TransferSocketEvents& owner) : owner_(owner) {}

    // Appends `data` to the pending send and offers it to the network. False
    // when bytes stay pending (the socket would block) or the send failed.
    bool Send(const char* data, std::size_t length);
    bool HasPending() const { return head_ < pending_.size(); }
    std::size_t PendingSendBytes() const { return pending_.size() - head_; }

    // Pending bytes dropped, shut down both ways, closed; safe when closed.
    void End();

    // The sending side's unfinished acknowledgement token.
    std::string partialToken;

protected:
    void OnConnect(int error) override { owner_.OnTransferConnect(*this, error); }
    void OnAccept(int) override { owner_.OnTransferAccept(*this); }
    void OnReceive(int) override { owner_.OnTransferReceive(*this); }
    void OnSend(int) override;
    void OnClose(int error) override { owner_.OnTransferClose(*this, error); }

private:
    // Offers the pending bytes until they are gone or the socket would block.
    bool Flush();

    TransferSocketEvents& owner_;
    std::string pending_;
    std::size_t head_ = 0;  // bytes of pending_ already taken by the network
};

}  // namespace vorlan::transfer
