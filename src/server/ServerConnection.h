#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AsyncSocket.h"
#include "protocol/Framing.h"
#include "server/ServerConnectionOwner.h"
#include "server/ServerLimits.h"

namespace vorlan::server {

// The server's socket for one client, with that user's record; the listener is
// one too (id 0). Writes are queued, and the owner hands them to the socket
// together (see ChatServer::FlushQueuedOutput), so that fan-out to many clients
// costs one system call per client per batch; bytes and order are kept.
// The backlog bound judges only what the socket refused (see ServerLimits.h).
class ServerConnection : public platform::AsyncSocket {
public:
    // The bounds on unsent bytes for admins (levels 0-2) and for everyone else.
    ServerConnection(ServerConnectionOwner& owner, std::size_t adminSendBacklogLimit, std::size_t userSendBacklogLimit);
    ~ServerConnection() override;

    bool closed = true;                    // no open socket
    int connectionId = 0;                  // 1..1000; 0 in the listener
    int messageCount = 0;                  // messages since the last flood check
    protocol::FrameSplitter pendingInput;  // the unterminated tail, at most 2000 bytes
    std::string name;
    std::string status;
    int level = kNotLoggedIn;
    int mainChatClosed = 0;
    std::vector<int> mutedIds;  // duplicates allowed
    std::string peerAddress;    // dotted text, read once at accept
    // Queries of other users forwarded to this one and not yet answered, oldest
    // first: the reply code owed ("10" or "14" as 10 or 14) and to whom.
    struct AwaitedReply {
        int requesterId;
        int replyCode;
        std::uint64_t forwardedMs;
    };
    std::vector<AwaitedReply> awaitedReplies;
    bool removed = false;  // taken out of the server's list
    // The ban list being sent to this admin: the next row and the version of
    // the list it was started from (see ChatServer::ContinueBanList).
    struct BanListProgress {
        std::size_t nextRow = 0;
        std::uint64_t listVersion = 0;
    };
    std::optional<BanListProgress> banListProgress;

    bool IsLoggedIn() const { return level != kNotLoggedIn; }
    bool IsNormalUser() const { return level == kNormalUser; }
    bool IsAdmin() const { return level >= kHost && level <= kNormalAdmin; }
    // The level as clients see it: plus 4 while the main chat is closed.
    int LevelDigit() const { return level + 4 * mainChatClosed; }
    bool HasMuted(int id) const;

    // Queues `bytes`; they are offered to the socket at the owner's next flush,
    // or at once when kOfferChunk bytes wait unoffered. Once the socket has
    // refused more than the bound allows, nothing more is queued, the backlog is
    // released and the owner is told, so that it drops the connection.
    void Send(std::string_view bytes);
    // Offers the queued bytes to the socket; what it does not take waits for
    // OnSend and is judged against the bound.
    void Flush();
    std::size_t UnsentBytes() const { return sendBuffer_.size() - sendOffset_; }
    bool SendBacklogExceeded() const { return backlogExceeded_; }
    void DiscardOutput();
    // Gives back a grown buffer once everything in it was sent.
    void ReleaseDrainedBuffer();

    void Close() override;

protected:
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnAccept(int error) override;
    void OnClose(int error) override;

private:
    void Offer();
    bool RefusedPastBound() const;
    void DropSentBytes();

    ServerConnectionOwner& owner_;
    std::size_t adminSendBacklogLimit_;
    std::size_t userSendBacklogLimit_;
    std::string sendBuffer_;
    std::size_t sendOffset_ = 0;  // bytes at the front already handed to the socket
    // Positions in the stream of all bytes ever queued: how many were queued,
    // how many the socket took, and where the last byte queued while this user
    // was an admin ends (the bytes after it were queued as a Normal user).
    std::uint64_t queuedTotal_ = 0;
    std::uint64_t sentTotal_ = 0;
    std::uint64_t adminQueuedEnd_ = 0;
    std::size_t unoffered_ = 0;  // queued since the last offer
    bool heavyPass_ = false;     // this pass offered early
    bool backlogExceeded_ = false;
    bool flushQueued_ = false;  // the owner knows that bytes wait
};

}  // namespace vorlan::server
