#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventLoop.h"
#include "server/ServerConnection.h"
#include "server/ServerEvents.h"
#include "server/ServerLimits.h"
#include "server/ServerObserver.h"
#include "storage/Records.h"

namespace vorlan::server {

struct ServerPasswords {
    std::string superAdmin;
    std::string normalAdmin;
    std::string normalUser;  // empty: anyone is admitted as Normal user
};

// The chat server: the listener and its connections, the users' records, the
// topic, the passwords and the ban list, driven by socket notifications and two
// timers on the one program thread.
//
// Removed connections are closed at once but destroyed only when the outermost
// call into the server returns, so a handler may remove any connection (its own
// sender included) while callers further up still hold references.
class ChatServer : private platform::TimerOwner, private platform::DeferredTask, private ServerConnectionOwner {
public:
    explicit ChatServer(ServerObserver& observer, ServerTuning tuning = {});
    ~ChatServer() override;

    // Who hears about connections and ban-list changes; null: nobody.
    void SetEvents(ServerEvents* events) { events_ = events; }

    // Settings, read where they are used. Port 0 lets the system choose (tests).
    void SetChatPort(std::uint16_t port) { chatPort_ = port; }
    std::uint16_t ChatPort() const { return chatPort_; }
    void SetTopic(std::string_view topic);
    const std::string& Topic() const { return topic_; }
    void SetPasswords(ServerPasswords passwords) { passwords_ = std::move(passwords); }
    const ServerPasswords& Passwords() const { return passwords_; }

    // "Start server", "End server" and "Stop listening"/"Start listening".
    bool StartServer();
    void StopServer();
    void ToggleListening();
    bool IsRunning() const { return running_; }
    bool IsListening() const { return listening_; }
    // The port the listener is bound to, 0 when it is not listening.
    std::uint16_t ListeningPort() const;

    // Socket notifications, with the notifying socket's id.
    void OnServerAccept(int error, int listenerId) override;
    void OnServerReceive(int error, int connectionId) override;
    void OnServerClose(int error, int connectionId) override;
    void OnServerWritable(int connectionId) override;

    // Bytes of one receive notification of connection `connectionId`, split into
    // messages under the framing and flood rules.
    void HandleReceivedBytes(int connectionId, std::string_view bytes);
    // One complete message (without its zero byte) from `connectionId`.
    void HandleClientMessage(int connectionId, std::string_view message);

    // Removes the connection in `slot` (1 and up); `notice`, when not empty, goes
    // with its zero byte to every logged-in connection that remains.
    void DropConnection(std::size_t slot, std::string_view notice);
    // Bans the address of the connection in `slot`, then drops it like DropConnection.
    void BanAndDrop(std::size_t slot, std::string_view notice);

    // The ban list: ids 0..49999, at most 50000 entries, oldest first.
    const std::vector<storage::BanEntry>& BanList() const { return banList_; }
    // Takes a loaded list, keeping what the server can hold (see ServerBans.cpp).
    void SetBanList(std::vector<storage::BanEntry> banList);
    // False when nothing was added ("127.0.0.1" or an address already banned).
    bool AddBan(std::string_view address, std::string_view description);
    bool RemoveBan(int banId);

    // Slot 0 is the listener while the server runs; clients follow in order of arrival.
    const std::vector<std::unique_ptr<ServerConnection>>& Connections() const { return connections_; }
    ServerConnection* FindConnection(int connectionId) const;
    std::size_t ClientCount() const { return connections_.empty() ? 0 : connections_.size() - 1; }

    // A connection that is not yet in the list, for Admit.
    std::unique_ptr<ServerConnection> NewConnection();
    // Gives `connection` the smallest free id and adds it, unless the list is
    // full or `peerAddress` is banned. Returns the id, or 0 when it was refused.
    // OnServerAccept uses it; the fuzz target adds socketless connections with it.
    int Admit(std::unique_ptr<ServerConnection> connection, std::string peerAddress);

    // Timer work, public so that tests can run one tick at a chosen moment.
    void SendKeepalives();
    void CheckFloods();

private:
    std::uint64_t NowMs() const;
    // Counts nested calls into the server; the outermost one, when it returns,
    // drops connections whose backlog overflowed and destroys removed ones.
    class EntryGuard {
    public:
        explicit EntryGuard(ChatServer& server);
        ~EntryGuard();
        EntryGuard(const EntryGuard&) = delete;
        EntryGuard& operator=(const EntryGuard&) = delete;

    private:
        ChatServer& server_;
    };

    using Handler = void (ChatServer::*)(ServerConnection& sender, std::string_view fields);
    static const std::array<Handler, 21> kHandlers;

    void OnTimer(int id) override;
    void OnDeferred() override;
    void OnSendBacklogExceeded(int connectionId) override;
    void OnOutputQueued(ServerConnection& connection) override;
    void ScheduleFlush();
    void FlushQueuedOutput();

