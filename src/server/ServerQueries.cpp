// Questions one user asks about another (address, profile, version) and the
// admins' connection list.
#include <algorithm>

#include "platform/Clock.h"
#include "protocol/ServerToClient.h"
#include "server/ChatServer.h"
#include "server/ServerText.h"

namespace vorlan::server {
namespace {

namespace to_client = protocol::to_client;
constexpr int kProfileReplyCode = 10;
constexpr int kVersionReplyCode = 14;

// Splits at SEP into exactly `count` fields, the last taking the rest; false
// when there are fewer.
bool SplitFields(std::string_view text, std::array<std::string_view, kProfileFieldCount>& fields) {
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        std::size_t sep = text.find(protocol::kSep);
        if (sep == std::string_view::npos) return false;
        fields[i] = text.substr(0, sep);
        text = text.substr(sep + 1);
    }
    fields.back() = text;
    return true;
}

}  // namespace

void ChatServer::HandleAddressRequest(ServerConnection& sender, std::string_view fields) {
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields));
    if (target == nullptr || sender.IsNormalUser()) return;
    sender.Send(protocol::Frame(to_client::UserAddress(fields, target->peerAddress)));
}

void ChatServer::HandleProfileRequest(ServerConnection& sender, std::string_view fields) {
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields));
    if (target == nullptr || !AwaitReply(*target, sender, kProfileReplyCode)) return;
    target->Send(protocol::Frame(to_client::ProfileQuery(sender.connectionId)));
}

// A client answers every query at once, so a crowd of askers could make it send
// more than the flood limits allow; its answers are therefore not counted, as
// long as each answers a query that the server forwarded. One's questions to
// oneself are one's own messages and stay counted.
bool ChatServer::AwaitReply(ServerConnection& target, const ServerConnection& requester, int replyCode) {
    if (&target == &requester) return true;
    auto& awaited = target.awaitedReplies;
    std::uint64_t now = platform::MonotonicMs();
    auto fresh = std::find_if(awaited.begin(), awaited.end(),
                              [now](const auto& reply) { return now - reply.forwardedMs < kReplyWaitMs; });
    awaited.erase(awaited.begin(), fresh);
    if (awaited.size() >= kMaxAwaitedReplies) return false;
    awaited.push_back({requester.connectionId, replyCode, now});
    return true;
}

bool ChatServer::SettlesAwaitedReply(ServerConnection& sender, std::string_view message) {
    auto& awaited = sender.awaitedReplies;
    if (awaited.empty()) return false;
    int code = MessageCode(message);
    if (code != kProfileReplyCode && code != kVersionReplyCode) return false;
    std::string_view fields = message.substr(2);
    std::size_t sep = fields.find(protocol::kSep);
    if (sep == std::string_view::npos) return false;
    int requesterId = protocol::ReadDecimal(fields.substr(0, sep));
    std::uint64_t now = platform::MonotonicMs();
    auto owed = std::find_if(awaited.begin(), awaited.end(), [&](const auto& reply) {
        return reply.requesterId == requesterId && reply.replyCode == code && now - reply.forwardedMs < kReplyWaitMs;
    });
    if (owed == awaited.end()) return false;
    awaited.erase(owed);
    return true;
}

ServerConnection* ChatServer::ReplyRequester(ServerConnection& sender, std::string_view fields,
                                             std::string_view& answer) {
    std::size_t sep = fields.find(protocol::kSep);
    if (sep == std::string_view::npos) {
        DropForFault(sender);
        return nullptr;
    }
    answer = fields.substr(sep + 1);
    return FindConnection(protocol::ReadDecimal(fields.substr(0, sep)));
}

void ChatServer::HandleProfileReply(ServerConnection& sender, std::string_view fields) {
    std::string_view answer;
    ServerConnection* requester = ReplyRequester(sender, fields, answer);
    if (requester == nullptr) return;
    std::string profile = DeleteChars(answer, kLineBreaks);
    std::array<std::string_view, kProfileFieldCount> parts;
    if (!SplitFields(profile, parts)) {
        DropForFault(sender);
        return;
    }
    parts[0] = CutTo(parts[0], kMaxProfileNameLength);
    for (std::size_t i = 1; i < parts.size(); ++i) parts[i] = CutTo(parts[i], kMaxProfileFieldLength);
    requester->Send(protocol::Frame(to_client::ProfileInfo(sender.connectionId, parts)));
}

void ChatServer::HandleVersionRequest(ServerConnection& sender, std::string_view fields) {
    ServerConnection* target = FindConnection(protocol::ReadDecimal(fields));
    if (target == nullptr || !AwaitReply(*target, sender, kVersionReplyCode)) return;
    target->Send(protocol::Frame(to_client::VersionQuery(sender.connectionId)));
}

void ChatServer::HandleVersionReply(ServerConnection& sender, std::string_view fields) {
    std::string_view answer;
    ServerConnection* requester = ReplyRequester(sender, fields, answer);
    if (requester == nullptr) return;
    std::string version(CutTo(DeleteChars(answer, kLineBreaks), kMaxVersionLength));
    requester->Send(protocol::Frame(to_client::UserVersion(sender.connectionId, version)));
}

void ChatServer::HandleConnectionsRequest(ServerConnection& sender, std::string_view /*fields*/) {
    if (sender.IsNormalUser()) return;
    std::string block;
    for (std::size_t slot = 1; slot < connections_.size(); ++slot) {
        const ServerConnection& connection = *connections_[slot];
        protocol::AppendFrame(block,
                              to_client::ConnectionEntry(slot == 1, connection.connectionId, connection.peerAddress));
    }
    sender.Send(block);
}

}  // namespace vorlan::server
