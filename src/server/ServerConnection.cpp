#include "server/ServerConnection.h"

#include <algorithm>

namespace vorlan::server {
namespace {

// A buffer that grew is given back once a flush finds it drained, so that an
// idle connection stays small; but not while a heavy stream flows through it
// (its pass needed an early offer), which would only have it allocated and
// faulted in afresh for every pass. The flood check gives that one back.
constexpr std::size_t kKeptBufferCapacity = 4 * 1024;
constexpr std::size_t kMaxSendChunk = 1 << 30;
// Sent bytes at the front are dropped once they outweigh what is left or pass
// this much, so the buffer never holds much more than its unsent bytes.
constexpr std::size_t kMaxSentPrefix = 1024 * 1024;

}  // namespace

ServerConnection::ServerConnection(ServerConnectionOwner& owner, std::size_t adminSendBacklogLimit,
                                   std::size_t userSendBacklogLimit)
    : owner_(owner), adminSendBacklogLimit_(adminSendBacklogLimit), userSendBacklogLimit_(userSendBacklogLimit) {}

ServerConnection::~ServerConnection() = default;

bool ServerConnection::HasMuted(int id) const {
    return std::find(mutedIds.begin(), mutedIds.end(), id) != mutedIds.end();
}

void ServerConnection::Send(std::string_view bytes) {
    if (backlogExceeded_ || bytes.empty()) return;
    sendBuffer_.append(bytes);
    queuedTotal_ += bytes.size();
    if (IsAdmin()) adminQueuedEnd_ = queuedTotal_;
    unoffered_ += bytes.size();
    if (!flushQueued_) {
        flushQueued_ = true;
        owner_.OnOutputQueued(*this);
    }
    if (unoffered_ >= kOfferChunk) {
        heavyPass_ = true;
        Offer();
    }
}

void ServerConnection::DiscardOutput() {
    std::string().swap(sendBuffer_);
    sendOffset_ = 0;
    sentTotal_ = queuedTotal_;
    unoffered_ = 0;
}

void ServerConnection::Close() {
    if (!IsOpen()) return;
    closed = true;
    AsyncSocket::Close();
}

void ServerConnection::Flush() {
    flushQueued_ = false;
    Offer();
    if (!heavyPass_) ReleaseDrainedBuffer();
    heavyPass_ = false;
}

void ServerConnection::ReleaseDrainedBuffer() {
    if (UnsentBytes() == 0 && sendBuffer_.capacity() > kKeptBufferCapacity) DiscardOutput();
}

void ServerConnection::Offer() {
    unoffered_ = 0;
    if (backlogExceeded_) return;
    // A socketless connection (the fuzz target's) refuses everything.
    while (IsOpen() && sendOffset_ < sendBuffer_.size()) {
        std::size_t chunk = std::min(UnsentBytes(), kMaxSendChunk);
        int sent = AsyncSocket::Send(sendBuffer_.data() + sendOffset_, static_cast<int>(chunk));
        // Would-block or an error: what is left waits for the next OnSend.
        if (sent <= 0) break;
        sendOffset_ += static_cast<std::size_t>(sent);
        sentTotal_ += static_cast<std::uint64_t>(sent);
    }
    DropSentBytes();
    if (RefusedPastBound()) {
        backlogExceeded_ = true;
        DiscardOutput();
        owner_.OnSendBacklogExceeded(connectionId);
    }
}

// Everything unsent has just been refused. Bytes queued while this user was a
// Normal user (those after the admin ones) answer to that bound, all of them
// together to the admin bound.
bool ServerConnection::RefusedPastBound() const {
    std::uint64_t queuedAsUser = queuedTotal_ - std::max(adminQueuedEnd_, sentTotal_);
    return queuedAsUser > userSendBacklogLimit_ || UnsentBytes() > adminSendBacklogLimit_;
}

void ServerConnection::DropSentBytes() {
    if (sendOffset_ == sendBuffer_.size()) {
        sendBuffer_.clear();
        sendOffset_ = 0;
    } else if (sendOffset_ >= UnsentBytes() || sendOffset_ >= kMaxSentPrefix) {
        sendBuffer_.erase(0, sendOffset_);
        sendOffset_ = 0;
    }
}

// The handlers only forward: the owner may destroy this object, so nothing
// here touches it afterwards.
void ServerConnection::OnReceive(int error) { owner_.OnServerReceive(error, connectionId); }

void ServerConnection::OnSend(int error) {
    if (error == 0) owner_.OnServerWritable(connectionId);
}

void ServerConnection::OnAccept(int error) { owner_.OnServerAccept(error, connectionId); }

void ServerConnection::OnClose(int error) { owner_.OnServerClose(error, connectionId); }

}  // namespace vorlan::server