    // Lifecycle (ChatServer.cpp).
    void Notice(std::string_view text);
    void ReportState();
    bool OpenListener(unsigned events);
    void AcceptPending();
    bool ReceiveAvailable(ServerConnection& connection, int& framesSeen);
    bool FeedReceived(ServerConnection& connection, std::string_view bytes, int& framesSeen);
    void Dispatch(ServerConnection& sender, std::string_view message);
    void Remove(ServerConnection& connection, std::string_view notice, ServerEvents::Removal reason);
    void DropForFault(ServerConnection& connection, ServerEvents::Removal reason = ServerEvents::Removal::Fault);
    ServerEvents& Events() const;
    void DropOverflowedConnections();
    void ReleaseRemoved();
    std::size_t SlotOf(const ServerConnection& connection) const;
    int SmallestFreeId() const;

    // Sending to sets of users; `frame` already carries its zero byte.
    void SendToAllUsers(std::string_view frame, const ServerConnection* except = nullptr);
    template <typename Predicate>
    void SendToUsersWhere(std::string_view frame, Predicate&& wanted);

    // Handlers, one per client code, grouped by topic.
    // ServerLogin.cpp
    void HandleLogin(ServerConnection& sender, std::string_view fields);
    int LevelFor(const ServerConnection& sender, std::string_view password) const;
    std::string UniqueName(const std::string& candidate) const;
    void SendLoginBurst(ServerConnection& newcomer);
    // ServerChat.cpp
    void HandleTopicChange(ServerConnection& sender, std::string_view fields);
    void HandleMainChatLine(ServerConnection& sender, std::string_view fields);
    void HandleNameChange(ServerConnection& sender, std::string_view fields);
    void HandleStatusChange(ServerConnection& sender, std::string_view fields);
    void HandleMainChatState(ServerConnection& sender, std::string_view fields);
    void HandlePrivateLine(ServerConnection& sender, std::string_view fields);
    void HandleFileTransferRelay(ServerConnection& sender, std::string_view fields);
    void HandleMuteChange(ServerConnection& sender, std::string_view fields);
    // ServerQueries.cpp
    void HandleAddressRequest(ServerConnection& sender, std::string_view fields);
    void HandleProfileRequest(ServerConnection& sender, std::string_view fields);
    // Notes that `target` owes `requester` the reply `replyCode`; false when it
    // owes too many already, and the query is then refused.
    bool AwaitReply(ServerConnection& target, const ServerConnection& requester, int replyCode);
    // True (and the debt is settled) when `message` answers a query forwarded to
    // `sender`: such answers are exempt from the flood limits.
    bool SettlesAwaitedReply(ServerConnection& sender, std::string_view message);
    // A reply's "requester id SEP answer": the requester's connection (null when
    // none has the id; the sender is dropped when the SEP is missing) and the answer.
    ServerConnection* ReplyRequester(ServerConnection& sender, std::string_view fields, std::string_view& answer);
    void HandleProfileReply(ServerConnection& sender, std::string_view fields);
    void HandleVersionRequest(ServerConnection& sender, std::string_view fields);
    void HandleVersionReply(ServerConnection& sender, std::string_view fields);
    void HandleConnectionsRequest(ServerConnection& sender, std::string_view fields);
    // ServerAdmin.cpp
    void HandleEnableAdmin(ServerConnection& sender, std::string_view fields);
    void HandleDisableAdmin(ServerConnection& sender, std::string_view fields);
    void HandleKickUser(ServerConnection& sender, std::string_view fields);
    void HandleBanUser(ServerConnection& sender, std::string_view fields);
    // ServerBans.cpp
    void HandleBanListRequest(ServerConnection& sender, std::string_view fields);
    void HandleBanListEdit(ServerConnection& sender, std::string_view fields);
    void ContinueBanList(ServerConnection& reader);
    void ContinueBanLists();
    void BanListChanged() { ++banListVersion_; }
    void BanAndDrop(ServerConnection& connection, std::string_view notice);
    bool IsBanned(std::string_view address) const;
    void AppendBan(std::string_view address, std::string_view description);
    int SmallestFreeBanId() const;

    ServerObserver& observer_;
    ServerEvents* events_ = nullptr;
    // The user whose message is being handled, named in the events it causes.
    const ServerConnection* actor_ = nullptr;
    ServerTuning tuning_;
    std::uint64_t lastFloodCheckMs_ = 0;
    std::uint16_t chatPort_ = 0;
    std::string topic_;
    ServerPasswords passwords_;
    std::vector<storage::BanEntry> banList_;
    std::uint64_t banListVersion_ = 0;
    std::vector<int> banListReaders_;  // connections with a ban list on its way

    std::vector<std::unique_ptr<ServerConnection>> connections_;
    std::array<ServerConnection*, kMaxClients + 1> byId_{};  // index: connection id
    std::vector<std::unique_ptr<ServerConnection>> removed_;
    std::vector<char> receiveChunk_;
    bool running_ = false;
    bool listening_ = false;
    std::vector<int> queuedOutputIds_;  // connections whose bytes wait for the next flush
    bool flushScheduled_ = false;
    std::uint64_t pacedUntilMs_ = 0;
    bool acceptWaiting_ = false;  // an accept was left in the backlog at the client limit
    bool overflowPending_ = false;
    int entryDepth_ = 0;
};

template <typename Predicate>
void ChatServer::SendToUsersWhere(std::string_view frame, Predicate&& wanted) {
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) {
        ServerConnection& user = *connections_[slot];
        if (user.IsLoggedIn() && wanted(user)) user.Send(frame);
    }
}

}  // namespace vorlan::server
