#include "server/ChatServer.h"

#include <algorithm>

#include "platform/Clock.h"
#include "protocol/ServerToClient.h"
#include "server/ServerText.h"

namespace vorlan::server {
namespace {

constexpr std::size_t kReceiveChunkSize = 64 * 1024;
constexpr unsigned kListenerEvents =
    platform::kEventRead | platform::kEventWrite | platform::kEventAccept | platform::kEventClose;
// A listener started again by "Start listening" asks only for these.
constexpr unsigned kRelistenEvents = platform::kEventRead | platform::kEventAccept | platform::kEventClose;

using Removal = ServerEvents::Removal;

// Stands in when the owner asked for no events.
class NoEvents final : public ServerEvents {};

}  // namespace

ChatServer::EntryGuard::EntryGuard(ChatServer& server) : server_(server) { ++server_.entryDepth_; }

ChatServer::EntryGuard::~EntryGuard() {
    if (server_.entryDepth_ == 1) {
        server_.DropOverflowedConnections();
        server_.ReleaseRemoved();
    }
    --server_.entryDepth_;
}

ChatServer::ChatServer(ServerObserver& observer, ServerTuning tuning)
    : observer_(observer), tuning_(tuning), receiveChunk_(kReceiveChunkSize) {}

ChatServer::~ChatServer() {
    for (auto& connection : connections_) connection->Close();
}

void ChatServer::SetTopic(std::string_view topic) { topic_ = std::string(CutTo(topic, kMaxTopicLength)); }

// --- start, stop, listening --------------------------------------------------

bool ChatServer::StartServer() {
    if (running_) return false;
    EntryGuard guard(*this);
    connections_.clear();
    connections_.push_back(NewConnection());
    if (!OpenListener(kListenerEvents)) {
        connections_.clear();
        Notice("Couldn't start server.");
        observer_.OnServerPopupRequest("Couldn't start server.");
        return false;
    }
    running_ = true;
    listening_ = true;
    Notice("Server started.");
    StartTimer(kKeepaliveTimerId, tuning_.keepalivePeriodMs);
    StartTimer(kFloodCheckTimerId, tuning_.floodCheckPeriodMs);
    lastFloodCheckMs_ = NowMs();
    ReportState();
    return true;
}

void ChatServer::StopServer() {
    if (!running_) return;
    EntryGuard guard(*this);
    Notice("Server stopped.");
    for (auto& connection : connections_) {
        connection->DiscardOutput();
        connection->mutedIds.clear();
        connection->ShutdownBoth();
        connection->Close();
        connection->removed = true;
        removed_.push_back(std::move(connection));
    }
    connections_.clear();
    byId_.fill(nullptr);
    acceptWaiting_ = false;
    StopTimer(kKeepaliveTimerId);
    StopTimer(kFloodCheckTimerId);
    running_ = false;
    listening_ = false;
    ReportState();
}

void ChatServer::ToggleListening() {
    if (!running_) return;
    EntryGuard guard(*this);
    ServerConnection& listener = *connections_.front();
    if (listening_) {
        Notice("Listening stopped.");
        listener.ShutdownBoth();
        listener.Close();
        listening_ = false;
        ReportState();
        return;
    }
    if (!OpenListener(kRelistenEvents)) {
        Notice("Couldn't start listening.");
        observer_.OnServerPopupRequest("Couldn't start listening.");
        return;
    }
    listening_ = true;
    Notice("Listening started.");
    ReportState();
}

std::uint16_t ChatServer::ListeningPort() const {
    if (!listening_ || connections_.empty()) return 0;
    return connections_.front()->LocalPort();
}

bool ChatServer::OpenListener(unsigned events) {
    ServerConnection& listener = *connections_.front();
    if (!listener.Create(chatPort_, events)) return false;
    listener.closed = false;
    if (!listener.Listen(kListenBacklog)) {
        listener.Close();
        return false;
    }
    return true;
}

void ChatServer::Notice(std::string_view text) { observer_.OnServerNotice(text); }

ServerEvents& ChatServer::Events() const {
    static NoEvents none;
    return events_ != nullptr ? *events_ : none;
}

void ChatServer::ReportState() { observer_.OnServerStateChanged(running_, listening_); }

// --- accepting -----------------------------------------------------------------

std::unique_ptr<ServerConnection> ChatServer::NewConnection() {
    return std::make_unique<ServerConnection>(static_cast<ServerConnectionOwner&>(*this), tuning_.adminSendBacklogLimit,
                                              tuning_.userSendBacklogLimit);
}

void ChatServer::OnServerAccept(int /*error*/, int /*listenerId*/) {
    if (!running_ || !listening_) return;
    EntryGuard guard(*this);
    if (connections_.size() >= kMaxConnectionSlots) {
        // The pending connection stays in the backlog; a freed slot takes it.
        if (!acceptWaiting_) Events().OnConnectionRefused({}, ServerEvents::Refusal::Full);
        acceptWaiting_ = true;
        return;
    }
    AcceptPending();
}

void ChatServer::AcceptPending() {
    auto connection = NewConnection();
    if (!connections_.front()->Accept(*connection)) return;
    connection->closed = false;
    connection->SetNoDelay(true);
    std::string address;
    std::uint16_t port = 0;
    connection->PeerAddress(address, port);
    Admit(std::move(connection), std::move(address));
}

int ChatServer::Admit(std::unique_ptr<ServerConnection> connection, std::string peerAddress) {
    EntryGuard guard(*this);
    // Without a running server there is no listener; a placeholder keeps clients at slot 1 and up.
    if (connections_.empty()) connections_.push_back(NewConnection());
    if (connections_.size() >= kMaxConnectionSlots || IsBanned(peerAddress)) {
        Events().OnConnectionRefused(peerAddress, connections_.size() >= kMaxConnectionSlots
                                                      ? ServerEvents::Refusal::Full
                                                      : ServerEvents::Refusal::Banned);
        connection->DiscardOutput();
        connection->ShutdownBoth();
        connection->Close();
        return 0;
    }
    int id = SmallestFreeId();
    connection->connectionId = id;
    connection->peerAddress = std::move(peerAddress);
    byId_[static_cast<std::size_t>(id)] = connection.get();
    connections_.push_back(std::move(connection));
    Events().OnConnectionAccepted(*connections_.back());
    return id;
}

int ChatServer::SmallestFreeId() const {
    for (int id = 1; id <= kMaxClients; ++id) {
        if (byId_[static_cast<std::size_t>(id)] == nullptr) return id;
    }
    return 0;
}

ServerConnection* ChatServer::FindConnection(int connectionId) const {
    if (connectionId < 1 || connectionId > kMaxClients) return nullptr;
    return byId_[static_cast<std::size_t>(connectionId)];
}

std::size_t ChatServer::SlotOf(const ServerConnection& connection) const {
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) {
        if (connections_[slot].get() == &connection) return slot;
    }
    return 0;
}

