#pragma once

#include <cstddef>
#include <memory>
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

// A byte buffer that is not cleared when it grows: a file block is read over
// it at once, so filling it first would only cost time.
class ByteBlock {
public:
    char* Data() { return data_.get(); }
    const char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    // Room for `size` bytes; the contents are undefined afterwards.
    void Resize(std::size_t size);
    void Append(const char* bytes, std::size_t length);
    void Clear() { size_ = 0; }
    void Release() { data_.reset(), size_ = capacity_ = 0; }
    void Swap(ByteBlock& other) noexcept;

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
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
    // The same for a whole block, which the socket takes over as its pending
    // send instead of copying what the network leaves; `block` gets a buffer
    // to reuse in exchange.
    bool SendBlock(ByteBlock& block);
    bool HasPending() const { return head_ < pending_.Size(); }
    std::size_t PendingSendBytes() const { return pending_.Size() - head_; }

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
    // Offers bytes from the front until all are taken or the socket would block.
    std::size_t Offer(const char* data, std::size_t length);
    // Offers the pending bytes until they are gone or the socket would block.
    bool Flush();

    TransferSocketEvents& owner_;
    ByteBlock pending_;
    std::size_t head_ = 0;  // bytes of pending_ already taken by the network
};

}  // namespace vorlan::transfer
