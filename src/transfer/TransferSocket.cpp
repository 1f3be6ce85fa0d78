#include "transfer/TransferSocket.h"

#include <algorithm>
#include <cstring>

namespace vorlan::transfer {

namespace {
constexpr std::size_t kMaxSendCall = 1 << 30;
}

void ByteBlock::Resize(std::size_t size) {
    if (size > capacity_) {
        data_ = std::make_unique_for_overwrite<char[]>(size);
        capacity_ = size;
    }
    size_ = size;
}

void ByteBlock::Append(const char* bytes, std::size_t length) {
    if (size_ + length > capacity_) {
        const std::size_t capacity = std::max(size_ + length, capacity_ * 2);
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
        data_ = std::move(grown);
        capacity_ = capacity;
    }
    if (length > 0) std::memcpy(data_.get() + size_, bytes, length);
    size_ += length;
}

void ByteBlock::Swap(ByteBlock& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
}

std::size_t TransferSocket::Offer(const char* data, std::size_t length) {
    std::size_t offered = 0;
    while (offered < length) {
        const int count = AsyncSocket::Send(data + offered, static_cast<int>(std::min(length - offered, kMaxSendCall)));
        if (count <= 0) break;
        offered += static_cast<std::size_t>(count);
    }
    return offered;
}

bool TransferSocket::Send(const char* data, std::size_t length) {
    if (HasPending()) {
        pending_.Append(data, length);
        return Flush();
    }
    // Straight from the caller's bytes; only what the network leaves is kept.
    const std::size_t offered = Offer(data, length);
    pending_.Clear();
    head_ = 0;
    pending_.Append(data + offered, length - offered);
    return offered == length;
}

bool TransferSocket::SendBlock(ByteBlock& block) {
    if (HasPending()) return Send(block.Data(), block.Size());
    const std::size_t offered = Offer(block.Data(), block.Size());
    if (offered == block.Size()) return true;
    pending_.Swap(block);
    head_ = offered;
    return false;
}

bool TransferSocket::Flush() {
    head_ += Offer(pending_.Data() + head_, pending_.Size() - head_);
    if (HasPending()) return false;
    pending_.Clear();
    head_ = 0;
    return true;
}

void TransferSocket::OnSend(int) {
    if (HasPending() && !Flush()) return;
    owner_.OnTransferSendReady(*this);
}

void TransferSocket::End() {
    pending_.Release();
    head_ = 0;
    partialToken.clear();
    if (!IsOpen()) return;
    ShutdownBoth();
    Close();
}

}  // namespace vorlan::transfer