// --- receiving -----------------------------------------------------------------

void ChatServer::OnServerReceive(int error, int connectionId) {
    if (error != 0) return;
    EntryGuard guard(*this);
    ServerConnection* connection = FindConnection(connectionId);
    if (connection == nullptr) return;
    int framesSeen = 0;
    ReceiveAvailable(*connection, framesSeen);
}

// Reads what the socket holds now, in chunks, so that one notification never
// waits for more and never holds more than one chunk besides the kept tail.
bool ChatServer::ReceiveAvailable(ServerConnection& connection, int& framesSeen) {
    std::uint32_t pending = 0;
    connection.PendingBytes(pending);
    std::size_t budget = std::max<std::size_t>(pending, 1);
    while (budget > 0) {
        std::size_t want = std::min(budget, receiveChunk_.size());
        int got = connection.Receive(receiveChunk_.data(), static_cast<int>(want));
        if (got <= 0) break;
        budget -= std::min(budget, static_cast<std::size_t>(got));
        if (!FeedReceived(connection, std::string_view(receiveChunk_.data(), static_cast<std::size_t>(got)),
                          framesSeen)) {
            return false;
        }
    }
    return true;
}

void ChatServer::HandleReceivedBytes(int connectionId, std::string_view bytes) {
    EntryGuard guard(*this);
    ServerConnection* connection = FindConnection(connectionId);
    if (connection == nullptr) return;
    int framesSeen = 0;
    FeedReceived(*connection, bytes, framesSeen);
}

