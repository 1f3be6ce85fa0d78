#include "transfer/TransferSocket.h"

#include <algorithm>
#include <climits>

namespace vorlan::transfer {

namespace {
constexpr std::size_t kMaxSendCall = 1 << 30;
}

bool TransferSocket::Send(const char* data, std::size_t length) {
    if (!HasPending()) {
        // Straight from the caller's block; only what the network leaves is copied.
        pending_.clear();
        head_ = 0;
        std::size_t offered = 0;
        while (offered < length) {
            const int count = AsyncSocket::Send(data + offered, static_cast<int>(std::min(length - offered, kMaxSendCall)));
            if (count <= 0) break;
            offered += static_cast<std::size_t>(count);
        }
        pending_.assign(data + offered, length - offered);
        return offered == length;
    }
    pending_.append(data, length);
    return Flush();
}

bool TransferSocket::Flush() {
    while (HasPending()) {
        const std::size_t left = pending_.size() - head_;
        const int count = AsyncSocket::Send(pending_.data() + head_, static_cast<int>(std::min(left, kMaxSendCall)));
        if (count <= 0) return false;
        head_ += static_cast<std::size_t>(count);
    }
    pending_.clear();
    head_ = 0;
    return true;
}

void TransferSocket::OnSend(int) {
    if (HasPending() && !Flush()) return;
    owner_.OnTransferSendReady(*this);
}

void TransferSocket::End() {
    pending_.clear();
    pending_.shrink_to_fit();
    head_ = 0;
    partialToken.clear();
    if (!IsOpen()) return;
    ShutdownBoth();
    Close();
}

}  // namespace vorlan::transfer