// False once the connection is gone; the rest of its bytes is then discarded.
bool ChatServer::FeedReceived(ServerConnection& connection, std::string_view bytes, int& framesSeen) {
    bool tailKept = connection.pendingInput.Feed(bytes, [&](std::string_view message) {
        if (!SettlesAwaitedReply(connection, message)) {
            ++framesSeen;
            ++connection.messageCount;
            if (framesSeen > kMaxMessagesPerNotification) {
                DropForFault(connection, Removal::Flood);
                return false;
            }
        }
        if (!message.empty()) Dispatch(connection, message);
        return !connection.removed;
    });
    if (connection.removed) return false;
    if (!tailKept) {
        DropForFault(connection);
        return false;
    }
    return true;
}

void ChatServer::HandleClientMessage(int connectionId, std::string_view message) {
    EntryGuard guard(*this);
    ServerConnection* sender = FindConnection(connectionId);
    if (sender != nullptr) Dispatch(*sender, message);
}

void ChatServer::Dispatch(ServerConnection& sender, std::string_view message) {
    int code = MessageCode(message);
    if (!sender.IsLoggedIn() && code != 0) {
        Remove(sender, {}, Removal::Fault);
        return;
    }
    if (code < 0 || static_cast<std::size_t>(code) >= kHandlers.size()) {
        DropForFault(sender);
        return;
    }
    const ServerConnection* outerActor = actor_;
    actor_ = &sender;
    (this->*kHandlers[static_cast<std::size_t>(code)])(sender, message.substr(2));
    actor_ = outerActor;
}

// --- closing and removing ------------------------------------------------------

void ChatServer::OnServerClose(int error, int connectionId) {
    EntryGuard guard(*this);
    ServerConnection* connection = FindConnection(connectionId);
    if (connection == nullptr) return;
    Removal reason = error != 0 ? Removal::Lost : Removal::Left;
    if (connection->IsLoggedIn()) {
        Remove(*connection, protocol::to_client::UserLeft(connectionId, error != 0), reason);
    } else {
        Remove(*connection, {}, reason);
    }
}

void ChatServer::OnServerWritable(int connectionId) {
    EntryGuard guard(*this);
    ServerConnection* connection = FindConnection(connectionId);
    if (connection == nullptr) return;
    connection->Flush();
    if (connection->banListProgress) ContinueBanLists();
}

void ChatServer::DropConnection(std::size_t slot, std::string_view notice) {
    if (slot == 0 || slot >= connections_.size()) return;
    EntryGuard guard(*this);
    Remove(*connections_[slot], notice, Removal::Dropped);
}

void ChatServer::DropForFault(ServerConnection& connection, Removal reason) {
    if (connection.IsLoggedIn()) {
        Remove(connection, protocol::to_client::UserDropped(connection.connectionId), reason);
    } else {
        Remove(connection, {}, reason);
    }
}

void ChatServer::Remove(ServerConnection& connection, std::string_view notice, Removal reason) {
    if (connection.removed) return;
    std::size_t slot = SlotOf(connection);
    if (slot == 0) return;
    bool byRequest = reason == Removal::Kicked || reason == Removal::Banned;
    Events().OnConnectionRemoved(connection, reason, byRequest && actor_ != &connection ? actor_ : nullptr);
    int id = connection.connectionId;
    for (std::size_t other = 1; other < connections_.size(); ++other) {
        auto& muted = connections_[other]->mutedIds;
        muted.erase(std::remove(muted.begin(), muted.end(), id), muted.end());
    }
    connection.DiscardOutput();
    connection.mutedIds.clear();
    connection.ShutdownBoth();
    connection.Close();
    connection.removed = true;
    byId_[static_cast<std::size_t>(id)] = nullptr;
    removed_.push_back(std::move(connections_[slot]));
    connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(slot));
    if (!notice.empty()) SendToAllUsers(protocol::Frame(notice));
    if (acceptWaiting_) ScheduleDeferred();
}

void ChatServer::OnSendBacklogExceeded(int /*connectionId*/) { overflowPending_ = true; }

// A client that does not read is dropped as a flood is dropped. Dropping one may
// overflow another with the notice, so this repeats until none is left.
void ChatServer::DropOverflowedConnections() {
    while (overflowPending_) {
        overflowPending_ = false;
        std::vector<int> overflowed;
        for (std::size_t slot = 1; slot < connections_.size(); ++slot) {
            if (connections_[slot]->SendBacklogExceeded()) overflowed.push_back(connections_[slot]->connectionId);
        }
        for (int id : overflowed) {
            if (ServerConnection* connection = FindConnection(id)) DropForFault(*connection, Removal::Unread);
        }
    }
}

void ChatServer::ReleaseRemoved() { removed_.clear(); }

void ChatServer::OnDeferred() {
    EntryGuard guard(*this);
    if (acceptWaiting_ && running_ && listening_ && connections_.size() < kMaxConnectionSlots) {
        acceptWaiting_ = false;
        AcceptPending();
    }
    if (flushScheduled_ && !IsTimerRunning(kFlushTimerId)) FlushQueuedOutput();
    if (!banListReaders_.empty()) ContinueBanLists();
}

// --- output ----------------------------------------------------------------------

void ChatServer::OnOutputQueued(ServerConnection& connection) {
    queuedOutputIds_.push_back(connection.connectionId);
    ScheduleFlush();
}

void ChatServer::ScheduleFlush() {
    if (flushScheduled_) return;
    flushScheduled_ = true;
    std::uint64_t now = platform::MonotonicMs();
    if (pacedUntilMs_ > now) {
        StartTimer(kFlushTimerId, static_cast<std::uint32_t>(pacedUntilMs_ - now));
    } else {
        ScheduleDeferred();
    }
}

void ChatServer::FlushQueuedOutput() {
    flushScheduled_ = false;
    StopTimer(kFlushTimerId);
    std::vector<int> ids;
    ids.swap(queuedOutputIds_);
    for (int id : ids) {
        if (ServerConnection* connection = FindConnection(id)) connection->Flush();
    }
    if (ids.size() >= kPacedFlushConnections) pacedUntilMs_ = platform::MonotonicMs() + tuning_.flushPacingMs;
    // Keeps the capacity for the next round.
    ids.clear();
    if (queuedOutputIds_.empty()) queuedOutputIds_.swap(ids);
}

// --- timers --------------------------------------------------------------------

void ChatServer::OnTimer(int id) {
    EntryGuard guard(*this);
    if (id == kFlushTimerId) FlushQueuedOutput();
    if (id == kKeepaliveTimerId) SendKeepalives();
    if (id == kFloodCheckTimerId) CheckFloods();
}

void ChatServer::SendKeepalives() {
    EntryGuard guard(*this);
    static constexpr std::string_view kKeepalive{"\0", 1};
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) connections_[slot]->Send(kKeepalive);
}

std::int64_t FloodAllowance(std::uint64_t elapsedMs, std::uint32_t periodMs) {
    const std::uint64_t periods = periodMs == 0 ? 1 : std::max<std::uint64_t>(1, elapsedMs / periodMs);
    return static_cast<std::int64_t>(std::min<std::uint64_t>(periods, 1u << 20)) * kMaxMessagesPerFloodPeriod;
}

std::uint64_t ChatServer::NowMs() const { return tuning_.clock ? tuning_.clock() : platform::MonotonicMs(); }

void ChatServer::CheckFloods() {
    EntryGuard guard(*this);
    const std::uint64_t now = NowMs();
    const std::int64_t allowance = FloodAllowance(now - std::min(now, lastFloodCheckMs_), tuning_.floodCheckPeriodMs);
    lastFloodCheckMs_ = now;
    std::vector<int> ids;
    ids.reserve(connections_.size());
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) ids.push_back(connections_[slot]->connectionId);
    for (int id : ids) {
        ServerConnection* connection = FindConnection(id);
        if (connection == nullptr) continue;
        if (connection->messageCount > allowance) {
            DropForFault(*connection, Removal::Flood);
        } else {
            connection->messageCount = 0;
            connection->ReleaseDrainedBuffer();
        }
    }
}

// --- sending to sets of users ------------------------------------------------------

void ChatServer::SendToAllUsers(std::string_view frame, const ServerConnection* except) {
    SendToUsersWhere(frame, [except](const ServerConnection& user) { return &user != except; });
}

}  // namespace vorlan::server
